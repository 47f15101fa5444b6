#include "booktool/options.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace booktool {
namespace {

struct Option {
  std::string_view name;
  std::string_view commands;                     // the commands that take it, each followed
                                                 // by a space; "*" for all
  bool Arguments::*flag;                         // set by a flag
  std::optional<std::string> Arguments::*value;  // or filled by a value
  std::string_view missing;                      // said when the value is missing
};

constexpr std::array<Option, 12> kOptions = {{
    {"--help", "*", &Arguments::help, nullptr, ""},
    {"-h", "*", &Arguments::help, nullptr, ""},
    {"--label", "check dump convert import export ", nullptr, &Arguments::label,
     "--label needs a label"},
    {"--force", "convert import export progress ", &Arguments::force, nullptr, ""},
    {"--own", "convert ", &Arguments::own, nullptr, ""},
    {"--format", "import export progress ", nullptr, &Arguments::format,
     "--format needs a format: csv, flashcards or kvtml"},
    {"--columns", "import ", nullptr, &Arguments::columns, kColumnsUsage},
    {"--skip-bad", "import ", &Arguments::skip_bad, nullptr, ""},
    {"--dedupe", "import ", &Arguments::dedupe, nullptr, ""},
    {"--due", "progress ", &Arguments::due, nullptr, ""},
    {"--missed", "progress ", &Arguments::missed, nullptr, ""},
    {"--", "*", nullptr, nullptr, ""},
}};

bool Takes(const Option& option, const std::string& command) {
  return option.commands == "*" || option.commands.find(command + " ") != std::string_view::npos;
}

}  // namespace

Result<Arguments> ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  parsed.command = args.empty() ? std::string() : args[0];
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options || a.size() < 2 || a[0] != '-') {
      parsed.files.push_back(a);
      continue;
    }
    const std::string name = a.substr(0, a.find('='));
    auto option = std::find_if(kOptions.begin(), kOptions.end(),
                               [&](const Option& o) { return o.name == name; });
    if (option == kOptions.end() || !Takes(*option, parsed.command))
      return Failure{"unknown option " + a};
    if (option->name == "--") {
      options = false;
    } else if (option->flag) {
      parsed.*(option->flag) = true;
    } else if (name.size() < a.size()) {
      parsed.*(option->value) = a.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
      parsed.*(option->value) = args[++i];
    } else {
      return Failure{std::string(option->missing)};
    }
  }
  return parsed;
}

}  // namespace booktool
