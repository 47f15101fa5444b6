#include "booktool/check_command.h"

#include "booktool/book_check.h"
#include "booktool/book_list.h"

namespace booktool {
namespace {

int RunCheck(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.files.empty()) return UsageError(kCheckCommand, kTooFewFiles, err);
  std::vector<const books::CatalogueEntry*> entries;
  for (const std::string& file : args.files) {
    const Result<const books::CatalogueEntry*> entry = EntryFor(args.label, file);
    if (!entry) return UsageError(kCheckCommand, entry.Failed().reason, err);
    entries.push_back(*entry);
  }
  int status = kExitGood;
  for (std::size_t i = 0; i < args.files.size(); ++i) {
    const std::string& file = args.files[i];
    const books::CatalogueEntry& entry = *entries[i];
    const Result<CheckedBook, books::LoadFailure> checked = CheckBook(file, entry);
    if (!checked) {
      status = kExitRefused;
      const books::LoadFailure& failure = checked.Failed();
      PrintLoadFailure(file, failure, entry, out);
      if (!failure.decoded.invalid_lines.empty())
        PrintWarnings(file, FindWarnings({}, entry, failure.decoded), out);
      continue;
    }
    out << file << ": OK, " << checked->book.Count() << " records";
    if (entry.kind == books::BookKind::OwnBook)
      out << (checked->decoding.encoding == books::Encoding::Utf8 ? " (read as UTF-8)"
                                                                  : " (read as GBK)");
    out << "\n";
    PrintWarnings(file, checked->warnings, out);
  }
  return status;
}

}  // namespace

constexpr Command kCheckCommand = {
    "check",
    "vantle-book check FILE... [--label LABEL]",
    "reads books as the program does and says what is wrong and where",
    "Reads each book with the program's own loader. Prints \"OK\" and the number of records,\n"
    "or what is wrong and where: line, record, expected and found counts, and the message the\n"
    "program would show before it ends. Warns, without refusing, about the same English entry\n"
    "or meaning twice within one group of 18 records, texts too long for a board button\n"
    "(more than 4 lines of 9 half-width columns at 10.5 pt), empty texts, bytes that are not\n"
    "GBK and own books that are neither GBK nor UTF-8.\n"
    "Exit status: 0 when every book loads, 1 when any is refused, 2 on bad usage.\n",
    &RunCheck,
};

}  // namespace booktool
