// Word lists in UTF-8 and the book files made from them: the parts of `vantle-book convert`
// that the sample-data generator shares.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/catalogue.h"
#include "books/loader.h"
#include "books/rules.h"
#include "books/word_book.h"
#include "booktool/refusal.h"

namespace booktool {

// One record of a list: English entry and Chinese meaning, or for the idiom book the whole
// idiom in `english`. `line` is the list line it came from (0 when it came from no file).
struct ListRecord {
  int line = 0;
  std::string english;
  std::string chinese;
};

// Why a list, or the book made of it, was refused: its first fault by line as the failure
// itself, and every fault, so that one run can name each bad line.
struct ListFailure : Failure {
  Refusals faults;
  std::vector<ListRecord> readable;  // of a list read: the records of its good lines
};

// The failure of a list with `faults` (at least one).
ListFailure Refused(Refusals faults);

// Reads a UTF-8 list (a leading byte-order mark is dropped; lines end at LF, CR LF or CR;
// empty lines are skipped). Books of two-line records take `english<TAB>chinese` lines with
// the escapes \\ \t \r \n inside fields; the idiom book takes one idiom per line as it stands,
// or its two halves as DumpBook prints them, which are joined again.
// Every malformed line is refused; reading goes on to the end.
Result<std::vector<ListRecord>, ListFailure> ParseList(std::string_view text, books::BookKind kind);

// The bytes of a book file and the encoding they are in.
struct EncodedBook {
  std::string bytes;
  books::Encoding encoding = books::Encoding::Gbk;
};

// Makes the bytes of a book file for `entry` from `records`: GBK, every line ended by CR LF,
// the English line's first character lowered for records 2 to N of catalogue books. Refuses
// what the program could not read back exactly: a wrong number of records, text GBK cannot
// hold, a line break inside a field, an empty English entry where a first character is to be
// lowered, a meaning ending in the markers 0, 1 or space. An own book whose GBK bytes would
// also read as UTF-8 is written as UTF-8 instead. Every record is looked at: a wrong number of
// records is refused with line 0, then each bad record with its line.
Result<EncodedBook, ListFailure> EncodeBook(const std::vector<ListRecord>& records,
                                            const books::CatalogueEntry& entry);

// The catalogue entry a file name stands for: a catalogue label, "《My词库》.txt" or
// "《成语大全》.txt" (only the last component of `path` counts); null for any other name.
const books::CatalogueEntry* EntryForFileName(std::string_view path);
// The entry of a label of the catalogue; the file names above are accepted as well.
const books::CatalogueEntry* EntryForLabel(std::string_view label);
// The book `file` is: the one `label` names when given, else the one the file's name stands
// for. Refused (a usage fault) for an unknown label or a name that is no book's.
Result<const books::CatalogueEntry*> EntryFor(const std::optional<std::string>& label,
                                              const std::string& file);

// "LABEL" is no label of the catalogue.
Failure NoSuchLabel(std::string_view label);

// The user's own book, which the program reads instead of the one beside it; empty when
// neither XDG_DATA_HOME nor HOME tells where it goes (kNoDataFolder).
std::string UserOwnBook();
inline constexpr std::string_view kNoDataFolder = "neither XDG_DATA_HOME nor HOME is set";

// Backslash escapes for dump, and quoted texts for messages.
using books::Escape;
using books::Quoted;

// The records of a loaded book, one a line: english<TAB>chinese, escaped (what dump prints and
// ParseList reads back).
std::string DumpBook(const books::WordBook& book);

}  // namespace booktool
