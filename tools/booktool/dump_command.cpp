#include "booktool/dump_command.h"

#include "books/loader.h"
#include "booktool/book_check.h"
#include "booktool/book_list.h"

namespace booktool {
namespace {

int RunDump(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.files.size() != 1)
    return UsageError(kDumpCommand, args.files.empty() ? kTooFewFiles : kTooManyFiles, err);
  const std::string& file = args.files[0];
  const Result<const books::CatalogueEntry*> entry = EntryFor(args.label, file);
  if (!entry.Ok()) return UsageError(kDumpCommand, entry.Failed().reason, err);
  books::WordBook book;
  const books::BookLoad loaded = books::ReadWordBook(file, **entry, book);
  if (!loaded) {
    PrintLoadFailure(file, loaded.Failed(), **entry, err);
    return kExitRefused;
  }
  out << DumpBook(book);
  return kExitGood;
}

}  // namespace

constexpr Command kDumpCommand = {
    "dump",
    "vantle-book dump FILE [--label LABEL]",
    "prints a book's records as the program holds them",
    "Prints the records as the program holds them after loading, one a line:\n"
    "english<TAB>chinese in UTF-8, with the escapes \\\\ \\t \\r \\n inside fields. The idiom\n"
    "book prints each idiom cut into its two halves (\"一心-\" and \"-一意\").\n"
    "A refused book prints the reason on standard error and exits with 1.\n",
    &RunDump,
};

}  // namespace booktool
