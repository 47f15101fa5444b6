#include "booktool/book_list.h"

#include <algorithm>

#include "books/gbk.h"
#include "text/text.h"

namespace booktool {
namespace {

using books::BookKind;

// Splits text into lines at LF, CR LF or CR; a last line without terminator counts.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '\\' && i + 1 < field.size()) {
      char next = field[i + 1];
      char plain = next == '\\'  ? '\\'
                   : next == 't' ? '\t'
                   : next == 'r' ? '\r'
                   : next == 'n' ? '\n'
                                 : 0;
      if (plain) {
        out += plain;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

// An idiom as dump prints it, "一心-<TAB>-一意": the halves joined again. False for any other
// line.
bool DumpedIdiom(std::string_view line, std::string& idiom) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos)
    return false;
  const std::string entry = Unescape(line.substr(0, tab)), meaning = Unescape(line.substr(tab + 1));
  if (!entry.ends_with('-') || !meaning.starts_with('-')) return false;
  idiom = entry.substr(0, entry.size() - 1) + meaning.substr(1);
  return true;
}

// Runs the gathering form of a reader and keeps its first refusal.
template <class Read>
bool FirstRefusal(Refusal& refusal, Read read) {
  Refusals refusals;
  if (read(refusals)) return true;
  refusal = refusals.Kept.front();
  return false;
}

}  // namespace

void Refusals::Add(Refusal refusal) {
  ++Total;
  auto at = std::upper_bound(Kept.begin(), Kept.end(), refusal.Line,
                             [](int line, const Refusal& r) { return line < r.Line; });
  if (at - Kept.begin() >= static_cast<std::ptrdiff_t>(kMaxRefusals)) return;
  Kept.insert(at, std::move(refusal));
  if (Kept.size() > kMaxRefusals) Kept.pop_back();
}

void Refusals::Merge(const Refusals& other) {
  const int total = Total + other.Total;
  for (const Refusal& r : other.Kept) Add(r);
  Total = total;
}

bool ParseList(std::string_view text, BookKind kind, std::vector<ListRecord>& records,
               Refusal& refusal) {
  return FirstRefusal(refusal, [&](Refusals& all) { return ParseList(text, kind, records, all); });
}

bool ParseList(std::string_view text, BookKind kind, std::vector<ListRecord>& records,
               Refusals& refusals) {
  records.clear();
  const int before = refusals.Total;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    if (line.empty()) continue;
    if (!text::IsValidUtf8(line)) {
      refusals.Add({number, "the line is not UTF-8"});
      continue;
    }
    std::size_t tab = line.find('\t');
    if (kind == BookKind::IdiomBook) {
      std::string idiom(line);
      if (tab != std::string_view::npos && !DumpedIdiom(line, idiom)) {
        refusals.Add({number,
                      "a tab: the idiom book takes one idiom per line, or its halves as dump "
                      "prints them"});
        continue;
      }
      records.push_back({number, std::move(idiom), {}});
      continue;
    }
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) {
      refusals.Add({number, tab == std::string_view::npos
                                ? "no tab between the English entry and the Chinese meaning"
                                : "more than one tab (write a tab inside a field as \\t)"});
      continue;
    }
    records.push_back({number, Unescape(line.substr(0, tab)), Unescape(line.substr(tab + 1))});
  }
  return refusals.Total == before;
}

bool EncodeBook(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
                std::string& bytes, BookEncoding& encoding, Refusal& refusal) {
  return FirstRefusal(
      refusal, [&](Refusals& all) { return EncodeBook(records, entry, bytes, encoding, all); });
}

bool EncodeBook(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
                std::string& bytes, BookEncoding& encoding, Refusals& refusals) {
  bytes.clear();
  encoding = BookEncoding::Gbk;
  const int before = refusals.Total;
  books::BookRules rules(entry, false, false);
  books::RecordFault fault;
  if (rules.CountFault(static_cast<int>(records.size()), fault))
    refusals.Add({0, std::move(fault.Message)});
  std::string english, chinese;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ListRecord& r = records[i];
    auto faults = rules.Check(r.English, r.Chinese, static_cast<int>(i), r.Line, english, chinese);
    for (books::RecordFault& f : faults) refusals.Add({r.Line, std::move(f.Message)});
    if (!faults.empty()) continue;
    bytes += english + "\r\n";
    if (entry.Kind != BookKind::IdiomBook) bytes += chinese + "\r\n";
  }
  if (refusals.Total != before) {
    bytes.clear();
    return false;
  }

  // GBK bytes that happen to read as UTF-8 would be misread, so such an own book is written
  // in UTF-8 itself.
  if (entry.Kind == BookKind::OwnBook && books::OwnBookReadsAsUtf8(bytes)) {
    encoding = BookEncoding::Utf8;
    bytes.clear();
    for (const ListRecord& r : records) bytes += r.English + "\r\n" + r.Chinese + "\r\n";
  }
  return true;
}

const books::CatalogueEntry* EntryForFileName(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto catalogue = books::BookCatalogue();
  if (name == "《My词库》.txt") return &catalogue.front();
  if (name == "《成语大全》.txt") return &catalogue.back();
  const books::CatalogueEntry* entry = books::FindEntry(catalogue, name);
  return entry && entry->Kind == BookKind::CatalogueBook ? entry : nullptr;
}

const books::CatalogueEntry* EntryForLabel(std::string_view label) {
  if (const books::CatalogueEntry* entry = books::FindEntry(books::BookCatalogue(), label))
    return entry;
  return EntryForFileName(label);
}

std::string DumpBook(const books::WordBook& book) {
  std::string text;
  for (int i = 1; i <= book.WordCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    text += Escape(book.EnglishEntries[k]) + "\t" + Escape(book.ChineseMeanings[k]) + "\n";
  }
  return text;
}

}  // namespace booktool
