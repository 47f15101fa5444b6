#include "booktool/import_command.h"

#include <algorithm>
#include <map>

#include "booktool/files.h"
#include "booktool/import.h"
#include "booktool/import_parts.h"
#include "booktool/write_book.h"

namespace booktool {
namespace {

// How many bad records there are of each kind, the kinds in a few words and in the order of
// the book rules.
using BadCounts = std::vector<std::pair<std::string_view, int>>;

// Prints the bad records, at most 20 of a kind, and returns the counts per kind.
BadCounts PrintBad(const std::string& source, const std::vector<BadRecord>& bad,
                   const char* verdict, std::ostream& out) {
  constexpr int kShownPerKind = 20;
  std::map<books::Fault, int> kinds;
  for (const BadRecord& b : bad) ++kinds[b.kind];
  BadCounts counts;
  for (const auto& [kind, count] : kinds) {
    const std::string_view words = books::FaultShort(kind);
    auto it = std::find_if(counts.begin(), counts.end(), [&](auto& c) { return c.first == words; });
    if (it == counts.end())
      counts.emplace_back(words, count);
    else
      it->second += count;
  }
  std::map<std::string_view, int> shown;
  for (const BadRecord& b : bad)
    if (++shown[books::FaultShort(b.kind)] <= kShownPerKind)
      out << source << ":" << b.line << ": " << verdict << ": " << b.reason << "\n";
  for (const auto& [words, count] : counts)
    if (count > kShownPerKind)
      out << source << ": ... and " << count - kShownPerKind << " more records " << words << "\n";
  return counts;
}

std::string Counts(const BadCounts& counts) {
  std::string text;
  for (const auto& [words, count] : counts)
    text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + std::string(words);
  return text;
}

std::string RecordCount(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " record" : " records");
}

// The format and columns asked for; a usage fault when they make no sense.
Result<ImportOptions> ImportOptionsFor(const Arguments& args) {
  ImportOptions options;
  if (args.format) {
    const Result<ListFormat> format = FormatNamed(*args.format);
    if (!format) return format.Failed();
    options.format = *format;
  }
  if (!args.columns) return options;
  const std::string& value = *args.columns;
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == value.size() ||
      value.find(',', comma + 1) != std::string::npos)
    return Failure{std::string(kColumnsUsage)};
  options.columns = {value.substr(0, comma), value.substr(comma + 1)};
  if (import::Lower(import::Trim(options.columns[0])) ==
      import::Lower(import::Trim(options.columns[1])))
    return Failure{"--columns " + value +
                   " gives one column for both sides; give the English column, then the "
                   "meaning's"};
  return options;
}

// The book import makes: OUT, or the user's own book.
struct ImportTarget {
  WriteTarget target;
  const books::CatalogueEntry* entry = nullptr;
  bool own = false;  // the user's own book, whose folder may have to be made
};

// The book is the one --label names, else the one OUT's name stands for, else the own book.
// A usage fault when there is no OUT and no user folder, or for a book that holds no pairs.
Result<ImportTarget> ImportTargetFor(const Arguments& args) {
  ImportTarget made;
  made.own = args.files.size() == 1;
  made.target = {made.own ? UserOwnBook() : args.files[1], args.force, {args.files[0]}};
  if (made.target.path.empty())
    return Failure{"neither XDG_DATA_HOME nor HOME says where your own book goes; give OUT"};
  made.entry = args.label ? EntryForLabel(*args.label) : EntryForFileName(made.target.path);
  if (!made.entry && args.label) return NoSuchLabel(*args.label);
  if (!made.entry) made.entry = &books::BookCatalogue().front();
  if (made.entry->kind == books::BookKind::IdiomBook)
    return Failure{"the idiom book holds no pairs; make it with convert"};
  return made;
}

// Reads the list `in` and says how it was read.
Result<ImportedList> ReadImport(const std::string& in, const ImportOptions& options,
                                std::ostream& out) {
  const Result<std::string> bytes = ReadWholeFile(in);
  if (!bytes.Ok()) return bytes.Failed();
  Result<ImportedList> list = ParseImport(*bytes, options);
  if (!list.Ok()) {
    Failure refusal = list.Failed();
    refusal.file = in;
    return refusal;
  }
  out << in << ": " << list->description << "; " << RecordCount(list->records.size()) << "\n";
  return list;
}

// The records the book can take. Bad ones are listed; they refuse the whole list unless
// --skip-bad leaves them out. Repeated pairs are dropped with --dedupe.
Result<std::vector<ListRecord>> SiftForBook(const std::string& in, std::vector<ListRecord> records,
                                            const books::CatalogueEntry& entry,
                                            const Arguments& args, std::ostream& out,
                                            std::ostream& err) {
  SiftedList sifted = SiftRecords(std::move(records), entry, args.dedupe);
  if (sifted.dropped > 0)
    out << in << ": dropped " << sifted.dropped << " repeated "
        << (sifted.dropped == 1 ? "pair" : "pairs") << "\n";
  if (sifted.bad.empty()) return std::move(sifted.kept);
  if (args.skip_bad) {
    const BadCounts counts = PrintBad(in, sifted.bad, "left out", out);
    out << in << ": left out " << RecordCount(sifted.bad.size()) << ": " << Counts(counts) << "\n";
    return std::move(sifted.kept);
  }
  const BadCounts counts = PrintBad(in, sifted.bad, "refused", err);
  const bool repeats = std::any_of(sifted.bad.begin(), sifted.bad.end(), [](const BadRecord& b) {
    return b.kind == books::Fault::Repeat;
  });
  return Failure{RecordCount(sifted.bad.size()) + " no book can take (" + Counts(counts) +
                     "); nothing written. --skip-bad leaves them out" +
                     (repeats ? ", --dedupe drops repeated pairs" : ""),
                 0, in};
}

int RunImport(const Arguments& args, std::ostream& out, std::ostream& err) {
  const Result<ImportOptions> options = ImportOptionsFor(args);
  if (!options.Ok()) return UsageError(kImportCommand, options.Failed().reason, err);
  if (args.files.empty() || args.files.size() > 2)
    return UsageError(kImportCommand,
                      args.files.empty() ? std::string_view("no FILE") : kTooManyFiles, err);
  const Result<ImportTarget> made = ImportTargetFor(args);
  if (!made.Ok()) return UsageError(kImportCommand, made.Failed().reason, err);
  if (const Result<> free = CheckTarget(made->target); !free.Ok())
    return Refuse(free.Failed(), err);

  const std::string& in = args.files[0];
  Result<ImportedList> list = ReadImport(in, *options, out);
  if (!list.Ok()) return Refuse(list.Failed(), err);
  const Result<std::vector<ListRecord>> kept =
      SiftForBook(in, std::move(list->records), *made->entry, args, out, err);
  if (!kept.Ok()) return Refuse(kept.Failed(), err);

  if (made->own)
    if (const Result<> folder = MakeFolderFor(made->target.path); !folder)
      return Refuse(folder.Failed(), err);
  return WriteBook(*kept, *made->entry, in, made->target, out, err);
}

}  // namespace

constexpr Command kImportCommand = {
    "import",
    "vantle-book import FILE [OUT] [--format csv|flashcards|kvtml] [--columns A,B]\n"
    "                   [--skip-bad] [--dedupe] [--label LABEL] [--force]",
    "makes a book from a CSV file, a flash-card export or a KVTML file",
    "Makes the book OUT from a word list kept elsewhere; without OUT, your own book\n"
    "$XDG_DATA_HOME/vantle/《My词库》.txt (~/.local/share/vantle/), which the program reads\n"
    "first. The format is found from the content; --format names it instead:\n"
    "  csv         a spreadsheet saved as CSV: comma, semicolon or tab between columns, UTF-8\n"
    "              (with or without BOM), GBK or UTF-16 with BOM (\"Unicode Text\"), quoted\n"
    "              fields; a first row naming the columns (english, word, 英文, 单词 /\n"
    "              chinese, meaning, 中文, 释义) is skipped\n"
    "  flashcards  a flash-card program's plain-text export (Anki: \"Notes in Plain Text\"),\n"
    "              with its #separator:, #html:, #columns: lines or without them (then known\n"
    "              by the HTML in its tab-separated fields); HTML becomes text, sounds and\n"
    "              pictures are dropped, a column of note identifiers is left out\n"
    "              (--format anki says the same)\n"
    "  kvtml       a KVTML 2 vocabulary file: English is the language whose locale is en,\n"
    "              the meaning the one whose locale is zh; without locales, by name or content\n"
    "What vantle-book export wrote comes back exactly, spaces included.\n"
    "Without a header naming them, the column mostly in Latin letters (not pinyin) is English\n"
    "and the one mostly in Chinese characters the meaning; when that cannot tell, --columns\n"
    "must name them. The summary line says which column became which side.\n"
    "Then, in every format, a record whose one side is plainly Latin and whose other side is\n"
    "plainly Chinese takes its sides from its own content, as the notes of a deck that mixes\n"
    "note types need; any other record keeps the sides of its columns. The summary says how\n"
    "many records were turned round. Columns given with --columns or named by their language\n"
    "(English, 英文; a KVTML locale) are taken at their word.\n"
    "--columns A,B takes English entries from A and meanings from B: numbers from 1, or names\n"
    "(a header cell, a #columns: name, a language's locale or name); other columns are ignored,\n"
    "and one column for both sides is refused.\n"
    "Records no book can take are listed with their line: an empty side, a meaning ending in\n"
    "0, 1 or a space, text GBK cannot hold, the same pair twice in your own book (catalogue\n"
    "books may repeat pairs, as theirs do), more than 30000 records (or than the count of\n"
    "the catalogue book that OUT or --label names). Then nothing is written,\n"
    "unless --skip-bad leaves them out (--dedupe drops repeated pairs alone). OUT is written\n"
    "atomically, replaced only with --force and never when it is FILE itself; long texts are\n"
    "warned about as check does.\n"
    "Exit status: 0 written, 1 refused, 2 bad usage.\n",
    &RunImport,
};

}  // namespace booktool
