// vantle-book export: a book in a form the flash-card, quiz and vocabulary programs import.
#include "booktool/book_check.h"
#include "booktool/commands.h"
#include "booktool/export.h"
#include "booktool/options.h"

namespace booktool {
namespace {

constexpr const char* kExportUsage =
    "usage: vantle-book export BOOK [OUT] [--format csv|flashcards|kvtml] [--label LABEL]\n"
    "                          [--force]\n";

constexpr const char* kExportHelp =
    "\n"
    "Writes the records of BOOK (a catalogue book, your own book or the idiom book) exactly as\n"
    "the program holds them, in a form other vocabulary programs import:\n"
    "  csv         UTF-8 with BOM, comma separated, a header row \"English,Chinese\"\n"
    "  flashcards  tab separated plain text with #separator:tab, #html:false and #columns:\n"
    "              lines, as a flash-card program imports it\n"
    "  kvtml       KVTML 2 with two languages, English (en) and Chinese (zh_CN)\n"
    "The format comes from OUT's extension (.csv; .txt or .tsv; .kvtml or .xml) unless\n"
    "--format names it. Without OUT, or with OUT \"-\", the book goes to standard output (as\n"
    "CSV unless --format says otherwise). OUT is written atomically; an existing file is\n"
    "replaced only with --force, and only a regular file (or the file a link points to).\n"
    "vantle-book import reads each of these forms back into the same records.\n"
    "Exit status: 0 written, 1 refused, 2 bad usage.\n";

int Usage(const std::string& error, std::ostream& err) {
  err << "vantle-book export: " << error << "\n" << kExportUsage;
  return kExitUsage;
}

}  // namespace

int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments parsed;
  std::string error;
  if (!ParseArguments(args, parsed, error)) return Usage(error, err);
  if (parsed.Help) {
    out << kExportUsage << kExportHelp;
    return kExitGood;
  }
  if (parsed.Files.empty() || parsed.Files.size() > 2)
    return Usage(parsed.Files.empty() ? "no BOOK" : "too many files", err);
  const std::string& in = parsed.Files[0];
  const std::string target = parsed.Files.size() == 2 ? parsed.Files[1] : "-";
  const bool to_stdout = target == "-";
  ImportFormat format = ImportFormat::Csv;
  if (parsed.Format) {
    format = FormatForName(*parsed.Format);
    if (format == ImportFormat::Detect)
      return Usage("--format takes csv, flashcards (or anki) or kvtml", err);
  } else if (!to_stdout) {
    format = FormatForExtension(target);
    if (format == ImportFormat::Detect)
      return Usage(target + ": the extension names no format; give --format", err);
  }
  const books::CatalogueEntry* entry =
      parsed.Label ? EntryForLabel(*parsed.Label) : EntryForFileName(in);
  if (!entry)
    return Usage(parsed.Label
                     ? "\"" + *parsed.Label + "\" is no label of the catalogue"
                     : in + ": the name is no book's name; give the book with --label LABEL",
                 err);
  if (!to_stdout && !TargetFree(target, parsed.Force, err)) return kExitRefused;

  books::WordBook book;
  const books::LoadResult loaded = books::ReadWordBook(in, *entry, book);
  if (!loaded.Ok()) {
    err << in << ": refused: " << DescribeFailure(loaded, *entry) << "\n";
    return kExitRefused;
  }
  const std::vector<ListRecord> records = BookRecords(book);
  std::string bytes;
  if (!ExportRecords(records, format, entry->Label, bytes, error)) {
    err << in << ": refused: " << error << "\n";
    return kExitRefused;
  }
  if (to_stdout) {
    out << bytes;
    return kExitGood;
  }
  std::string written;
  if (!WriteAtomically(target, bytes, parsed.Force, error, {}, &written)) {
    err << target << ": " << error << "\n";
    return kExitRefused;
  }
  out << target << ": wrote " << records.size() << " records of " << entry->Label << " as "
      << FormatName(format) << LinkNote(target, written) << "\n";
  return kExitGood;
}

}  // namespace booktool
