// Making a book file from a list's records, as convert and import do.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "booktool/book_list.h"
#include "booktool/files.h"
#include "booktool/refusal.h"

namespace booktool {

// Makes the book `target` for `entry` from `records` (read from `source`): encodes it, writes
// it atomically, reads it back with the program's loader, says what was written and warns as
// check does. What reading the list refused (`refused`) is reported together with what
// encoding finds, and nothing is written then. Returns the exit code.
int WriteBook(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
              const std::string& source, const WriteTarget& target, std::ostream& out,
              std::ostream& err, Refusals refused = {});

}  // namespace booktool
