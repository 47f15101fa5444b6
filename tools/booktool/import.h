// Reading the word lists learners keep elsewhere (spreadsheet CSV, flash-card text exports,
// KVTML vocabulary files) into list records, and sorting out the records no book can hold.
// Pure functions over bytes: nothing here touches files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "books/catalogue.h"
#include "books/rules.h"
#include "booktool/book_list.h"
#include "booktool/refusal.h"

namespace booktool {

// The forms a word list comes in and goes out in; Detect stands for "from the content".
enum class ListFormat { Detect, Csv, Flashcards, Kvtml };

// The header line with which vantle-book's flash-card export names its two columns
// ("#vantle-book columns:English<TAB>Chinese"). A file that has it, with #html:false, is read
// back exactly as written. Flash-card programs take a "#" line they do not know at the top of
// a file for a comment, and map the columns onto a note's fields in their order.
inline constexpr std::string_view kListColumnsKey = "vantle-book columns";

// The names vantle-book's exports give their two columns: CSV's header row and the flash-card
// export's own columns line. A CSV file whose first row names them so, both cells quoted, is
// read back exactly as written, line breaks and NUL bytes inside fields included.
inline constexpr std::string_view kEnglishColumn = "English";
inline constexpr std::string_view kChineseColumn = "Chinese";

struct ImportOptions {
  ListFormat format = ListFormat::Detect;
  // Empty, or the English and the Chinese column: a number from 1, or a name (a CSV header
  // cell, a flash-card "#columns:" name, a KVTML identifier's locale or name).
  std::vector<std::string> columns;
};

struct ImportedList {
  ListFormat format = ListFormat::Detect;
  // How the file was read, for the user: format, encoding, separator, the columns taken, the
  // records turned round.
  std::string description;
  // English entry and Chinese meaning as UTF-8 text; `line` is where the record starts in the
  // file (for KVTML the line of its <entry>).
  std::vector<ListRecord> records;
};

// Reads `bytes` in the given or detected format. A file a flash-card program wrote (header
// lines, or tab-separated fields holding its HTML) has its HTML made text, note identifiers
// left out and each record's sides set by its own content; what vantle-book exported reads
// back exactly. Elsewhere rows without any text are skipped and line breaks inside a field
// become a space; every other record is kept as it reads, good or bad. Refused (the reason
// beginning "as FORMAT: ") when the file cannot be read in its format.
Result<ImportedList> ParseImport(std::string_view bytes, const ImportOptions& options);

// The name of a format as --format takes it ("csv", "flashcards", "kvtml"); "anki" names the
// flash-card export too.
std::string_view FormatName(ListFormat format);
// The format --format names; a usage fault naming the formats for an unknown name.
Result<ListFormat> FormatNamed(std::string_view name);

// Flash-card field HTML as plain text: tags dropped, <br>, <div>, <p> and <li> as a space,
// entities decoded, [sound:...] references removed, runs of white space as one space, no
// space at either end.
std::string HtmlToText(std::string_view html);

struct BadRecord {
  books::Fault kind;
  int line;            // the record's source line
  std::string reason;  // what is wrong, quoting the text
};

struct SiftedList {
  std::vector<ListRecord> kept;  // the records a book can take, in order
  std::vector<BadRecord> bad;    // the rest, in line order
  int dropped = 0;               // repeated pairs dropped on request, not counted as bad
};

// Sorts `records` for the book `entry` by the book rules (books/rules.h): an empty side, a
// meaning ending in the markers 0, 1 or space, text GBK cannot hold, a first character that
// cannot be stored, a pair seen before (dropped silently when `dedupe`), records beyond what
// the book holds (30000 for the own book, its count for a catalogue book).
SiftedList SiftRecords(std::vector<ListRecord> records, const books::CatalogueEntry& entry,
                       bool dedupe);

}  // namespace booktool
