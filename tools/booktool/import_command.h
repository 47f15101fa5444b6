// vantle-book import: a word book from a list kept in a spreadsheet, a flash-card program or
// a vocabulary program.
#pragma once

#include "booktool/command.h"

namespace booktool {

extern const Command kImportCommand;

}  // namespace booktool
