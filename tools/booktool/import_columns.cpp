#include <algorithm>
#include <array>
#include <span>

#include "booktool/import_parts.h"
#include "text/text.h"

namespace booktool::import {
namespace {

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

// Names that say the language itself, not a card's side or a role: a column so named is
// taken at its word whatever it holds (what export writes comes back as it was).
constexpr std::array<std::string_view, 2> kEnglishLanguage = {"english", "en"};
constexpr std::array<std::string_view, 2> kEnglishLanguageWords = {"英文", "英语"};

bool Names(std::string_view cell, std::span<const std::string_view> names,
           std::span<const std::string_view> words) {
  const std::string name = Lower(Trim(cell));
  if (std::find(names.begin(), names.end(), name) != names.end()) return true;
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view w) { return name.find(w) != std::string::npos; });
}

std::string ColumnText(std::size_t column, const std::vector<std::string>& names) {
  std::string text = "column ";
  text.append(std::to_string(column + 1));
  if (column < names.size() && !Trim(names[column]).empty())
    text.append(" ").append(Quote(Trim(names[column])));
  return text;
}

// Tone marks that English words do not carry (é, è, à, ü do, in loanwords).
bool IsPinyinMark(char32_t cp) {
  static constexpr std::u32string_view kMarks = U"āáǎēěīíǐìōóǒòūúǔùǖǘǚǜĀÁǍĒĚĪÍǏÌŌÓǑÒŪÚǓÙ";
  return kMarks.find(cp) != std::u32string_view::npos;
}

// What most of the non-empty cells of `column` are written in.
Script ColumnScript(const Cells& cells, std::size_t column) {
  int filled = 0, latin = 0, chinese = 0, pinyin = 0;
  for (const std::vector<std::string>& row : cells) {
    if (column >= row.size() || row[column].empty()) continue;
    ++filled;
    const Script script = ScriptOf(row[column]);
    latin += script == Script::Latin;
    chinese += script == Script::Chinese;
    pinyin += script == Script::Pinyin;
  }
  if (2 * latin > filled) return Script::Latin;
  if (2 * chinese > filled) return Script::Chinese;
  if (2 * pinyin > filled) return Script::Pinyin;
  return Script::None;
}

std::string_view ScriptText(Script script) {
  switch (script) {
    case Script::Latin:
      return "mostly Latin letters";
    case Script::Chinese:
      return "mostly Chinese characters";
    case Script::Pinyin:
      return "mostly pinyin";
    case Script::None:
      break;
  }
  return "neither mostly Latin letters nor mostly Chinese characters nor pinyin";
}

// How many columns a refusal describes: a few say enough, and a file of thousands of columns
// must not fill the screen.
constexpr int kColumnsNamed = 6;

bool ByContent(const std::vector<std::size_t>& usable, const Cells& cells, Columns& columns,
               std::string& error) {
  std::optional<std::size_t> english, chinese;
  std::string seen;
  int filled_columns = 0;
  for (std::size_t column : usable) {
    const Script script = ColumnScript(cells, column);
    if (!english && script == Script::Latin) english = column;
    if (!chinese && script == Script::Chinese) chinese = column;
    const bool filled =
        std::any_of(cells.begin(), cells.end(), [&](const std::vector<std::string>& row) {
          return column < row.size() && !row[column].empty();
        });
    if (!filled) continue;
    if (++filled_columns > kColumnsNamed) continue;
    if (!seen.empty()) seen.append(", ");
    seen.append("column ").append(std::to_string(column + 1)).append(" ");
    seen.append(ScriptText(script));
  }
  if (english && chinese) {
    columns = {*english, *chinese, true};
    return true;
  }
  if (filled_columns > kColumnsNamed)
    seen.append(", and ")
        .append(std::to_string(filled_columns - kColumnsNamed))
        .append(" more columns");
  error = "cannot tell the English column from the Chinese one by their content (" + seen +
          "); name them with --columns A,B, the English column first";
  return false;
}

}  // namespace

Script ScriptOf(std::string_view text) {
  int latin = 0, chinese = 0;
  bool tones = false;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = text::NextCodePoint(text, i);
    latin += text::IsLatinLetter(cp);
    chinese += text::IsHan(cp);
    tones = tones || IsPinyinMark(cp);
  }
  if (chinese > 0 && 3 * chinese >= latin) return Script::Chinese;
  if (tones) return Script::Pinyin;
  return latin > 0 ? Script::Latin : Script::None;
}

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

bool ChooseColumns(const ImportOptions& options, const std::vector<std::string>& names,
                   const std::vector<std::size_t>& usable, const Cells& cells, Columns& columns,
                   std::string& error) {
  if (options.Columns.size() == 2) {
    auto english = ColumnFor(options.Columns[0], names, error);
    auto chinese = english ? ColumnFor(options.Columns[1], names, error) : std::nullopt;
    if (!english || !chinese) return false;
    columns = {*english, *chinese, false};
    return true;
  }
  if (auto named = NamedColumns(names)) {
    columns = {named->first, named->second, false};
    // "Front" and "Back", or roles put on the wrong columns, do not swap the sides: when the
    // column taken for English is mostly Chinese and its name is no language's, the content
    // decides if it can.
    std::string unused;
    if (!Names(names[named->first], kEnglishLanguage, kEnglishLanguageWords) &&
        ColumnScript(cells, named->first) == Script::Chinese &&
        ByContent(usable, cells, columns, unused))
      columns.AgainstNames = true;
    return true;
  }
  if (usable.size() < 2) {
    error = "fewer than two columns to take the English entry and the meaning from";
    return false;
  }
  // A file without rows has nothing to tell the columns apart by, nor anything to take.
  if (cells.empty()) {
    columns = {usable[0], usable[1], false};
    return true;
  }
  return ByContent(usable, cells, columns, error);
}

std::string ColumnsDescription(const Columns& columns, const std::vector<std::string>& names) {
  return "English from " + ColumnText(columns.English, names) + ", meanings from " +
         ColumnText(columns.Chinese, names) +
         (columns.AgainstNames ? " (told apart by their content, not by the header's names)"
          : columns.ByContent  ? " (told apart by their content)"
                               : "");
}

bool TakeRecords(const std::vector<Row>& rows, const Cells& cells, const Columns& columns,
                 ImportedList& list) {
  const std::size_t need = std::max(columns.English, columns.Chinese) + 1;
  const std::size_t widest = WidestRow(rows);
  if (!rows.empty() && need > widest) {
    list.Failure = {0, "no row has " + std::to_string(need) + " columns (the widest has " +
                           std::to_string(widest) + ")"};
    return false;
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    auto cell = [&](std::size_t column) {
      return column < cells[r].size() ? cells[r][column] : std::string();
    };
    ListRecord record{rows[r].Line, cell(columns.English), cell(columns.Chinese)};
    if (record.English.empty() && record.Chinese.empty()) continue;
    list.Records.push_back(std::move(record));
  }
  return true;
}

}  // namespace booktool::import
