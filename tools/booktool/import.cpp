#include "booktool/import.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <utility>

#include "books/gbk.h"

namespace booktool {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// ---------------------------------------------------------------------------------------
// Text

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    out += kReplacement;
  } else if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// White space runs (no-break spaces among them) as one space, none at either end.
std::string CollapseSpace(std::string_view s) {
  std::string out;
  bool space = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const bool nbsp = s.substr(i).starts_with("\xC2\xA0");
    if (IsSpace(s[i]) || nbsp) {
      space = !out.empty();
      i += nbsp ? 1 : 0;
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += s[i];
  }
  return out;
}

// A field's lines joined by one space: a book line cannot hold a line break, and a break at
// either end of a spreadsheet cell is invisible there. NUL bytes go too.
std::string JoinLines(std::string_view field) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= field.size(); ++i) {
    if (i < field.size() && field[i] != '\r' && field[i] != '\n') continue;
    std::string_view line = field.substr(start, i - start);
    if (!line.empty()) out += (out.empty() ? "" : " ") + std::string(line);
    start = i + 1;
  }
  std::erase(out, '\0');
  return out;
}

// UTF-8 text with each byte that starts no well-formed character replaced by U+FFFD;
// `valid` counts the characters beyond ASCII, `invalid` the bytes replaced.
std::string RepairUtf8(std::string_view bytes, int& valid, int& invalid) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += bytes[i++];
      continue;
    }
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (i + n <= bytes.size() && books::IsValidUtf8(bytes.substr(i, n))) {
      out.append(bytes.substr(i, n));
      ++valid;
      i += n;
    } else {
      out += kReplacement;
      ++invalid;
      ++i;
    }
  }
  return out;
}

// The bytes as UTF-8: a byte-order mark says UTF-8, so does text that is mostly UTF-8 (a few
// stray bytes then become U+FFFD and their records are reported, rather than the whole file
// read garbled as GBK); anything else is GBK. `encoding` names what was found.
std::string DecodeText(std::string_view bytes, std::string& encoding) {
  const bool bom = bytes.starts_with(kUtf8Bom);
  if (bom) bytes.remove_prefix(kUtf8Bom.size());
  int valid = 0, invalid = 0;
  std::string utf8 = RepairUtf8(bytes, valid, invalid);
  if (bom || valid > invalid) {
    encoding = bom ? "UTF-8 with BOM" : "UTF-8";
    if (invalid > 0)
      encoding +=
          " (" + std::to_string(invalid) + (invalid == 1 ? " byte" : " bytes") + " not UTF-8)";
    return utf8;
  }
  if (invalid == 0) {
    encoding = "ASCII";
    return utf8;
  }
  encoding = "GBK";
  books::GbkDecoder decoder;
  return decoder.Decode(bytes);
}

bool IsUtf16(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

// A decimal number of at most six digits, or nothing.
std::optional<std::size_t> ParseCount(std::string_view s) {
  if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  std::size_t n = 0;
  for (char c : s) n = n * 10 + static_cast<std::size_t>(c - '0');
  return n;
}

// The length of a "[sound:...]" reference at the start of `s`, or 0.
std::size_t SoundReference(std::string_view s) {
  if (!s.starts_with("[sound:")) return 0;
  const std::size_t close = s.find(']');
  return close == std::string_view::npos ? 0 : close + 1;
}

std::string Quote(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

// ---------------------------------------------------------------------------------------
// HTML entities

struct NamedEntity {
  std::string_view Name;
  char32_t Code;
};

constexpr std::array<NamedEntity, 21> kEntities = {{
    {"amp", U'&'},        {"lt", U'<'},          {"gt", U'>'},          {"quot", U'"'},
    {"apos", U'\''},      {"nbsp", U' '},        {"ensp", U' '},        {"emsp", U' '},
    {"mdash", U'\u2014'}, {"ndash", U'\u2013'},  {"hellip", U'\u2026'}, {"lsquo", U'\u2018'},
    {"rsquo", U'\u2019'}, {"ldquo", U'\u201C'},  {"rdquo", U'\u201D'},  {"middot", U'\u00B7'},
    {"times", U'\u00D7'}, {"divide", U'\u00F7'}, {"deg", U'\u00B0'},    {"bull", U'\u2022'},
    {"sect", U'\u00A7'},
}};

// Decodes the entity at the start of `s` (which begins with '&'); returns its length, or 0
// when there is no entity there.
std::size_t DecodeEntity(std::string_view s, std::string& out) {
  const std::size_t semi = s.find(';');
  if (semi == std::string_view::npos || semi < 2 || semi > 12) return 0;
  std::string_view body = s.substr(1, semi - 1);
  if (body[0] == '#') {
    const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    char32_t cp = 0;
    for (char c : digits) {
      int d = c >= '0' && c <= '9'          ? c - '0'
              : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
              : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                            : -1;
      if (d < 0) return 0;
      cp = std::min<char32_t>(cp * (hex ? 16 : 10) + static_cast<char32_t>(d), 0x110000);
    }
    AppendUtf8(out, cp);
    return semi + 1;
  }
  for (const NamedEntity& e : kEntities) {
    if (e.Name != body) continue;
    AppendUtf8(out, e.Code);
    return semi + 1;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------
// Rows of separated values (RFC 4180: quoted fields, doubled quotes, line breaks in quotes)

struct Row {
  int Line = 0;  // where the row starts
  std::vector<std::string> Fields;
};

bool IsBlank(const Row& row) {
  return std::all_of(row.Fields.begin(), row.Fields.end(),
                     [](const std::string& f) { return Trim(f).empty(); });
}

// Splits `text` into rows at line ends outside quotes; `first_line` is the number of the
// text's first line; at most `limit` rows that are not blank. When the text ends inside a
// quoted field, `unclosed` (if given) is set to the line where that field opened.
std::vector<Row> SplitRows(std::string_view text, char separator, int first_line,
                           std::size_t limit = SIZE_MAX, int* unclosed = nullptr) {
  std::vector<Row> rows;
  std::size_t kept = 0;
  int line = first_line;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto line_end = [&](std::size_t at) {  // the length of a line break at `at`, or 0
    if (text[at] == '\r') return at + 1 < n && text[at + 1] == '\n' ? 2 : 1;
    return text[at] == '\n' ? 1 : 0;
  };
  while (i < n && kept < limit) {
    Row row;
    row.Line = line;
    std::string field;
    bool quoted = false, was_quoted = false;
    int quote_line = 0;
    for (; i < n; ++i) {
      const char c = text[i];
      if (quoted) {
        if (c == '"' && i + 1 < n && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else if (c == '"') {
          quoted = false;
        } else {
          if (const int brk = line_end(i)) {
            ++line;
            field.append(text.substr(i, static_cast<std::size_t>(brk)));
            i += static_cast<std::size_t>(brk) - 1;
            continue;
          }
          field += c;
        }
      } else if (c == '"' && field.empty() && !was_quoted) {
        quoted = was_quoted = true;
        quote_line = line;
      } else if (c == separator) {
        row.Fields.push_back(std::move(field));
        field.clear();
        was_quoted = false;
      } else if (const int brk = line_end(i)) {
        i += static_cast<std::size_t>(brk);
        break;
      } else {
        field += c;
      }
    }
    ++line;
    if (quoted && unclosed) *unclosed = quote_line;
    row.Fields.push_back(std::move(field));
    if (!IsBlank(row)) {
      rows.push_back(std::move(row));
      ++kept;
    }
  }
  return rows;
}

// All rows of `text`; false with the failure when a quoted field is never closed, which
// would swallow every row after it.
bool SplitAll(std::string_view text, char separator, int first_line, std::vector<Row>& rows,
              ImportedList& list) {
  int unclosed = 0;
  rows = SplitRows(text, separator, first_line, SIZE_MAX, &unclosed);
  if (unclosed == 0) return true;
  list.Failure = {unclosed, "the quote that opens a field here is never closed"};
  return false;
}

constexpr std::array<char, 3> kSeparators = {'\t', ';', ','};

std::string SeparatorName(char separator) {
  switch (separator) {
    case '\t':
      return "tabs";
    case ';':
      return "semicolons";
    case ',':
      return "commas";
    case ' ':
      return "spaces";
    default:
      return Quote(std::string(1, separator));
  }
}

// The separator of a CSV file: the candidate that splits the most of the first rows into the
// same number (at least two) of fields; on a tie, the one that comes first on more lines,
// since the English entry comes first and a meaning may hold the others.
std::optional<char> DetectSeparator(std::string_view text) {
  constexpr std::size_t kSample = 50;
  std::optional<char> best;
  std::pair<int, int> best_score{0, 0};
  for (char sep : kSeparators) {
    std::map<std::size_t, int> counts;
    for (const Row& row : SplitRows(text, sep, 1, kSample)) ++counts[row.Fields.size()];
    int consistent = 0;
    for (const auto& [fields, count] : counts)
      if (fields >= 2 && count > consistent) consistent = count;
    if (consistent == 0) continue;
    int first = 0, lines = 0;
    for (std::size_t at = 0; at < text.size() && lines < static_cast<int>(kSample); ++lines) {
      std::size_t end = text.find_first_of("\r\n", at);
      std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
      std::size_t earliest = line.find_first_of("\t;,");
      if (earliest != std::string_view::npos && line[earliest] == sep) ++first;
      at = end == std::string_view::npos ? text.size() : end + 1;
    }
    const std::pair<int, int> score{consistent, first};
    if (score > best_score) {
      best_score = score;
      best = sep;
    }
  }
  return best;
}

// ---------------------------------------------------------------------------------------
// Columns

constexpr std::array<std::string_view, 11> kEnglishNames = {
    "english", "en",    "word",  "words",    "term",      "vocabulary",
    "vocab",   "front", "entry", "headword", "expression"};
constexpr std::array<std::string_view, 10> kChineseNames = {
    "chinese",    "zh",          "cn",   "meaning",     "meanings",
    "definition", "translation", "back", "explanation", "gloss"};
// Chinese header names match when the cell contains them ("英文单词", "中文意思").
constexpr std::array<std::string_view, 5> kEnglishWords = {"英文", "英语", "单词", "词汇", "生词"};
constexpr std::array<std::string_view, 8> kChineseWords = {"中文", "汉语", "释义", "意思",
                                                           "词义", "解释", "翻译", "含义"};

bool Names(std::string_view cell, std::span<const std::string_view> names,
           std::span<const std::string_view> words) {
  const std::string name = Lower(Trim(cell));
  if (std::find(names.begin(), names.end(), name) != names.end()) return true;
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view w) { return name.find(w) != std::string::npos; });
}

// The English and the Chinese column that header names stand for, if both are named.
std::optional<std::pair<std::size_t, std::size_t>> NamedColumns(
    const std::vector<std::string>& names) {
  std::optional<std::size_t> english, chinese;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!english && Names(names[i], kEnglishNames, kEnglishWords)) {
      english = i;
    } else if (!chinese && Names(names[i], kChineseNames, kChineseWords)) {
      chinese = i;
    }
  }
  if (english && chinese) return std::pair{*english, *chinese};
  return std::nullopt;
}

// A column asked for on the command line: a number from 1 or one of `names` (any case).
std::optional<std::size_t> ColumnFor(std::string_view wanted, const std::vector<std::string>& names,
                                     std::string& error) {
  if (const std::optional<std::size_t> n = ParseCount(wanted)) {
    if (*n >= 1) return *n - 1;
    error = "columns are numbered from 1";
    return std::nullopt;
  }
  for (std::size_t i = 0; i < names.size(); ++i)
    if (Lower(Trim(names[i])) == Lower(Trim(wanted))) return i;
  error = "no column is named " + Quote(wanted);
  if (!names.empty()) {
    error += " (the names are";
    for (std::size_t i = 0; i < names.size(); ++i) error += (i ? ", " : " ") + Quote(names[i]);
    error += ")";
  } else {
    error += " (the file names no columns)";
  }
  return std::nullopt;
}

struct Columns {
  std::size_t English = 0, Chinese = 1;
};

std::string ColumnText(std::size_t column, const std::vector<std::string>& names) {
  std::string text = "column " + std::to_string(column + 1);
  if (column < names.size() && !Trim(names[column]).empty())
    text += " " + Quote(Trim(names[column]));
  return text;
}

// The columns to take: --columns, else the named ones, else the first two of `usable`.
bool ChooseColumns(const ImportOptions& options, const std::vector<std::string>& names,
                   const std::vector<std::size_t>& usable, Columns& columns, std::string& error) {
  if (options.Columns.size() == 2) {
    auto english = ColumnFor(options.Columns[0], names, error);
    auto chinese = english ? ColumnFor(options.Columns[1], names, error) : std::nullopt;
    if (!english || !chinese) return false;
    columns = {*english, *chinese};
    return true;
  }
  if (auto named = NamedColumns(names)) {
    columns = {named->first, named->second};
    return true;
  }
  if (usable.size() < 2) {
    error = "fewer than two columns to take the English entry and the meaning from";
    return false;
  }
  columns = {usable[0], usable[1]};
  return true;
}

std::string Field(const Row& row, std::size_t column) {
  return column < row.Fields.size() ? row.Fields[column] : std::string();
}

// The records of `rows` from the chosen columns, each field cleaned by `clean`.
template <typename Clean>
void TakeRecords(const std::vector<Row>& rows, const Columns& columns, Clean clean,
                 ImportedList& list) {
  for (const Row& row : rows) {
    ListRecord record{row.Line, clean(Field(row, columns.English)),
                      clean(Field(row, columns.Chinese))};
    if (record.English.empty() && record.Chinese.empty()) continue;
    list.Records.push_back(std::move(record));
  }
}

std::size_t WidestRow(const std::vector<Row>& rows) {
  std::size_t widest = 0;
  for (const Row& row : rows) widest = std::max(widest, row.Fields.size());
  return widest;
}

bool CheckWidth(const Columns& columns, const std::vector<Row>& rows, ImportedList& list) {
  const std::size_t widest = WidestRow(rows);
  const std::size_t need = std::max(columns.English, columns.Chinese) + 1;
  if (rows.empty() || need <= widest) return true;
  list.Failure = {0, "no row has " + std::to_string(need) + " columns (the widest has " +
                         std::to_string(widest) + ")"};
  return false;
}

std::string ColumnsDescription(const Columns& columns, const std::vector<std::string>& names) {
  return "English from " + ColumnText(columns.English, names) + ", meanings from " +
         ColumnText(columns.Chinese, names);
}

// ---------------------------------------------------------------------------------------
// CSV

void ReadCsv(std::string_view bytes, const ImportOptions& options, ImportedList& list) {
  std::string encoding;
  const std::string decoded = DecodeText(bytes, encoding);
  std::string_view text = decoded;
  // A spreadsheet may name its separator on a first line of its own, "sep=;".
  int first_line = 1;
  std::optional<char> separator;
  if (const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
      line.size() == 5 && line.starts_with("sep=")) {
    separator = line[4];
    text.remove_prefix(std::min(text.size(), line.size() + (text.substr(5, 2) == "\r\n" ? 2 : 1)));
    first_line = 2;
  } else {
    separator = DetectSeparator(text);
  }
  if (!separator) {
    list.Failure = {0,
                    "no separator found: the rows need two columns with a comma, a "
                    "semicolon or a tab between them"};
    return;
  }
  std::vector<Row> rows;
  if (!SplitAll(text, *separator, first_line, rows, list)) return;
  // The first row names the columns when it names both sides, or when --columns names one.
  std::vector<std::string> names;
  const bool by_name =
      std::any_of(options.Columns.begin(), options.Columns.end(), [](const std::string& c) {
        return c.empty() || c.find_first_not_of("0123456789") != std::string::npos;
      });
  if (!rows.empty() && (by_name || NamedColumns(rows.front().Fields))) {
    names = rows.front().Fields;
    rows.erase(rows.begin());
  }
  std::vector<std::size_t> usable;
  for (std::size_t i = 0; i < std::max<std::size_t>(WidestRow(rows), 2); ++i) usable.push_back(i);
  Columns columns;
  std::string error;
  if (!ChooseColumns(options, names, usable, columns, error)) {
    list.Failure = {0, error};
    return;
  }
  if (!CheckWidth(columns, rows, list)) return;
  list.Description = "CSV in " + encoding + ", separated by " + SeparatorName(*separator) +
                     (names.empty() ? "" : ", header row skipped") + "; " +
                     ColumnsDescription(columns, names);
  TakeRecords(rows, columns, JoinLines, list);
}

// ---------------------------------------------------------------------------------------
// Flash-card plain-text exports

struct CardHeader {
  char Separator = '\t';
  bool Html = true;
  std::vector<std::string> Names;     // from #columns:
  std::set<std::size_t> MetaColumns;  // note type, deck, tags, guid: never a side
  int Lines = 0;                      // header lines before the first note
};

std::optional<char> SeparatorFromName(std::string_view value) {
  const std::string name = Lower(Trim(value));
  static const std::map<std::string, char, std::less<>> kNames = {
      {"tab", '\t'},  {"comma", ','}, {"semicolon", ';'},
      {"space", ' '}, {"pipe", '|'},  {"colon", ':'}};
  if (auto it = kNames.find(name); it != kNames.end()) return it->second;
  if (value.size() == 1) return value[0];
  return std::nullopt;
}

bool IsHeaderLine(std::string_view line) {
  return line.starts_with('#') && line.find(':') != std::string_view::npos;
}

// Reads the "#key:value" lines at the top of an export; false with `error` on a bad one.
bool ReadCardHeader(std::string_view text, CardHeader& header, std::size_t& body,
                    std::string& error) {
  body = 0;
  std::vector<std::string_view> columns_lines;
  while (body < text.size()) {
    std::size_t end = text.find_first_of("\r\n", body);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(body, end - body);
    if (!IsHeaderLine(line)) break;
    ++header.Lines;
    const std::size_t colon = line.find(':');
    const std::string key = Lower(Trim(line.substr(1, colon - 1)));
    std::string_view value = line.substr(colon + 1);
    if (key == "separator") {
      auto sep = SeparatorFromName(value);
      if (!sep) {
        error = "line " + std::to_string(header.Lines) + ": unknown separator " + Quote(value);
        return false;
      }
      header.Separator = *sep;
    } else if (key == "html") {
      header.Html = Lower(Trim(value)) == "true";
    } else if (key == "columns") {
      columns_lines.push_back(value);
    } else if (key.ends_with(" column")) {  // notetype, deck, tags, guid column: 1-based
      if (const std::optional<std::size_t> n = ParseCount(Trim(value)); n && *n > 0)
        header.MetaColumns.insert(*n - 1);
    }
    // Other lines (#tags:, #deck:, #notetype:, #if matches: ...) say nothing about the words.
    body = end;
    if (body < text.size() && text[body] == '\r') ++body;
    if (body < text.size() && text[body] == '\n') ++body;
  }
  // The names are split only now: #separator: may come after #columns:.
  for (std::string_view line : columns_lines)
    for (Row& row : SplitRows(line, header.Separator, 1, 1)) header.Names = std::move(row.Fields);
  return true;
}

// The text of one field of a card: HTML made text, sound references dropped.
std::string CardText(std::string_view field, bool html) {
  if (html) return HtmlToText(field);
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (const std::size_t sound = SoundReference(field.substr(i))) {
      i += sound - 1;
      continue;
    }
    text += field[i];
  }
  return CollapseSpace(text);
}

void ReadFlashcards(std::string_view bytes, const ImportOptions& options, ImportedList& list) {
  std::string encoding;
  const std::string text = DecodeText(bytes, encoding);
  CardHeader header;
  std::size_t body = 0;
  std::string error;
  if (!ReadCardHeader(text, header, body, error)) {
    list.Failure = {0, error};
    return;
  }
  std::vector<Row> rows;
  if (!SplitAll(std::string_view(text).substr(body), header.Separator, header.Lines + 1, rows,
                list))
    return;
  std::vector<std::size_t> usable;
  for (std::size_t i = 0; i < std::max({WidestRow(rows), header.Names.size(), std::size_t{2}}); ++i)
    if (!header.MetaColumns.contains(i)) usable.push_back(i);
  Columns columns;
  if (!ChooseColumns(options, header.Names, usable, columns, error)) {
    list.Failure = {0, error};
    return;
  }
  if (!CheckWidth(columns, rows, list)) return;
  list.Description = "flash-card export in " + encoding + ", separated by " +
                     SeparatorName(header.Separator) + (header.Html ? ", HTML" : ", plain text") +
                     "; " + ColumnsDescription(columns, header.Names);
  const bool html = header.Html;
  TakeRecords(
      rows, columns, [html](const std::string& f) { return CardText(f, html); }, list);
}

// ---------------------------------------------------------------------------------------
// KVTML 2

struct Language {
  std::string Id, Name, Locale;
};

struct KvtmlEntry {
  int Line = 0;
  std::map<std::string, std::string> Texts;  // translation id -> text
};

class KvtmlReader {
 public:
  explicit KvtmlReader(std::string_view bytes) {
    parser_ = XML_ParserCreate(nullptr);
    if (!parser_) {
      failure_ = {0, "out of memory"};
      return;
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &KvtmlReader::Start, &KvtmlReader::End);
    XML_SetCharacterDataHandler(parser_, &KvtmlReader::Characters);
    // Parsed in pieces so that no length exceeds what expat's int takes.
    constexpr std::size_t kPiece = 1 << 20;
    std::size_t at = 0;
    do {
      const std::size_t n = std::min(kPiece, bytes.size() - at);
      const bool last = at + n == bytes.size();
      if (XML_Parse(parser_, bytes.data() + at, static_cast<int>(n), last) != XML_STATUS_OK) {
        failure_ = {
            static_cast<int>(XML_GetCurrentLineNumber(parser_)),
            std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(parser_))};
        break;
      }
      at += n;
    } while (at < bytes.size());
    XML_ParserFree(parser_);
    if (failure_.Reason.empty() && root_ != "kvtml")
      failure_ = {0, "the XML file is no KVTML file (its root element is <" + root_ + ">)"};
    else if (failure_.Reason.empty() && version_.starts_with("1"))
      failure_ = {0, "a KVTML 1 file: save it in KVTML 2 first"};
  }

  const Refusal& Failure() const { return failure_; }
  const std::vector<Language>& Languages() const { return languages_; }
  const std::vector<KvtmlEntry>& Entries() const { return entries_; }

 private:
  static void Start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* self = static_cast<KvtmlReader*>(data);
    std::string id;
    for (const XML_Char** a = attributes; a[0]; a += 2) {
      if (std::string_view(a[0]) == "id") id = a[1];
      if (self->path_.empty() && std::string_view(a[0]) == "version") self->version_ = a[1];
    }
    self->Open(name, std::move(id));
  }
  static void End(void* data, const XML_Char*) { static_cast<KvtmlReader*>(data)->Close(); }
  static void Characters(void* data, const XML_Char* s, int len) {
    auto* self = static_cast<KvtmlReader*>(data);
    if (self->collect_) self->text_.append(s, static_cast<std::size_t>(len));
  }

  // The path of the element being read, e.g. kvtml/entries/entry/translation/text.
  bool At(std::initializer_list<std::string_view> tail) const {
    if (path_.size() != tail.size() + 1 || path_[0] != "kvtml") return false;
    return std::equal(tail.begin(), tail.end(), path_.begin() + 1);
  }

  void Open(std::string_view name, std::string id) {
    if (path_.empty()) root_ = name;
    path_.emplace_back(name);
    if (At({"identifiers", "identifier"})) {
      languages_.push_back({std::move(id), {}, {}});
    } else if (At({"entries", "entry"})) {
      entries_.push_back({static_cast<int>(XML_GetCurrentLineNumber(parser_)), {}});
    } else if (At({"entries", "entry", "translation"})) {
      translation_ = std::move(id);
    }
    collect_ = At({"identifiers", "identifier", "name"}) ||
               At({"identifiers", "identifier", "locale"}) ||
               At({"entries", "entry", "translation", "text"});
    text_.clear();
  }

  void Close() {
    if (collect_) {
      if (At({"entries", "entry", "translation", "text"}))
        entries_.back().Texts[translation_] = text_;
      else if (At({"identifiers", "identifier", "name"}))
        languages_.back().Name = text_;
      else
        languages_.back().Locale = text_;
    }
    collect_ = false;
    path_.pop_back();
  }

  XML_Parser parser_ = nullptr;
  std::vector<std::string> path_;
  std::string root_, version_, translation_, text_;
  bool collect_ = false;
  std::vector<Language> languages_;
  std::vector<KvtmlEntry> entries_;
  Refusal failure_;
};

std::string LanguageText(const Language& language) {
  std::string text = Quote(Trim(language.Name).empty() ? language.Id : Trim(language.Name));
  if (!Trim(language.Locale).empty()) text += " (" + std::string(Trim(language.Locale)) + ")";
  return text;
}

void ReadKvtml(std::string_view bytes, const ImportOptions& options, ImportedList& list) {
  KvtmlReader reader(bytes);
  if (!reader.Failure().Reason.empty()) {
    list.Failure = reader.Failure();
    return;
  }
  const std::vector<Language>& languages = reader.Languages();
  // A language is chosen by its number in the file's order, its locale ("zh" also stands for
  // "zh_CN") or its name.
  std::vector<std::string> locales, languages_of_locales, names;
  for (const Language& l : languages) {
    locales.push_back(l.Locale);
    const std::string locale = Lower(Trim(l.Locale));
    languages_of_locales.push_back(locale.substr(0, locale.find_first_of("_-")));
    names.push_back(l.Name);
  }
  std::vector<std::size_t> chosen;
  for (const std::string& wanted : options.Columns) {
    std::string error;
    std::optional<std::size_t> i = ColumnFor(wanted, locales, error);
    if (!i) i = ColumnFor(wanted, languages_of_locales, error);
    if (!i) i = ColumnFor(wanted, names, error);
    if (!i || *i >= languages.size()) {
      std::string known;
      for (std::size_t k = 0; k < languages.size(); ++k)
        known += (k ? ", " : "") + std::to_string(k + 1) + " " + LanguageText(languages[k]);
      list.Failure = {0, "no language " + Quote(wanted) + " in the file (it has " +
                             (known.empty() ? std::string("none") : known) + ")"};
      return;
    }
    chosen.push_back(*i);
  }
  if (chosen.empty()) {
    if (languages.size() < 2) {
      list.Failure = {
          0, "the file has " + std::to_string(languages.size()) + " languages; two are needed"};
      return;
    }
    chosen = {0, 1};
  }
  const Language& english = languages[chosen[0]];
  const Language& chinese = languages[chosen[1]];
  list.Description =
      "KVTML; English from " + LanguageText(english) + ", meanings from " + LanguageText(chinese);
  for (const KvtmlEntry& entry : reader.Entries()) {
    auto text = [&](const Language& language) {
      auto it = entry.Texts.find(language.Id);
      return it == entry.Texts.end() ? std::string() : CollapseSpace(it->second);
    };
    ListRecord record{entry.Line, text(english), text(chinese)};
    if (record.English.empty() && record.Chinese.empty()) continue;
    list.Records.push_back(std::move(record));
  }
}

// The names --format takes; the first of a format is the one shown.
constexpr std::array<std::pair<std::string_view, ImportFormat>, 4> kFormatNames = {{
    {"csv", ImportFormat::Csv},
    {"flashcards", ImportFormat::Flashcards},
    {"anki", ImportFormat::Flashcards},
    {"kvtml", ImportFormat::Kvtml},
}};

ImportFormat Detect(std::string_view bytes) {
  std::string_view head = bytes.substr(0, 4096);
  if (head.starts_with(kUtf8Bom)) head.remove_prefix(kUtf8Bom.size());
  head = Trim(head);
  if (head.starts_with("<?xml") || head.starts_with("<kvtml") || head.starts_with("<!DOCTYPE"))
    return ImportFormat::Kvtml;
  if (IsHeaderLine(head.substr(0, head.find_first_of("\r\n")))) {
    const std::string key = Lower(head.substr(1, head.find(':') - 1));
    if (key == "separator" || key == "html" || key == "columns" || key.ends_with(" column") ||
        key == "tags" || key == "deck" || key == "notetype")
      return ImportFormat::Flashcards;
  }
  return ImportFormat::Csv;
}

}  // namespace

std::string HtmlToText(std::string_view html) {
  std::string out;
  for (std::size_t i = 0; i < html.size(); ++i) {
    const std::string_view rest = html.substr(i);
    if (const std::size_t sound = SoundReference(rest)) {
      i += sound - 1;
      continue;
    }
    if (rest.starts_with("<!--")) {
      const std::size_t close = rest.find("-->");
      i += close == std::string_view::npos ? rest.size() : close + 2;
      continue;
    } else if (rest.size() > 1 && rest[0] == '<' &&
               (std::isalpha(static_cast<unsigned char>(rest[1])) || rest[1] == '/' ||
                rest[1] == '!')) {
      const std::size_t close = rest.find('>');
      if (close != std::string_view::npos) {
        const std::string_view tag = rest.substr(rest[1] == '/' ? 2 : 1);
        std::size_t name_end = 0;
        while (name_end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[name_end])))
          ++name_end;
        const std::string name = Lower(tag.substr(0, name_end));
        if (name == "br" || name == "div" || name == "p" || name == "li" || name == "tr" ||
            name == "td")
          out += ' ';
        i += close;
        // Style sheets and scripts are no text.
        if ((name == "style" || name == "script") && rest[1] != '/') {
          const std::string end = "</" + name;
          std::size_t stop = Lower(rest).find(end, close);
          if (stop != std::string::npos) i = i - close + stop - 1;
        }
        continue;
      }
    } else if (rest[0] == '&') {
      if (std::size_t n = DecodeEntity(rest, out)) {
        i += n - 1;
        continue;
      }
    }
    out += html[i];
  }
  return CollapseSpace(out);
}

ImportedList ParseImport(std::string_view bytes, const ImportOptions& options) {
  ImportedList list;
  list.Format = options.Format == ImportFormat::Detect ? Detect(bytes) : options.Format;
  if (bytes.starts_with("PK\x03\x04")) {
    list.Failure = {0, "a zipped file, such as a spreadsheet workbook: save it as CSV first"};
  } else if (list.Format != ImportFormat::Kvtml && IsUtf16(bytes)) {
    list.Failure = {0, "the file is UTF-16; save it as UTF-8 (or GBK) text first"};
  } else if (list.Format != ImportFormat::Kvtml &&
             bytes.substr(0, 4096).find('\0') != std::string_view::npos) {
    list.Failure = {0, "a NUL byte: this is no text file"};
  } else if (list.Format == ImportFormat::Kvtml) {
    ReadKvtml(bytes, options, list);
  } else if (list.Format == ImportFormat::Flashcards) {
    ReadFlashcards(bytes, options, list);
  } else {
    ReadCsv(bytes, options, list);
  }
  return list;
}

std::string_view FormatName(ImportFormat format) {
  for (const auto& [name, f] : kFormatNames)
    if (f == format) return name;
  return "detect";
}

ImportFormat FormatForName(std::string_view name) {
  for (const auto& [known, format] : kFormatNames)
    if (known == Lower(name)) return format;
  return ImportFormat::Detect;
}

SiftedList SiftRecords(std::vector<ListRecord> records, const books::CatalogueEntry& entry,
                       bool dedupe) {
  SiftedList sifted;
  books::GbkEncoder encoder;
  std::map<std::pair<std::string, std::string>, int> seen;
  for (ListRecord& r : records) {
    auto bad = [&](BadKind kind, std::string reason) {
      sifted.Bad.push_back({kind, r.Line, std::move(reason)});
    };
    const std::string english = Quoted(r.English), meaning = Quoted(r.Chinese);
    if (r.English.empty() || r.Chinese.empty()) {
      bad(BadKind::EmptySide, r.English.empty() ? "empty English entry (meaning " + meaning + ")"
                                                : "empty meaning (English entry " + english + ")");
      continue;
    }
    std::string what = "English entry " + english;
    std::string odd = FirstNonGbk(encoder, r.English);
    if (odd.empty()) {
      what = "meaning " + meaning;
      odd = FirstNonGbk(encoder, r.Chinese);
    }
    if (!odd.empty()) {
      bad(BadKind::NotGbk,
          what + (odd == kReplacement ? " holds bytes that are neither UTF-8 nor GBK"
                                      : " holds \"" + odd + "\", which GBK cannot hold"));
      continue;
    }
    if (EndsInMarker(r.Chinese)) {
      bad(BadKind::Marker,
          "meaning " + meaning + " ends in 0, 1 or a space, which the program removes");
      continue;
    }
    auto [it, fresh] = seen.emplace(std::pair{r.English, r.Chinese}, r.Line);
    if (!fresh) {
      if (dedupe) {
        ++sifted.Dropped;
      } else {
        bad(BadKind::Repeat, "the pair " + english + " / " + meaning + " again (first on line " +
                                 std::to_string(it->second) + ")");
      }
      continue;
    }
    sifted.Kept.push_back(std::move(r));
  }
  const bool own = entry.Kind == books::BookKind::OwnBook;
  // The own book's count is its capacity.
  const std::size_t room = static_cast<std::size_t>(entry.WordCount);
  for (std::size_t i = room; i < sifted.Kept.size(); ++i)
    sifted.Bad.push_back(
        {BadKind::TooMany, sifted.Kept[i].Line,
         "record " + std::to_string(i + 1) + " is beyond the " + std::to_string(room) +
             " records " +
             (own ? std::string("the own book holds") : std::string(entry.Label) + " holds")});
  if (sifted.Kept.size() > room) sifted.Kept.resize(room);
  return sifted;
}

std::string_view BadKindText(BadKind kind) {
  switch (kind) {
    case BadKind::EmptySide:
      return "with an empty side";
    case BadKind::Marker:
      return "with a meaning ending in 0, 1 or a space";
    case BadKind::NotGbk:
      return "with text GBK cannot hold";
    case BadKind::Repeat:
      return "repeating a pair";
    case BadKind::TooMany:
      return "beyond what the book holds";
  }
  return "bad";
}

}  // namespace booktool
