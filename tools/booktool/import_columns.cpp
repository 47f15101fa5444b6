#include <algorithm>
#include <array>
#include <cctype>
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
    text.append(" ").append(Quoted(Trim(names[column])));
  return text;
}

// Tone marks that English words do not carry (é, è, à, ü do, in loanwords).
bool IsPinyinMark(char32_t cp) {
  static constexpr std::u32string_view kMarks = U"āáǎēěīíǐìōóǒòūúǔùǖǘǚǜĀÁǍĒĚĪÍǏÌŌÓǑÒŪÚǓÙ";
  return kMarks.find(cp) != std::u32string_view::npos;
}

// How many non-empty cells of a column are written in each script.
struct ScriptCounts {
  int filled = 0, latin = 0, chinese = 0, pinyin = 0;

  // What most of them are written in.
  Script Most() const {
    if (2 * latin > filled) return Script::Latin;
    if (2 * chinese > filled) return Script::Chinese;
    if (2 * pinyin > filled) return Script::Pinyin;
    return Script::None;
  }
  // Whether most hold one side or the other, as a column of notes of several types does.
  bool MostlySides() const { return 2 * (latin + chinese) > filled; }
};

ScriptCounts CountScripts(const Cells& cells, std::size_t column) {
  ScriptCounts counts;
  for (const std::vector<std::string>& row : cells) {
    if (column >= row.size() || row[column].empty()) continue;
    ++counts.filled;
    const Script script = ScriptOf(row[column]);
    counts.latin += script == Script::Latin;
    counts.chinese += script == Script::Chinese;
    counts.pinyin += script == Script::Pinyin;
  }
  return counts;
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

Result<Columns> ByContent(const std::vector<std::size_t>& usable, const Cells& cells) {
  std::optional<std::size_t> english, chinese;
  std::vector<std::pair<std::size_t, ScriptCounts>> either;  // columns holding either side
  std::string seen;
  int filled_columns = 0;
  for (std::size_t column : usable) {
    const ScriptCounts counts = CountScripts(cells, column);
    const Script script = counts.Most();
    if (!english && script == Script::Latin) english = column;
    if (!chinese && script == Script::Chinese) chinese = column;
    if (counts.MostlySides()) either.emplace_back(column, counts);
    if (counts.filled == 0) continue;
    if (++filled_columns > kColumnsNamed) continue;
    if (!seen.empty()) seen.append(", ");
    seen.append("column ").append(std::to_string(column + 1)).append(" ");
    seen.append(ScriptText(script));
  }
  if (english && chinese) return Columns{*english, *chinese, Choice::ByContent, {}};
  // Notes of several types, some with English first and some with Chinese: the first two
  // columns that hold the sides, English the one with more Latin letters.
  if (either.size() >= 2 && either[0].second.latin + either[1].second.latin > 0 &&
      either[0].second.chinese + either[1].second.chinese > 0) {
    const bool second = either[1].second.latin > either[0].second.latin;
    return Columns{either[second].first, either[!second].first, Choice::ByContent, {}};
  }
  if (filled_columns > kColumnsNamed)
    seen.append(", and ")
        .append(std::to_string(filled_columns - kColumnsNamed))
        .append(" more columns");
  return Failure{"cannot tell the English column from the Chinese one by their content (" + seen +
                 "); name them with --columns A,B, the English column first"};
}

bool PlainlyChinese(std::string_view text) {
  return ScriptOf(text) == Script::Chinese;
}

bool PlainlyLatin(std::string_view text) {
  if (ScriptOf(text) != Script::Latin) return false;
  for (std::size_t i = 0; i < text.size();)
    if (text::IsHan(text::NextCodePoint(text, i))) return false;
  return true;
}

// Whether a field, as written, may be a note identifier: eight to eleven of the 91 characters
// a flash-card program writes identifiers in (letters, digits and punctuation marks, no
// space, quote or backslash).
bool IdentifierShaped(std::string_view field) {
  if (field.size() < 8 || field.size() > 11) return false;
  return std::all_of(field.begin(), field.end(), [](char c) {
    return c > ' ' && c < 0x7F && c != '"' && c != '\'' && c != '\\';
  });
}

// How many of lower case, upper case, digits and other marks a field mixes.
int KindsMixed(std::string_view field) {
  bool lower = false, upper = false, digit = false, mark = false;
  for (char c : field) {
    lower = lower || (c >= 'a' && c <= 'z');
    upper = upper || (c >= 'A' && c <= 'Z');
    digit = digit || (c >= '0' && c <= '9');
    mark = mark || !std::isalnum(static_cast<unsigned char>(c));
  }
  return lower + upper + digit + mark;
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

Result<std::size_t> ColumnFor(std::string_view wanted, const std::vector<std::string>& names) {
  if (const std::optional<std::size_t> n = ParseCount(wanted)) {
    if (*n >= 1) return *n - 1;
    return Failure{"columns are numbered from 1"};
  }
  for (std::size_t i = 0; i < names.size(); ++i)
    if (Lower(Trim(names[i])) == Lower(Trim(wanted))) return i;
  std::string reason = "no column is named " + Quoted(wanted);
  if (names.empty()) return Failure{reason + " (the file names no columns)"};
  reason += " (the names are";
  for (std::size_t i = 0; i < names.size(); ++i) reason += (i ? ", " : " ") + Quoted(names[i]);
  return Failure{reason + ")"};
}

std::vector<std::size_t> IdentifierColumns(const std::vector<Row>& rows, std::size_t width) {
  std::vector<std::size_t> columns;
  for (std::size_t column = 0; column < width; ++column) {
    int filled = 0, mixed = 0;
    bool shaped = true;
    for (const Row& row : rows) {
      if (column >= row.fields.size() || row.fields[column].empty()) continue;
      ++filled;
      shaped = shaped && IdentifierShaped(row.fields[column]);
      mixed += KindsMixed(row.fields[column]) >= 3;
    }
    if (shaped && 2 * mixed > filled) columns.push_back(column);
  }
  return columns;
}

Result<Columns> ChooseColumns(const ImportOptions& options, const std::vector<std::string>& names,
                              const std::vector<std::size_t>& usable,
                              const std::vector<std::size_t>& identifiers, const Cells& cells) {
  if (options.columns.size() == 2) {
    const Result<std::size_t> english = ColumnFor(options.columns[0], names);
    if (!english.Ok()) return english.Failed();
    const Result<std::size_t> chinese = ColumnFor(options.columns[1], names);
    if (!chinese.Ok()) return chinese.Failed();
    if (*english == *chinese)
      return Failure{"--columns gives column " + std::to_string(*english + 1) +
                     " for both sides; give the English column, then the meaning's"};
    return Columns{*english, *chinese, Choice::Given, {}};
  }
  std::vector<std::size_t> sides_usable;
  for (std::size_t column : usable)
    if (std::find(identifiers.begin(), identifiers.end(), column) == identifiers.end())
      sides_usable.push_back(column);
  const auto by_content = [&]() -> Result<Columns> {
    Result<Columns> columns = ByContent(sides_usable, cells);
    if (columns.Ok())
      for (std::size_t column : identifiers)
        if (std::find(usable.begin(), usable.end(), column) != usable.end())
          columns->identifiers.push_back(column);
    return columns;
  };
  if (const auto named = NamedColumns(names)) {
    const auto [english, chinese] = *named;
    if (Names(names[english], kEnglishLanguage, kEnglishLanguageWords))
      return Columns{english, chinese, Choice::NamedLanguage, {}};
    // "Front" and "Back", or roles put on the wrong columns, do not swap the sides: when the
    // column taken for English is mostly Chinese, the content decides if it can.
    if (CountScripts(cells, english).Most() == Script::Chinese) {
      Result<Columns> content = by_content();
      if (content.Ok()) {
        content->choice = Choice::AgainstNames;
        return content;
      }
    }
    return Columns{english, chinese, Choice::Named, {}};
  }
  if (usable.size() < 2)
    return Failure{"fewer than two columns to take the English entry and the meaning from"};
  // A file without rows has nothing to tell the columns apart by, nor anything to take.
  if (cells.empty()) return Columns{usable[0], usable[1], Choice::Named, {}};
  return by_content();
}

std::string ColumnsDescription(const Columns& columns, const std::vector<std::string>& names) {
  std::string text = "English from " + ColumnText(columns.english, names) + ", meanings from " +
                     ColumnText(columns.chinese, names);
  if (columns.choice == Choice::AgainstNames)
    text += " (told apart by their content, not by the header's names)";
  else if (columns.choice == Choice::ByContent)
    text += " (told apart by their content)";
  if (columns.identifiers.empty()) return text;
  text += columns.identifiers.size() == 1 ? ", column " : ", columns ";
  for (std::size_t i = 0; i < columns.identifiers.size(); ++i)
    text.append(i ? ", " : "").append(std::to_string(columns.identifiers[i] + 1));
  return text + (columns.identifiers.size() == 1 ? " left out: it holds note identifiers"
                                                 : " left out: they hold note identifiers");
}

bool TakenAtTheirWord(Choice choice) {
  return choice == Choice::Given || choice == Choice::NamedLanguage;
}

bool TurnByContent(ListRecord& record) {
  if (!PlainlyChinese(record.english) || !PlainlyLatin(record.chinese)) return false;
  std::swap(record.english, record.chinese);
  return true;
}

Result<TakenRecords> TakeRecords(const std::vector<Row>& rows, const Cells& cells,
                                 const Columns& columns) {
  const std::size_t need = std::max(columns.english, columns.chinese) + 1;
  const std::size_t widest = WidestRow(rows);
  if (!rows.empty() && need > widest)
    return Failure{"no row has " + std::to_string(need) + " columns (the widest has " +
                   std::to_string(widest) + ")"};
  const bool turn = !TakenAtTheirWord(columns.choice);
  TakenRecords taken;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const auto cell = [&](std::size_t column) {
      return column < cells[r].size() ? cells[r][column] : std::string();
    };
    const auto quoted = [&](std::size_t column) {
      return column < rows[r].quoted.size() && rows[r].quoted[column];
    };
    ListRecord record{rows[r].line, cell(columns.english), cell(columns.chinese)};
    if (record.english.empty() && record.chinese.empty() && !quoted(columns.english) &&
        !quoted(columns.chinese))
      continue;
    if (turn && TurnByContent(record)) ++taken.turned;
    taken.records.push_back(std::move(record));
  }
  return taken;
}

std::string TurnedDescription(int turned) {
  if (turned == 0) return {};
  return ", " + std::to_string(turned) + (turned == 1 ? " record" : " records") +
         " turned round by their own content (Chinese in the English column)";
}

}  // namespace booktool::import
