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
// A decimal number of at most six digits, or nothing.
std::optional<std::size_t> ParseCount(std::string_view s);
// The length of a "[sound:...]" reference at the start of `s`, or 0.
std::size_t SoundReference(std::string_view s);

struct DecodedText {
  std::string text;      // UTF-8, without a byte-order mark
  std::string encoding;  // what was found, for the user: "UTF-16 LE", "UTF-8 with BOM", "GBK" ...
};
// The bytes as UTF-8: UTF-16 with its byte-order mark (little or big endian); UTF-8 when a
// byte-order mark says so or most of the text is UTF-8 (a few stray bytes then become U+FFFD
// and their records are reported, rather than the whole file read garbled as GBK); else GBK.
DecodedText DecodeText(std::string_view bytes);

// ---- Rows of separated values (import_rows.cpp): RFC 4180 quoting, line breaks in quotes

struct Row {
  int line = 0;  // where the row starts
  std::vector<std::string> fields;
  std::vector<bool> quoted;  // for each field, whether it was written in quotes
};

// Splits `text` into rows at line ends outside quotes; `first_line` numbers the text's first
// line; at most `limit` rows that are not blank. A blank row (no text in any field, and no
// field quoted) is left out: a quoted field, even an empty one, is written on purpose. When
// the text ends inside a quoted field, `unclosed` (if given) is set to the line where that
// field opened.
std::vector<Row> SplitRows(std::string_view text, char separator, int first_line,
                           std::size_t limit = SIZE_MAX, int* unclosed = nullptr);
// All rows; refused when a quoted field is never closed.
Result<std::vector<Row>> SplitAll(std::string_view text, char separator, int first_line);
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

// How the two columns were found.
enum class Choice {
  Given,          // --columns
  NamedLanguage,  // a header names the English column by its language: taken at its word
  Named,          // a header names them by side or role (Front, word, meaning ...)
  ByContent,      // by what they hold
  AgainstNames,   // by what they hold, the header's names saying otherwise
};

struct Columns {
  std::size_t english = 0, chinese = 1;
  Choice choice = Choice::Given;
  std::vector<std::size_t> identifiers;  // columns left out as note identifiers
};

// The columns to take: --columns (refused when both name one column), else the ones header
// `names` name (unless the one named English is mostly Chinese, its name is no language's
// and the content tells), else by content among `usable`: the first mostly in Latin letters
// is English, the first mostly in Chinese characters the meaning. A list whose records hold
// their sides either way round, as the notes of several types in one flash-card export do,
// may have neither: then the first two columns that each hold mostly Latin letters or Chinese
// characters, Latin and Chinese between them, are taken, English the one with more Latin
// letters. Refused when none of these tells.
// `identifiers` (among `usable`) are left out when the content decides, and named then.
Result<Columns> ChooseColumns(const ImportOptions& options, const std::vector<std::string>& names,
                              const std::vector<std::size_t>& usable,
                              const std::vector<std::size_t>& identifiers, const Cells& cells);
// The English and the Chinese column that header names stand for, if both are named.
std::optional<std::pair<std::size_t, std::size_t>> NamedColumns(
    const std::vector<std::string>& names);
// A column asked for on the command line: a number from 1 or one of `names` (any case).
Result<std::size_t> ColumnFor(std::string_view wanted, const std::vector<std::string>& names);
// The columns among the first `width` whose every filled field, as written, looks like a
// flash-card program's note identifier (eight to eleven letters, digits and punctuation marks
// without a space, most of them mixing three kinds of these): such a column is no side.
std::vector<std::size_t> IdentifierColumns(const std::vector<Row>& rows, std::size_t width);
// "English from column 2 "word", meanings from column 1 ..." for the summary line.
std::string ColumnsDescription(const Columns& columns, const std::vector<std::string>& names);

// The one rule for the sides of an imported record, in every format. Columns given on the
// command line or named by their language are taken at their word. Otherwise a record whose
// one side is plainly Latin (Latin letters, no Chinese character, no pinyin) and whose other
// side is plainly Chinese (ScriptOf) takes its sides from its own content, and any other
// record keeps the sides its columns give.
bool TakenAtTheirWord(Choice choice);
// Turns `record` round when its English side is plainly Chinese and its meaning plainly Latin;
// true when it did.
bool TurnByContent(ListRecord& record);

struct TakenRecords {
  std::vector<ListRecord> records;
  int turned = 0;  // records turned round by their own content
};
// The records from the chosen columns of `cells`, each record's sides by the rule above. A row
// whose two fields hold no text is left out unless one of them is quoted. Refused when no row
// reaches a chosen column.
Result<TakenRecords> TakeRecords(const std::vector<Row>& rows, const Cells& cells,
                                 const Columns& columns);
// ", 6 records turned round by their own content" for the summary, or nothing.
std::string TurnedDescription(int turned);

// ---- The readers

Result<ImportedList> ReadCsv(const DecodedText& text, const ImportOptions& options);
// Whether a line is a flash-card export's "#key:value" header line.
bool IsHeaderLine(std::string_view line);
// Whether a field holds what a flash-card program's HTML holds: a tag it writes, an entity or
// a [sound:...] reference.
bool HasCardMarkup(std::string_view field);
// The text of one field of a card: HTML made text, sound references dropped, white space as
// CollapseSpace leaves it.
std::string CardText(std::string_view field, bool html);
Result<ImportedList> ReadFlashcards(const DecodedText& text, const ImportOptions& options);
Result<ImportedList> ReadKvtml(std::string_view bytes, const ImportOptions& options);

}  // namespace booktool::import
