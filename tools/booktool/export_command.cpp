#include "booktool/export_command.h"

#include "books/loader.h"
#include "booktool/book_check.h"
#include "booktool/export.h"

namespace booktool {
namespace {

constexpr std::string_view kStandardOutput = "-";

int RunExport(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.files.empty() || args.files.size() > 2)
    return UsageError(kExportCommand,
                      args.files.empty() ? std::string_view("no BOOK") : kTooManyFiles, err);
  const std::string& in = args.files[0];
  const Result<ListDestination> destination =
      ListDestinationFor(args, args.files.size() == 2 ? args.files[1] : "-", {in});
  if (!destination.Ok()) return UsageError(kExportCommand, destination.Failed().reason, err);
  const Result<const books::CatalogueEntry*> entry = EntryFor(args.label, in);
  if (!entry.Ok()) return UsageError(kExportCommand, entry.Failed().reason, err);
  if (destination->target.path != kStandardOutput) {
    const Result<> free = CheckTarget(destination->target);
    if (!free.Ok()) return Refuse(free.Failed(), err);
  }
  books::WordBook book;
  const books::BookLoad loaded = books::ReadWordBook(in, **entry, book);
  if (!loaded) return Refuse({DescribeFailure(loaded.Failed(), **entry), 0, in}, err);
  return WriteList(BookRecords(book), in, std::string((*entry)->label), *destination, out, err);
}

}  // namespace

Result<ListDestination> ListDestinationFor(const Arguments& args, const std::string& path,
                                           std::vector<std::string> inputs) {
  ListDestination destination{ListFormat::Csv, {path, args.force, std::move(inputs)}};
  if (args.format) {
    const Result<ListFormat> format = FormatNamed(*args.format);
    if (!format) return format.Failed();
    destination.format = *format;
  } else if (path != kStandardOutput) {
    destination.format = FormatForExtension(path);
    if (destination.format == ListFormat::Detect)
      return Failure{path + ": the extension names no format; give --format"};
  }
  return destination;
}

int WriteList(const std::vector<ListRecord>& records, const std::string& source,
              const std::string& title, const ListDestination& destination, std::ostream& out,
              std::ostream& err) {
  const Result<std::string> bytes = ExportRecords(records, destination.format, title);
  if (!bytes.Ok()) return Refuse({bytes.Failed().reason, 0, source}, err);
  const std::string& path = destination.target.path;
  if (path == kStandardOutput) {
    out << *bytes;
    return kExitGood;
  }
  const Result<std::string> written = WriteAtomically(destination.target, *bytes);
  if (!written.Ok()) return Refuse(written.Failed(), err);
  out << path << ": wrote " << records.size() << " records of " << title << " as "
      << FormatName(destination.format) << LinkNote(path, *written) << "\n";
  return kExitGood;
}

constexpr Command kExportCommand = {
    "export",
    "vantle-book export BOOK [OUT] [--format csv|flashcards|kvtml] [--label LABEL]\n"
    "                   [--force]",
    "writes a book as CSV, flash-card text or KVTML for other programs",
    "Writes the records of BOOK (a catalogue book, your own book or the idiom book) exactly as\n"
    "the program holds them, in a form other vocabulary programs import:\n"
    "  csv         UTF-8 with BOM, comma separated, a header row \"English,Chinese\"\n"
    "  flashcards  tab separated plain text with #separator:tab and #html:false lines, as a\n"
    "              flash-card program (Anki) imports it: the English entry becomes a note's\n"
    "              first field, the meaning its second, and no column is taken for tags\n"
    "  kvtml       KVTML 2 with two languages, English (en) and Chinese (zh_CN)\n"
    "The format comes from OUT's extension (.csv; .txt or .tsv; .kvtml or .xml) unless\n"
    "--format names it. Without OUT, or with OUT \"-\", the book goes to standard output (as\n"
    "CSV unless --format says otherwise). OUT is written atomically; an existing file is\n"
    "replaced only with --force, and only a regular file (or the file a link points to),\n"
    "never BOOK itself. vantle-book import reads each of these forms back into the same\n"
    "records, byte for byte, spaces included. A damaged book may hold what a form cannot: a\n"
    "control character (KVTML) or a NUL byte (flash-card text, KVTML); that form is then\n"
    "refused with the record's number, and CSV holds it.\n"
    "Exit status: 0 written, 1 refused, 2 bad usage.\n",
    &RunExport,
};

}  // namespace booktool
