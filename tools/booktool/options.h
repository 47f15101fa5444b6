// The one command-line parser of vantle-book: every command's options from one table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "booktool/refusal.h"

namespace booktool {

// What --columns takes, said when its value is missing or malformed.
inline constexpr std::string_view kColumnsUsage =
    "--columns takes two columns, the English one and the meaning, as A,B";

struct Arguments {
  std::string command;
  std::vector<std::string> files;
  std::optional<std::string> label, format, columns;
  bool force = false, own = false, help = false, skip_bad = false, dedupe = false, due = false,
       missed = false;
};

// Parses the arguments of a command (args[0] is the command): "--name VALUE", "--name=VALUE",
// flags, "--" before file names that begin with "-". Refused on an option the command does
// not take or a value missing.
Result<Arguments> ParseArguments(const std::vector<std::string>& args);

}  // namespace booktool
