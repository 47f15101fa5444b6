// What a command of vantle-book is: its name, usage and help, and the function that runs it;
// the exit codes, and the two ways a command ends early.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "booktool/options.h"
#include "booktool/refusal.h"

namespace booktool {

inline constexpr int kExitGood = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// The usage faults of a command given another number of files than it takes.
inline constexpr std::string_view kTooFewFiles = "too few files";
inline constexpr std::string_view kTooManyFiles = "too many files";

struct Command {
  std::string_view name;
  // "vantle-book NAME ..." lines, a line that goes on indented under the arguments.
  std::string_view usage;
  std::string_view summary;  // what it does, in one line of the general help
  std::string_view help;     // what `vantle-book NAME --help` says below the usage
  int (*run)(const Arguments& args, std::ostream& out, std::ostream& err);
};

// The usage lines, each after "usage: " (the first of all, when `first`) or under it.
std::string UsageText(std::string_view usage, bool first = true);

// "vantle-book NAME: PROBLEM" and the command's usage on `err`; returns kExitUsage.
int UsageError(const Command& command, std::string_view problem, std::ostream& err);

// Prints the refusal on `err`; returns kExitRefused.
int Refuse(const Failure& refusal, std::ostream& err);

}  // namespace booktool
