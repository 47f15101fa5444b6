// vantle-book convert: makes a book from a UTF-8 list.
#pragma once

#include "booktool/command.h"

namespace booktool {

extern const Command kConvertCommand;

}  // namespace booktool
