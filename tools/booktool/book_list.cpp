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

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::string FirstNonGbk(books::GbkEncoder& encoder, std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = text::CharOffset(text.substr(i), 1);
    std::string_view ch = text.substr(i, n);
    if (!encoder.Encode(ch, out)) return std::string(ch);
    i += n;
  }
  return {};
}

namespace {

class Encoder {
 public:
  explicit Encoder(Refusals& refusals) : refusals_(refusals) {}

  // GBK bytes of one field of the record at `line`; false (with the refusal) when GBK cannot
  // hold it or it cannot stand on a line of its own.
  bool Field(std::string_view text, const char* what, int line, std::string& gbk) {
    if (HasLineBreak(text) || text.find('\0') != std::string_view::npos)
      return Refuse(line, std::string(what) + " " + Quoted(text) +
                              " holds a line break or a NUL byte, which a book line cannot hold");
    if (encoder_.Encode(text, gbk)) return true;
    std::string bad = FirstNonGbk(encoder_, text);
    if (bad.empty()) return Refuse(line, std::string(what) + " " + Quoted(text) + " is not UTF-8");
    return Refuse(line, std::string(what) + " " + Quoted(text) + " holds \"" + bad +
                            "\", which GBK cannot hold");
  }

  bool Refuse(int line, std::string reason) {
    refusals_.Add({line, std::move(reason)});
    return false;
  }

  // Lowers the English line's first character as catalogue books store it, and makes sure
  // that the loader's raise gives the same line back.
  bool Lower(std::string& gbk, int line, std::string_view english) {
    if (gbk.empty())
      return Refuse(line,
                    "empty English entry: from the second record on, a catalogue book "
                    "stores its first character lowered by one, so it needs one");
    std::string stored = gbk;
    books::LowerFirstCharacter(stored);
    std::string back = stored;
    books::RaiseFirstCharacter(back);
    if (back != gbk || stored.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
      return Refuse(line, "English entry " + Quoted(english) +
                              ": its first character cannot be stored lowered by one");
    gbk = std::move(stored);
    return true;
  }

 private:
  Refusals& refusals_;
  books::GbkEncoder encoder_;
};

std::string CountText(int n) {
  return std::to_string(n) + (n == 1 ? " record" : " records");
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

bool EndsInMarker(std::string_view meaning) {
  return !meaning.empty() &&
         (meaning.back() == '0' || meaning.back() == '1' || meaning.back() == ' ');
}

std::string Quoted(std::string_view text) {
  // Appended piece by piece: a literal put before a temporary string makes GCC 12 at -O3 warn
  // of an overlapping copy (-Wrestrict) that cannot happen.
  std::string out = "\"";
  out.append(Escape(text)).push_back('"');
  return out;
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
    if (!books::IsValidUtf8(line)) {
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
  const int n = static_cast<int>(records.size());
  const std::string label(entry.Label);
  if (entry.Kind == BookKind::OwnBook) {
    // The entry's count is the own book's capacity, as the loader takes it.
    if (n < 2 || n > entry.WordCount)
      refusals.Add({0, CountText(n) + ": the own book holds from 2 to " +
                           std::to_string(entry.WordCount) + " records"});
  } else if (n != entry.WordCount) {
    refusals.Add(
        {0, CountText(n) + ", but " + label + " holds exactly " + CountText(entry.WordCount)});
  }

  Encoder encoder(refusals);
  std::string english, chinese;
  for (int i = 0; i < n; ++i) {
    const ListRecord& r = records[static_cast<std::size_t>(i)];
    if (entry.Kind == BookKind::IdiomBook) {
      if (encoder.Field(r.English, "idiom", r.Line, english)) bytes += english + "\r\n";
      continue;
    }
    // Both fields are looked at, so that one run names every fault of the line.
    const bool english_ok = encoder.Field(r.English, "English entry", r.Line, english);
    if (!encoder.Field(r.Chinese, "meaning", r.Line, chinese) || !english_ok) continue;
    if (EndsInMarker(r.Chinese)) {
      encoder.Refuse(r.Line, "meaning " + Quoted(r.Chinese) +
                                 " ends in 0, 1 or a space, which the program removes");
      continue;
    }
    if (entry.Kind == BookKind::CatalogueBook && i > 0 &&
        !encoder.Lower(english, r.Line, r.English))
      continue;
    bytes += english + "\r\n" + chinese + "\r\n";
  }
  if (refusals.Total != before) {
    bytes.clear();
    return false;
  }

  // The program reads an own book as UTF-8 when all of it is UTF-8 beyond ASCII; GBK bytes
  // that happen to be UTF-8 would be misread, so such a book is written in UTF-8 itself.
  if (entry.Kind == BookKind::OwnBook && books::IsValidUtf8(bytes)) {
    bool ascii = true;
    for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii) {
      encoding = BookEncoding::Utf8;
      bytes.clear();
      for (const ListRecord& r : records) bytes += r.English + "\r\n" + r.Chinese + "\r\n";
    }
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

std::string Escape(std::string_view field) {
  std::string out;
  for (char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
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
