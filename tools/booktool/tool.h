// vantle-book: checks, shows and makes word books with the program's own loader, and takes
// word lists in and out. The commands it has, and the one way in.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "booktool/command.h"

namespace booktool {

// Every command, in the order the help lists them.
std::span<const Command* const> BookToolCommands();

// Runs vantle-book with its arguments (without the program name); returns the exit code.
int RunBookTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace booktool
