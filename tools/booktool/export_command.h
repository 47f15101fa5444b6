// vantle-book export: a book in a form the flash-card, quiz and vocabulary programs import;
// and the writing of any list of records in those forms, for every command that writes one.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "booktool/book_list.h"
#include "booktool/command.h"
#include "booktool/files.h"
#include "booktool/import.h"

namespace booktool {

extern const Command kExportCommand;

// Where a list goes and in which form: a file, or standard output when the path is "-".
struct ListDestination {
  ListFormat format = ListFormat::Csv;
  WriteTarget target;
};

// The destination OUT (`path`, "-" for standard output) of a command that reads `inputs`: the
// format --format names, else the one OUT's extension asks for (CSV on standard output); an
// existing OUT is replaced only with --force. Refused (a usage fault) when neither tells the
// format.
Result<ListDestination> ListDestinationFor(const Arguments& args, const std::string& path,
                                           std::vector<std::string> inputs);

// Writes `records` (read from `source`) to `destination`, `title` naming the list in the
// file; says what was written. Returns the exit code.
int WriteList(const std::vector<ListRecord>& records, const std::string& source,
              const std::string& title, const ListDestination& destination, std::ostream& out,
              std::ostream& err);

}  // namespace booktool
