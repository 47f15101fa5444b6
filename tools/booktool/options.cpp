#include "booktool/options.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace booktool {
namespace {

struct Option {
  std::string_view Name;
  std::string_view Commands;  // the commands that take it, each followed by a space
  bool Arguments::*Flag;      // set by a flag
  std::optional<std::string> Arguments::*Value;  // or filled by a value
  std::string_view Missing;                      // said when the value is missing
};

constexpr std::array<Option, 10> kOptions = {{
    {"--help", "*", &Arguments::Help, nullptr, ""},
    {"-h", "*", &Arguments::Help, nullptr, ""},
    {"--label", "check dump convert import export ", nullptr, &Arguments::Label,
     "--label needs a label"},
    {"--force", "convert import export ", &Arguments::Force, nullptr, ""},
    {"--own", "convert ", &Arguments::Own, nullptr, ""},
    {"--format", "import export ", nullptr, &Arguments::Format,
     "--format needs a format: csv, flashcards or kvtml"},
    {"--columns", "import ", nullptr, &Arguments::Columns,
     "--columns takes two columns, the English one and the meaning, as A,B"},
    {"--skip-bad", "import ", &Arguments::SkipBad, nullptr, ""},
    {"--dedupe", "import ", &Arguments::Dedupe, nullptr, ""},
    {"--", "*", nullptr, nullptr, ""},
}};

bool Takes(const Option& option, const std::string& command) {
  return option.Commands == "*" || option.Commands.find(command + " ") != std::string_view::npos;
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, Arguments& parsed, std::string& error) {
  parsed.Command = args.empty() ? std::string() : args[0];
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options || a.size() < 2 || a[0] != '-') {
      parsed.Files.push_back(a);
      continue;
    }
    const std::string name = a.substr(0, a.find('='));
    auto option = std::find_if(kOptions.begin(), kOptions.end(),
                               [&](const Option& o) { return o.Name == name; });
    if (option == kOptions.end() || !Takes(*option, parsed.Command)) {
      error = "unknown option " + a;
      return false;
    }
    if (option->Name == "--") {
      options = false;
    } else if (option->Flag) {
      parsed.*(option->Flag) = true;
    } else if (name.size() < a.size()) {
      parsed.*(option->Value) = a.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
      parsed.*(option->Value) = args[++i];
    } else {
      error = option->Missing;
      return false;
    }
  }
  return true;
}

}  // namespace booktool
