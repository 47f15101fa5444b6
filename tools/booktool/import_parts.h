// The parts of `vantle-book import`, one file each: text helpers and decoding (import_text),
// rows of separated values (import_rows), the choice of columns (import_columns), the readers
// of CSV (import_csv), flash-card exports (import_flashcards) and KVTML (import_kvtml), HTML
// fields as text (import_html) and the sifting of records (import_sift). Pure functions over
// bytes, each tested on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "booktool/import.h"

namespace booktool::import {

// ---- Text (import_text.cpp)

bool IsSpace(char c);
std::string Lower(std::string_view s);
std::string_view Trim(std::string_view s);
// White space runs (no-break spaces among them) as one space, none at either end.
std::string CollapseSpace(std::string_view s);
// A field's lines joined by one space (a book line cannot hold a line break); NUL bytes go.
std::string JoinLines(std::string_view field);
std::string Quote(std::string_view s);
// A decimal number of at most six digits, or nothing.
std::optional<std::size_t> ParseCount(std::string_view s);
// The length of a "[sound:...]" reference at the start of `s`, or 0.
std::size_t SoundReference(std::string_view s);

struct DecodedText {
  std::string Text;      // UTF-8, without a byte-order mark
  std::string Encoding;  // what was found, for the user: "UTF-16 LE", "UTF-8 with BOM", "GBK" ...
};
// The bytes as UTF-8: UTF-16 with its byte-order mark (little or big endian); UTF-8 when a
// byte-order mark says so or most of the text is UTF-8 (a few stray bytes then become U+FFFD
// and their records are reported, rather than the whole file read garbled as GBK); else GBK.
DecodedText DecodeText(std::string_view bytes);

// ---- Rows of separated values (import_rows.cpp): RFC 4180 quoting, line breaks in quotes

struct Row {
  int Line = 0;  // where the row starts
  std::vector<std::string> Fields;
};

// Splits `text` into rows at line ends outside quotes; `first_line` numbers the text's first
// line; at most `limit` rows that are not blank (blank rows are left out). When the text ends
// inside a quoted field, `unclosed` (if given) is set to the line where that field opened.
std::vector<Row> SplitRows(std::string_view text, char separator, int first_line,
                           std::size_t limit = SIZE_MAX, int* unclosed = nullptr);
// All rows; false with the failure in `list` when a quoted field is never closed.
bool SplitAll(std::string_view text, char separator, int first_line, std::vector<Row>& rows,
              ImportedList& list);
// The separator of a CSV text (tab, semicolon or comma), or nothing.
std::optional<char> DetectSeparator(std::string_view text);
std::string SeparatorName(char separator);
std::size_t WidestRow(const std::vector<Row>& rows);

// ---- Columns (import_columns.cpp)

enum class Script { None, Latin, Chinese, Pinyin };
// What a text is mostly written in: Chinese when it holds Chinese characters and not three
// times as many Latin letters, else Pinyin when its Latin letters carry the tone marks only
// pinyin uses (ā, ǎ, í ...), else Latin when it holds Latin letters.
Script ScriptOf(std::string_view text);

// The cleaned texts of a file's rows, cells[row][column]; shorter rows have fewer cells.
using Cells = std::vector<std::vector<std::string>>;

struct Columns {
  std::size_t English = 0, Chinese = 1;
  bool ByContent = false;     // told apart by what they hold
  bool AgainstNames = false;  // ... although the header names them the other way
};

// The columns to take: --columns, else the ones header `names` name (unless the one named
// English is mostly Chinese and the content tells), else by content among `usable`: the first
// mostly in Latin letters is English, the first mostly in Chinese characters the meaning.
// False with `error` when none of these tells.
bool ChooseColumns(const ImportOptions& options, const std::vector<std::string>& names,
                   const std::vector<std::size_t>& usable, const Cells& cells, Columns& columns,
                   std::string& error);
// The English and the Chinese column that header names stand for, if both are named.
std::optional<std::pair<std::size_t, std::size_t>> NamedColumns(
    const std::vector<std::string>& names);
// A column asked for on the command line: a number from 1 or one of `names` (any case).
std::optional<std::size_t> ColumnFor(std::string_view wanted, const std::vector<std::string>& names,
                                     std::string& error);
// "English from column 2 "word", meanings from column 1 ..." for the summary line.
std::string ColumnsDescription(const Columns& columns, const std::vector<std::string>& names);
// The records from the chosen columns of `cells`, rows without text left out; false with the
// failure in `list` when no row reaches a chosen column.
bool TakeRecords(const std::vector<Row>& rows, const Cells& cells, const Columns& columns,
                 ImportedList& list);

// ---- The readers

void ReadCsv(const DecodedText& text, const ImportOptions& options, ImportedList& list);
// Whether a line is a flash-card export's "#key:value" header line.
bool IsHeaderLine(std::string_view line);
// The text of one field of a card: HTML made text, sound references dropped, white space as
// CollapseSpace leaves it.
std::string CardText(std::string_view field, bool html);
void ReadFlashcards(const DecodedText& text, const ImportOptions& options, ImportedList& list);
void ReadKvtml(std::string_view bytes, const ImportOptions& options, ImportedList& list);

}  // namespace booktool::import
