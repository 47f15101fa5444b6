#include "booktool/book_check.h"

#include <map>

#include "books/rules.h"
#include "books/word_book.h"
#include "booktool/book_list.h"
#include "booktool/files.h"
#include "text/text.h"

namespace booktool {
namespace {

using books::BookKind;
using books::LoadFault;

int Columns(char32_t cp) {
  return cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2;
}

std::string LineList(const std::vector<int>& lines) {
  std::string out;
  const std::size_t shown = std::min<std::size_t>(lines.size(), 10);
  for (std::size_t i = 0; i < shown; ++i) out += (i ? ", " : "") + std::to_string(lines[i]);
  if (lines.size() > shown) out += " and " + std::to_string(lines.size() - shown) + " more";
  return out;
}

void FindRepeats(const books::WordBook& book, std::vector<Warning>& warnings) {
  const int n = book.Count();
  // Records counted from 1, as the book's lines are.
  for (int first = 1; first <= n; first += books::kGroupSize) {
    const int last = std::min(n, first + books::kGroupSize - 1);
    const int group = (first - 1) / books::kGroupSize + 1;
    for (auto side : {&books::Word::english, &books::Word::chinese}) {
      const char* what = side == &books::Word::english ? books::kEnglishSide : books::kMeaningSide;
      std::map<std::string_view, int> seen;
      for (int r = first; r <= last; ++r) {
        const std::string& text = book.words[static_cast<std::size_t>(r - 1)].*side;
        auto [it, fresh] = seen.emplace(text, r);
        if (!fresh)
          warnings.push_back(
              {WarningKind::Repeat, "group " + std::to_string(group) + " (records " +
                                        std::to_string(first) + "-" + std::to_string(last) +
                                        "): " + what + " " + Quoted(text) + " at records " +
                                        std::to_string(it->second) + " and " + std::to_string(r)});
      }
    }
  }
}

void FindTextProblems(const books::WordBook& book, std::vector<Warning>& warnings) {
  for (std::size_t i = 0; i < book.words.size(); ++i) {
    const books::Word& word = book.words[i];
    for (auto side : {&books::Word::english, &books::Word::chinese}) {
      const std::string& text = word.*side;
      const bool english = side == &books::Word::english;
      const char* what = english ? books::kEnglishSide : books::kMeaningSide;
      const std::string where = "record " + std::to_string(i + 1) + ": ";
      if (text.empty()) {
        books::FaultDetails d;
        d.english = word.english;
        d.meaning = word.chinese;
        const auto fault = english ? books::Fault::EmptyEnglish : books::Fault::EmptyMeaning;
        warnings.push_back({WarningKind::Empty, where + books::FaultMessage(fault, d)});
        continue;
      }
      const int lines = ButtonLines(text);
      if (lines > kButtonLines)
        warnings.push_back({WarningKind::TooLong,
                            where + what + " " + Quoted(text) + " needs " + std::to_string(lines) +
                                " lines on a board button (" + std::to_string(kButtonLines) +
                                " lines of " + std::to_string(kButtonColumns) +
                                " columns fit at 10.5 pt)"});
    }
  }
}

// The program's message on one line: its lines (CR LF between them) joined by " / ".
std::string ProgramMessage(const std::string& message) {
  std::string out = "\"";
  for (char c : message) {
    if (c == '\r') continue;
    out += c == '\n' ? std::string("\" / \"") : std::string(1, c);
  }
  return out + "\"";
}

}  // namespace

int ButtonLines(std::string_view text) {
  int lines = 1, column = 0;
  bool space = false;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = text::NextCodePoint(text, i);
    if (cp == ' ') {
      space = column > 0;
      continue;
    }
    // The token: a run of ASCII letters (a word) or one wide character.
    int width = Columns(cp);
    if (cp < 0x80) {
      while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80 && text[i] != ' ') {
        ++width;
        ++i;
      }
    }
    const int need = width + (space ? 1 : 0);
    space = false;
    if (column + need <= kButtonColumns) {
      column += need;
    } else if (width <= kButtonColumns) {
      ++lines;
      column = width;
    } else {  // a word longer than a line starts a line and breaks where lines end
      if (column > 0) ++lines;
      lines += (width - 1) / kButtonColumns;
      column = width - (width - 1) / kButtonColumns * kButtonColumns;
    }
  }
  return lines;
}

std::vector<Warning> FindWarnings(const books::WordBook& book, const books::CatalogueEntry& entry,
                                  const books::Decoding& decoding) {
  std::vector<Warning> warnings;
  if (const std::vector<int>& lines = decoding.invalid_lines; !lines.empty()) {
    const bool own = entry.kind == BookKind::OwnBook;
    warnings.push_back(
        {WarningKind::Encoding,
         std::string(own ? "the own book is neither UTF-8 nor GBK: " : "bytes that are not GBK ") +
             "on line" + (lines.size() > 1 ? "s " : " ") + LineList(lines) +
             " (the program shows them as \xEF\xBF\xBD)"});
  }
  FindRepeats(book, warnings);
  FindTextProblems(book, warnings);
  return warnings;
}

int FirstDifference(const books::WordBook& book, const books::CatalogueEntry& entry,
                    const std::vector<ListRecord>& records) {
  if (book.words.size() != records.size()) return 0;
  for (std::size_t k = 0; k < records.size(); ++k) {
    const ListRecord& r = records[k];
    books::Word want{r.english, r.chinese};
    if (entry.kind == BookKind::IdiomBook) books::CutIdiom(r.english, want.english, want.chinese);
    if (book.words[k] != want) return static_cast<int>(k) + 1;  // the record's number
  }
  return -1;
}

base::Result<CheckedBook, books::LoadFailure> CheckBook(const std::string& path,
                                                        const books::CatalogueEntry& entry) {
  CheckedBook checked;
  const books::BookLoad loaded = books::ReadWordBook(path, entry, checked.book);
  if (!loaded) return loaded.Failed();
  checked.decoding = *loaded;
  // The loader has read the whole file within its size limit, so reading it again is cheap.
  const Result<std::string> read = ReadWholeFile(path);
  const std::string bytes = read ? *read : std::string();
  std::vector<Warning>& warnings = checked.warnings;
  if (entry.kind != BookKind::OwnBook && books::OwnBookReadsAsUtf8(bytes))
    warnings.push_back({WarningKind::Encoding,
                        "the file is UTF-8, but the program reads this book as GBK: "
                        "its Chinese shows garbled (convert it with vantle-book convert)"});
  if (entry.kind == BookKind::OwnBook && loaded->encoding == books::Encoding::Gbk &&
      bytes.starts_with(text::kUtf8Bom))
    warnings.push_back({WarningKind::Encoding,
                        "the file starts as UTF-8 but is not all UTF-8, so the program "
                        "reads it as GBK and its first entry shows garbled"});
  auto found = FindWarnings(checked.book, entry, checked.decoding);
  warnings.insert(warnings.end(), found.begin(), found.end());
  return checked;
}

std::string DescribeFailure(const books::LoadFailure& failure, const books::CatalogueEntry& entry) {
  const std::string line = "line " + std::to_string(failure.line);
  const std::string record = "record " + std::to_string(failure.record);
  const std::string counts = "expected " + std::to_string(failure.expected) + ", found ";
  switch (failure.kind) {
    case LoadFault::CannotOpen:
      return "the file cannot be opened (missing, unreadable, or a folder, pipe or device)";
    case LoadFault::ReadError:
      return line + ", " + record + ": reading the file failed (a disk or file system error)";
    case LoadFault::NotText:
      return line + ", " + record + ": a NUL byte, so this is no text file (UTF-16 or binary)";
    case LoadFault::LineTooLong:
      return line + ", " + record + ": a line longer than " + std::to_string(books::kMaxLineBytes) +
             " bytes, so this is no word book";
    case LoadFault::FileTooLarge:
      return line + ", " + record + ": more than " +
             std::to_string(books::kMaxFileBytes / (1024 * 1024)) + " MB, so this is no word book";
    case LoadFault::Empty:
      return "the file is empty (" + counts + "0 records)";
    case LoadFault::EndsInsideRecord:
      return line + ", " + record +
             ": the file ends inside a record, after an English line "
             "without its meaning line (" +
             counts + std::to_string(failure.found) + " complete records)";
    case LoadFault::TooFewRecords:
      return line + ": a single record; a book needs at least two";
    case LoadFault::WrongCount:
      if (failure.found >= failure.expected)
        return line + ", " + record + ": a record too many begins here (" + counts + "more)";
      return line + ": the file ends after " + std::to_string(failure.found) + " records (" +
             counts + std::to_string(failure.found) + "; " + std::string(entry.label) +
             " must hold exactly " + std::to_string(failure.expected) + ")";
    case LoadFault::TooManyRecords:
      return line + ", " + record + ": a record beyond the own book's 30000 begins here (" +
             counts + "more)";
  }
  return "unknown failure";
}

void PrintWarnings(const std::string& name, const std::vector<Warning>& warnings,
                   std::ostream& out) {
  constexpr int kShownPerKind = 20;
  std::map<WarningKind, int> counts;
  for (const Warning& w : warnings)
    if (++counts[w.kind] <= kShownPerKind) out << name << ": warning: " << w.text << "\n";
  for (const auto& [kind, count] : counts)
    if (count > kShownPerKind)
      out << name << ": warning: ... and " << count - kShownPerKind
          << " more warnings of this kind\n";
}

void PrintLoadFailure(const std::string& file, const books::LoadFailure& failure,
                      const books::CatalogueEntry& entry, std::ostream& out) {
  PrintRefusal({DescribeFailure(failure, entry), 0, file}, out);
  out << file << ": the program shows " << ProgramMessage(failure.reason) << " and ends\n";
}

}  // namespace booktool
