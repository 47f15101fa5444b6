// vantle-book dump: prints a book's records as the program holds them.
#pragma once

#include "booktool/command.h"

namespace booktool {

extern const Command kDumpCommand;

}  // namespace booktool
