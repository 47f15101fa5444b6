// vantle-book where: prints the paths the program reads.
#pragma once

#include "booktool/command.h"

namespace booktool {

extern const Command kWhereCommand;

}  // namespace booktool
