// The one command-line parser of vantle-book: every command's options from one table.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace booktool {

struct Arguments {
  std::string Command;
  std::vector<std::string> Files;
  std::optional<std::string> Label, Format, Columns;
  bool Force = false, Own = false, Help = false, SkipBad = false, Dedupe = false;
};

// Parses the arguments of a command (args[0] is the command): "--name VALUE", "--name=VALUE",
// flags, "--" before file names that begin with "-". False with `error` on an option the
// command does not take or a value missing.
bool ParseArguments(const std::vector<std::string>& args, Arguments& parsed, std::string& error);

}  // namespace booktool
