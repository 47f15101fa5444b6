#include "booktool/commands.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "books/loader.h"
#include "booktool/book_check.h"
#include "booktool/book_list.h"
#include "booktool/options.h"

namespace booktool {
namespace {

using books::BookKind;
using books::CatalogueEntry;

constexpr const char* kUsage =
    "usage: vantle-book check FILE... [--label LABEL]\n"
    "       vantle-book dump FILE [--label LABEL]\n"
    "       vantle-book convert IN.tsv OUT [--label LABEL] [--force]\n"
    "       vantle-book convert IN.tsv --own [--force]\n"
    "       vantle-book import FILE [OUT] [--format FORMAT] [--columns A,B] [--skip-bad]\n"
    "                          [--dedupe] [--label LABEL] [--force]\n"
    "       vantle-book where\n"
    "       vantle-book COMMAND --help\n";

constexpr const char* kGeneralHelp =
    "vantle-book: checks, shows and makes the word books of Vantle.\n"
    "\n"
    "  check    reads books as the program does and says what is wrong and where\n"
    "  dump     prints a book's records as the program holds them\n"
    "  convert  makes a book from a UTF-8 list\n"
    "  import   makes a book from a CSV file, a flash-card export or a KVTML file\n"
    "  where    prints the paths the program reads\n"
    "\n"
    "A book's label comes from its file name: a catalogue label such as\n"
    "\"《小学英语》(第一册)(91)\", \"《My词库》.txt\" or \"《成语大全》.txt\"; for any other\n"
    "name give it with --label (a catalogue label, e.g. --label \"《My词库》\").\n"
    "Exit status: 0 good, 1 a book or list refused, 2 bad usage.\n";

constexpr const char* kCheckHelp =
    "usage: vantle-book check FILE... [--label LABEL]\n"
    "\n"
    "Reads each book with the program's own loader. Prints \"OK\" and the number of records,\n"
    "or what is wrong and where: line, record, expected and found counts, and the message the\n"
    "program would show before it ends. Warns, without refusing, about the same English entry\n"
    "or meaning twice within one group of 18 records, texts too long for a board button\n"
    "(more than 4 lines of 9 half-width columns at 10.5 pt), empty texts, bytes that are not\n"
    "GBK and own books that are neither GBK nor UTF-8.\n"
    "Exit status: 0 when every book loads, 1 when any is refused, 2 on bad usage.\n";

constexpr const char* kDumpHelp =
    "usage: vantle-book dump FILE [--label LABEL]\n"
    "\n"
    "Prints the records as the program holds them after loading, one a line:\n"
    "english<TAB>chinese in UTF-8, with the escapes \\\\ \\t \\r \\n inside fields. The idiom\n"
    "book prints each idiom cut into its two halves (\"一心-\" and \"-一意\").\n"
    "A refused book prints the reason on standard error and exits with 1.\n";

constexpr const char* kConvertHelp =
    "usage: vantle-book convert IN.tsv OUT [--label LABEL] [--force]\n"
    "\n"
    "Makes the book OUT from the UTF-8 list IN.tsv: one record a line, english<TAB>chinese,\n"
    "with the escapes \\\\ \\t \\r \\n inside fields (what dump prints); for the idiom book one\n"
    "idiom a line, or its two halves as dump prints them. Empty lines are skipped. The book\n"
    "is written in GBK with CR LF line ends; in catalogue books the first character of every\n"
    "English entry but the first is stored lowered by one, as the program expects.\n"
    "Refused, with the line number: text GBK cannot hold, an empty English entry where the\n"
    "first character is to be lowered, a meaning ending in 0, 1 or a space (the program\n"
    "removes those), a wrong number of records for a catalogue label (the own book takes 2 to\n"
    "30000). Every bad line is named, the first 100 of them in one run, so that a list can be\n"
    "put right at once. OUT is written through a temporary file and read back with the\n"
    "program's loader before it takes the name; an existing OUT is replaced only with --force.\n"
    "With --own instead of OUT, the list becomes the user's own book, which the program\n"
    "reads instead of the one beside it: $XDG_DATA_HOME/vantle/《My词库》.txt, or\n"
    "~/.local/share/vantle/《My词库》.txt when XDG_DATA_HOME is unset; its folder is made.\n";

constexpr const char* kWhereHelp =
    "usage: vantle-book where\n"
    "\n"
    "Prints the paths the program reads: its folder, the own book (the user's copy when it\n"
    "exists, else the one beside the program), the user's copy, Study/ and Pic/.\n";

// The entry for `file`: the --label one, or the one its name stands for.
const CatalogueEntry* EntryFor(const Arguments& args, const std::string& file, std::string& error) {
  if (args.Label) {
    const CatalogueEntry* entry = EntryForLabel(*args.Label);
    if (!entry) error = "\"" + *args.Label + "\" is no label of the catalogue";
    return entry;
  }
  const CatalogueEntry* entry = EntryForFileName(file);
  if (!entry) error = file + ": the name is no book's name; give the book with --label LABEL";
  return entry;
}

std::string ProgramMessage(const std::string& message) {
  std::string out = "\"";
  for (char c : message) {
    if (c == '\r') continue;
    out += c == '\n' ? std::string("\" / \"") : std::string(1, c);
  }
  return out + "\"";
}

}  // namespace

void PrintWarnings(const std::string& name, const std::vector<Warning>& warnings,
                   std::ostream& out) {
  constexpr int kShownPerKind = 20;
  std::map<WarningKind, int> counts;
  for (const Warning& w : warnings)
    if (++counts[w.Kind] <= kShownPerKind) out << name << ": warning: " << w.Text << "\n";
  for (const auto& [kind, count] : counts)
    if (count > kShownPerKind)
      out << name << ": warning: ... and " << count - kShownPerKind
          << " more warnings of this kind\n";
}

namespace {

int Check(const Arguments& args, const std::vector<const CatalogueEntry*>& entries,
          std::ostream& out) {
  int status = kExitGood;
  for (std::size_t i = 0; i < args.Files.size(); ++i) {
    const std::string& file = args.Files[i];
    CheckReport report = CheckBook(file, *entries[i]);
    const books::LoadResult& r = report.Result;
    if (!r.Ok()) {
      status = kExitRefused;
      out << file << ": refused: " << DescribeFailure(r, *entries[i]) << "\n";
      out << file << ": the program shows " << ProgramMessage(r.Message) << " and ends\n";
      if (!r.InvalidLines.empty()) PrintWarnings(file, FindWarnings({}, *entries[i], r), out);
      continue;
    }
    out << file << ": OK, " << report.Book.WordCount << " records";
    if (entries[i]->Kind == BookKind::OwnBook)
      out << (r.DecodedAs == books::Encoding::Utf8 ? " (read as UTF-8)" : " (read as GBK)");
    out << "\n";
    PrintWarnings(file, report.Warnings, out);
  }
  return status;
}

int Dump(const std::string& file, const CatalogueEntry& entry, std::ostream& out,
         std::ostream& err) {
  books::WordBook book;
  books::LoadResult r = books::ReadWordBook(file, entry, book);
  if (!r.Ok()) {
    err << file << ": refused: " << DescribeFailure(r, entry) << "\n";
    err << file << ": the program shows " << ProgramMessage(r.Message) << " and ends\n";
    return kExitRefused;
  }
  out << DumpBook(book);
  return kExitGood;
}

}  // namespace

bool ReadWhole(const std::string& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = path + ": is a folder";
    return false;
  }
  // A pipe would wait for a writer and a device may never end: only plain files are read.
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) {
    error = path + ": is not a regular file";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read (" + strerror(errno) + ")";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (file.bad()) {
    error = path + ": cannot be read";
    return false;
  }
  return true;
}

void PrintRefusal(const std::string& source, const Refusal& refusal, std::ostream& err) {
  err << source;
  if (refusal.Line > 0) err << ":" << refusal.Line;
  err << ": refused: " << refusal.Reason << "\n";
}

void PrintRefusals(const std::string& source, const Refusals& refusals, std::ostream& err) {
  for (const Refusal& r : refusals.Kept) PrintRefusal(source, r, err);
  if (refusals.Total > static_cast<int>(refusals.Kept.size()))
    err << source << ": refused: " << refusals.Total - static_cast<int>(refusals.Kept.size())
        << " more faults not shown\n";
}

namespace {

// Makes the book's bytes, adding what is wrong with any record to what reading the list
// found, so that one run names every fault. The count of records is only judged once every
// line reads: lines left out would make it misleading.
bool EncodeRecords(const std::vector<ListRecord>& records, const CatalogueEntry& entry,
                   std::string& bytes, BookEncoding& encoding, Refusals& refused) {
  const bool parsed = !refused.Any();
  Refusals encoded;
  if (EncodeBook(records, entry, bytes, encoding, encoded)) return parsed;
  if (!parsed && encoded.Kept.front().Line == 0) {
    encoded.Kept.erase(encoded.Kept.begin());
    --encoded.Total;
  }
  refused.Merge(encoded);
  return false;
}

}  // namespace

int WriteBook(const std::vector<ListRecord>& records, const CatalogueEntry& entry,
              const std::string& source, const std::string& target, bool force, std::ostream& out,
              std::ostream& err, Refusals refused) {
  std::string bytes, error;
  BookEncoding encoding = BookEncoding::Gbk;
  if (!EncodeRecords(records, entry, bytes, encoding, refused)) {
    PrintRefusals(source, refused, err);
    return kExitRefused;
  }
  books::WordBook book;
  books::LoadResult result;
  auto verify = [&](const std::string& temp, std::string& why) {
    result = books::ReadWordBook(temp, entry, book);
    int differs = result.Ok() ? FirstDifference(book, entry, records) : 0;
    if (differs < 0) return true;
    why = result.Ok() ? "record " + std::to_string(differs) + " would not read back as written"
                      : "the program would refuse it: " + DescribeFailure(result, entry);
    return false;
  };
  std::string written;
  if (!WriteAtomically(target, bytes, force, error, verify, &written)) {
    err << target << ": " << error << "\n";
    return kExitRefused;
  }
  out << target << ": wrote " << records.size() << " records of " << entry.Label
      << (encoding == BookEncoding::Utf8 ? " in UTF-8 (its GBK bytes would have read as UTF-8)"
                                         : " in GBK")
      << LinkNote(target, written) << "\n";
  PrintWarnings(target, FindWarnings(book, entry, result), out);
  return kExitGood;
}

namespace {

int Convert(const Arguments& args, const CatalogueEntry& entry, std::ostream& out,
            std::ostream& err) {
  const std::string& in = args.Files[0];
  const std::string& target = args.Files[1];
  if (!TargetFree(target, args.Force, err)) return kExitRefused;
  std::string text, error;
  if (!ReadWhole(in, text, error)) {
    err << error << "\n";
    return kExitRefused;
  }
  std::vector<ListRecord> records;
  Refusals refused;
  ParseList(text, entry.Kind, records, refused);
  return WriteBook(records, entry, in, target, args.Force, out, err, std::move(refused));
}

// The folder of the program, which is where this tool's own executable really is.
std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path(ec).string() : self.parent_path().string();
}

int Where(std::ostream& out) {
  const std::string program = ProgramFolder(), user_book = UserOwnBook();
  out << "program folder: " << program << "\n"
      << "own book: " << books::OwnBookPath(program, books::UserDataDirectory()) << "\n"
      << "user's own book: "
      << (user_book.empty() ? "none (neither XDG_DATA_HOME nor HOME is set)" : user_book) << "\n"
      << "Study/: " << program << "/Study\n"
      << "Pic/: " << program << "/Pic\n";
  return kExitGood;
}

// Points convert --own at the user's own book, making its folder; false with `error` when
// there is no user folder or it cannot be made.
bool TargetUserOwnBook(Arguments& args, std::string& error) {
  const std::string book = UserOwnBook();
  if (book.empty()) {
    error = "no folder for the user's own book: neither XDG_DATA_HOME nor HOME is set";
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(book).parent_path();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = folder.string() + ": cannot be made (" + ec.message() + ")";
    return false;
  }
  args.Files.push_back(book);
  return true;
}

}  // namespace

std::string LinkNote(const std::string& path, const std::string& written) {
  return written == path ? std::string() : " into " + written + ", where the link points";
}

std::string UserOwnBook() {
  return books::UserOwnBookPath(books::UserDataDirectory());
}

int RunBookTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kGeneralHelp << "\n" << kUsage;
    return kExitGood;
  }
  if (args[0] == "import") return RunImport(args, out, err);
  if (args[0] == "export") return RunExport(args, out, err);
  static const std::map<std::string, const char*> kHelp = {
      {"check", kCheckHelp}, {"dump", kDumpHelp}, {"convert", kConvertHelp}, {"where", kWhereHelp}};
  auto help = kHelp.find(args[0]);
  if (help == kHelp.end()) {
    err << "vantle-book: unknown command " << args[0] << "\n" << kUsage;
    return kExitUsage;
  }
  Arguments parsed;
  std::string error;
  if (!ParseArguments(args, parsed, error)) {
    err << "vantle-book " << parsed.Command << ": " << error << "\n" << kUsage;
    return kExitUsage;
  }
  if (parsed.Help) {
    out << help->second;
    return kExitGood;
  }
  if (parsed.Own && parsed.Label) {
    err << "vantle-book convert: --own makes the own book and takes no --label\n" << kUsage;
    return kExitUsage;
  }
  const std::size_t want = parsed.Command == "where"     ? 0
                           : parsed.Command != "convert" ? 1
                           : parsed.Own                  ? 1
                                                         : 2;
  if (parsed.Files.size() < want || (parsed.Command != "check" && parsed.Files.size() > want)) {
    err << "vantle-book " << parsed.Command << ": "
        << (parsed.Files.size() < want ? "too few" : "too many") << " files\n"
        << kUsage;
    return kExitUsage;
  }
  if (parsed.Command == "where") return Where(out);
  if (parsed.Own && !TargetUserOwnBook(parsed, error)) {
    err << "vantle-book convert: " << error << "\n";
    return kExitRefused;
  }
  // The book each file is: for convert the one it makes.
  std::vector<const CatalogueEntry*> entries;
  for (std::size_t i = parsed.Command == "convert" ? 1 : 0; i < parsed.Files.size(); ++i) {
    entries.push_back(EntryFor(parsed, parsed.Files[i], error));
    if (!entries.back()) {
      err << "vantle-book " << parsed.Command << ": " << error << "\n";
      return kExitUsage;
    }
  }
  if (parsed.Command == "check") return Check(parsed, entries, out);
  if (parsed.Command == "dump") return Dump(parsed.Files[0], *entries[0], out, err);
  return Convert(parsed, *entries[0], out, err);
}

}  // namespace booktool
