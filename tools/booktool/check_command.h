// vantle-book check: reads books as the program does and says what is wrong and where.
#pragma once

#include "booktool/command.h"

namespace booktool {

extern const Command kCheckCommand;

}  // namespace booktool
