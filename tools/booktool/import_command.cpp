// vantle-book import: a word book from a list kept in a spreadsheet, a flash-card program or
// a vocabulary program.
#include <algorithm>
#include <filesystem>
#include <map>

#include "booktool/commands.h"
#include "booktool/import.h"
#include "booktool/options.h"

namespace booktool {
namespace {

constexpr const char* kImportUsage =
    "usage: vantle-book import FILE [OUT] [--format csv|flashcards|kvtml] [--columns A,B]\n"
    "                          [--skip-bad] [--dedupe] [--label LABEL] [--force]\n";

constexpr const char* kImportHelp =
    "\n"
    "Makes the book OUT from a word list kept elsewhere; without OUT, your own book\n"
    "$XDG_DATA_HOME/vantle/《My词库》.txt (~/.local/share/vantle/), which the program reads\n"
    "first. The format is found from the content; --format names it instead:\n"
    "  csv         a spreadsheet saved as CSV: comma, semicolon or tab between columns, UTF-8\n"
    "              (with or without BOM), GBK or UTF-16 with BOM (\"Unicode Text\"), quoted\n"
    "              fields; a first row naming the columns (english, word, 英文, 单词 /\n"
    "              chinese, meaning, 中文, 释义) is skipped\n"
    "  flashcards  a flash-card program's plain-text export (Anki: \"Notes in Plain Text\")\n"
    "              with its #separator:, #html:, #columns: lines; HTML becomes text, sounds\n"
    "              and pictures are dropped (--format anki says the same)\n"
    "  kvtml       a KVTML 2 vocabulary file: English is the language whose locale is en,\n"
    "              the meaning the one whose locale is zh; without locales, by name or content\n"
    "Without a header naming them, the column mostly in Latin letters (not pinyin) is English\n"
    "and the one mostly in Chinese characters the meaning; when that cannot tell, --columns\n"
    "must name them. The summary line says which column became which side.\n"
    "--columns A,B takes English entries from A and meanings from B: numbers from 1, or names\n"
    "(a header cell, a #columns: name, a language's locale or name); other columns are ignored.\n"
    "Records no book can take are listed with their line: an empty side, a meaning ending in\n"
    "0, 1 or a space, text GBK cannot hold, the same pair twice in your own book (catalogue\n"
    "books may repeat pairs, as theirs do), more than 30000 records (or than the count of\n"
    "the catalogue book that OUT or --label names). Then nothing is written,\n"
    "unless --skip-bad leaves them out (--dedupe drops repeated pairs alone). OUT is written\n"
    "atomically and replaced only with --force; long texts are warned about as check does.\n"
    "Exit status: 0 written, 1 refused, 2 bad usage.\n";

// How many bad records there are of each kind, the kinds in a few words and in the order of
// the book rules.
using BadCounts = std::vector<std::pair<std::string_view, int>>;

// Prints the bad records, at most 20 of a kind, and returns the counts per kind.
BadCounts PrintBad(const std::string& source, const std::vector<BadRecord>& bad,
                   const char* verdict, std::ostream& out) {
  constexpr int kShownPerKind = 20;
  std::map<books::Fault, int> kinds;
  for (const BadRecord& b : bad) ++kinds[b.Kind];
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
    if (++shown[books::FaultShort(b.Kind)] <= kShownPerKind)
      out << source << ":" << b.Line << ": " << verdict << ": " << b.Reason << "\n";
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

// The format and columns asked for; false with `error` when they make no sense.
bool ImportOptionsFor(const Arguments& parsed, ImportOptions& options, std::string& error) {
  if (parsed.Format) {
    options.Format = FormatForName(*parsed.Format);
    if (options.Format == ImportFormat::Detect) {
      error = "--format takes csv, flashcards (or anki) or kvtml";
      return false;
    }
  }
  if (!parsed.Columns) return true;
  const std::string& value = *parsed.Columns;
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == value.size() ||
      value.find(',', comma + 1) != std::string::npos) {
    error = "--columns takes two columns, the English one and the meaning, as A,B";
    return false;
  }
  options.Columns = {value.substr(0, comma), value.substr(comma + 1)};
  return true;
}

std::string RecordCount(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " record" : " records");
}

}  // namespace

int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments parsed;
  ImportOptions options;
  std::string error;
  if (!ParseArguments(args, parsed, error) || !ImportOptionsFor(parsed, options, error)) {
    err << "vantle-book import: " << error << "\n" << kImportUsage;
    return kExitUsage;
  }
  if (parsed.Help) {
    out << kImportUsage << kImportHelp;
    return kExitGood;
  }
  if (parsed.Files.empty() || parsed.Files.size() > 2) {
    err << "vantle-book import: " << (parsed.Files.empty() ? "no FILE" : "too many files") << "\n"
        << kImportUsage;
    return kExitUsage;
  }
  const std::string& in = parsed.Files[0];
  // The book made: the label given, the one OUT's name stands for, else the own book.
  std::string target = parsed.Files.size() == 2 ? parsed.Files[1] : UserOwnBook();
  if (target.empty()) {
    err << "vantle-book import: neither XDG_DATA_HOME nor HOME says where your own book goes; "
           "give OUT\n";
    return kExitUsage;
  }
  const books::CatalogueEntry* entry =
      parsed.Label ? EntryForLabel(*parsed.Label) : EntryForFileName(target);
  if (!entry && parsed.Label) {
    err << "vantle-book import: \"" << *parsed.Label << "\" is no label of the catalogue\n";
    return kExitUsage;
  }
  if (!entry) entry = &books::BookCatalogue().front();
  if (entry->Kind == books::BookKind::IdiomBook) {
    err << "vantle-book import: the idiom book holds no pairs; make it with convert\n";
    return kExitUsage;
  }

  if (!TargetFree(target, parsed.Force, err)) return kExitRefused;
  std::string bytes;
  if (!ReadWhole(in, bytes, error)) {
    err << error << "\n";
    return kExitRefused;
  }
  ImportedList list = ParseImport(bytes, options);
  if (!list.Failure.Reason.empty()) {
    PrintRefusal(in,
                 {list.Failure.Line,
                  "as " + std::string(FormatName(list.Format)) + ": " + list.Failure.Reason},
                 err);
    return kExitRefused;
  }
  out << in << ": " << list.Description << "; " << RecordCount(list.Records.size()) << "\n";

  SiftedList sifted = SiftRecords(std::move(list.Records), *entry, parsed.Dedupe);
  if (sifted.Dropped > 0)
    out << in << ": dropped " << sifted.Dropped << " repeated "
        << (sifted.Dropped == 1 ? "pair" : "pairs") << "\n";
  if (!sifted.Bad.empty()) {
    if (!parsed.SkipBad) {
      const auto counts = PrintBad(in, sifted.Bad, "refused", err);
      err << in << ": refused: " << RecordCount(sifted.Bad.size()) << " no book can take ("
          << Counts(counts) << "); nothing written. --skip-bad leaves them out"
          << (std::any_of(sifted.Bad.begin(), sifted.Bad.end(),
                          [](const BadRecord& b) { return b.Kind == books::Fault::Repeat; })
                  ? ", --dedupe drops repeated pairs"
                  : "")
          << "\n";
      return kExitRefused;
    }
    const auto counts = PrintBad(in, sifted.Bad, "left out", out);
    out << in << ": left out " << RecordCount(sifted.Bad.size()) << ": " << Counts(counts) << "\n";
  }

  if (parsed.Files.size() == 1) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
    if (ec) {
      err << target << ": cannot make its folder (" << ec.message() << ")\n";
      return kExitRefused;
    }
  }
  return WriteBook(sifted.Kept, *entry, in, target, parsed.Force, out, err);
}

}  // namespace booktool
