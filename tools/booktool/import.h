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

namespace booktool {

enum class ImportFormat { Detect, Csv, Flashcards, Kvtml };

struct ImportOptions {
  ImportFormat Format = ImportFormat::Detect;
  // Empty, or the English and the Chinese column: a number from 1, or a name (a CSV header
  // cell, a flash-card "#columns:" name, a KVTML identifier's locale or name).
  std::vector<std::string> Columns;
};

struct ImportedList {
  ImportFormat Format = ImportFormat::Detect;
  // How the file was read, for the user: format, encoding, separator, the columns taken.
  std::string Description;
  // English entry and Chinese meaning as UTF-8 text; `Line` is where the record starts in the
  // file (for KVTML the line of its <entry>).
  std::vector<ListRecord> Records;
  // Set when the file cannot be read at all in its format (Reason empty otherwise).
  Refusal Failure;
};

// Reads `bytes` in the given or detected format. Rows without any text are skipped; line
// breaks inside a field become a space. Every other record is kept as it reads, good or bad.
ImportedList ParseImport(std::string_view bytes, const ImportOptions& options);

// The name of a format as --format takes it ("csv", "flashcards", "kvtml"), and back; "anki"
// names the flash-card export too. Detect for an unknown name.
std::string_view FormatName(ImportFormat format);
ImportFormat FormatForName(std::string_view name);

// Flash-card field HTML as plain text: tags dropped, <br>, <div>, <p> and <li> as a space,
// entities decoded, [sound:...] references removed, runs of white space as one space, no
// space at either end.
std::string HtmlToText(std::string_view html);

struct BadRecord {
  books::Fault Kind;
  int Line;            // the record's source line
  std::string Reason;  // what is wrong, quoting the text
};

struct SiftedList {
  std::vector<ListRecord> Kept;  // the records a book can take, in order
  std::vector<BadRecord> Bad;    // the rest, in line order
  int Dropped = 0;               // repeated pairs dropped on request, not counted as bad
};

// Sorts `records` for the book `entry` by the book rules (books/rules.h): an empty side, a
// meaning ending in the markers 0, 1 or space, text GBK cannot hold, a first character that
// cannot be stored, a pair seen before (dropped silently when `dedupe`), records beyond what
// the book holds (30000 for the own book, its count for a catalogue book).
SiftedList SiftRecords(std::vector<ListRecord> records, const books::CatalogueEntry& entry,
                       bool dedupe);

}  // namespace booktool
