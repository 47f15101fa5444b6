#include "booktool/tool.h"

#include <algorithm>
#include <array>
#include <iomanip>
#include <sstream>

#include "booktool/check_command.h"
#include "booktool/convert_command.h"
#include "booktool/dump_command.h"
#include "booktool/export_command.h"
#include "booktool/import_command.h"
#include "booktool/progress_command.h"
#include "booktool/where_command.h"

namespace booktool {
namespace {

constexpr std::array<const Command*, 7> kCommands = {
    &kCheckCommand,  &kDumpCommand,     &kConvertCommand, &kImportCommand,
    &kExportCommand, &kProgressCommand, &kWhereCommand,
};

constexpr const char* kAbout =
    "vantle-book: checks, shows and makes the word books of Vantle, and takes word lists in\n"
    "from other programs and out to them.\n";

constexpr const char* kLabels =
    "A book's label comes from its file name: a catalogue label such as\n"
    "\"《小学英语》(第一册)(91)\", \"《My词库》.txt\" or \"《成语大全》.txt\"; for any other\n"
    "name give it with --label (a catalogue label, e.g. --label \"《My词库》\").\n"
    "Exit status: 0 good, 1 a book or list refused, 2 bad usage.\n";

// Every command's usage, then how to ask for one command's help.
std::string GeneralUsage() {
  std::string text;
  for (const Command* command : kCommands) text += UsageText(command->usage, text.empty());
  return text + UsageText("vantle-book COMMAND --help", false);
}

std::string GeneralHelp() {
  std::ostringstream text;
  text << kAbout << "\n";
  for (const Command* command : kCommands)
    text << "  " << std::left << std::setw(9) << command->name << command->summary << "\n";
  text << "\n" << kLabels << "\n" << GeneralUsage();
  return text.str();
}

}  // namespace

std::span<const Command* const> BookToolCommands() {
  return kCommands;
}

int RunBookTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << GeneralUsage();
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << GeneralHelp();
    return kExitGood;
  }
  const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Command* c) { return c->name == args[0]; });
  if (command == kCommands.end()) {
    err << "vantle-book: unknown command " << args[0] << "\n" << GeneralUsage();
    return kExitUsage;
  }
  const Result<Arguments> parsed = ParseArguments(args);
  if (!parsed.Ok()) return UsageError(**command, parsed.Failed().reason, err);
  if (parsed->help) {
    out << UsageText((*command)->usage) << "\n" << (*command)->help;
    return kExitGood;
  }
  return (*command)->run(*parsed, out, err);
}

}  // namespace booktool
