// vantle-book progress: lists the learner's journal, or writes its words as a word list that
// other programs import.
#pragma once

#include "booktool/command.h"

namespace booktool {

extern const Command kProgressCommand;

}  // namespace booktool
