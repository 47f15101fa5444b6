// Writing word lists in the forms other vocabulary programs import: CSV, a flash-card
// program's plain text, KVTML 2. Pure functions over records, whatever list they come from:
// a loaded book, or any other list of English entries and meanings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "books/word_book.h"
#include "booktool/book_list.h"
#include "booktool/import.h"
#include "booktool/refusal.h"

namespace booktool {

// The records of a loaded book as the program holds them, in order (`line` is the record's
// number).
std::vector<ListRecord> BookRecords(const books::WordBook& book);

// The format a file name's extension asks for: .csv CSV, .txt and .tsv flash-card text,
// .kvtml and .xml KVTML; Detect for any other.
ListFormat FormatForExtension(std::string_view path);

// The bytes of `records` in `format`, every text as it stands, so that import reads each one
// back byte for byte:
//   CSV: UTF-8 with a byte-order mark, the header row naming kEnglishColumn and
//        kChineseColumn, every field quoted, CR LF
//        line ends; it holds any text;
//   flash cards: "#separator:tab", "#html:false" and "#vantle-book columns:English<TAB>
//        Chinese" lines, then a record a line, tab separated, a field quoted when it is blank,
//        holds a tab or a quote or begins with '#'. No "#columns:" line: a flash-card program
//        maps named columns onto its note type's fields by name, and "English" and "Chinese"
//        name no field of its stock types; unnamed, the English entry goes to a note's first
//        field and the meaning to its second, and no column is left over for tags;
//   KVTML 2: two identifiers, English (locale en) and Chinese (locale zh_CN), an entry a
//        record, xml:space="preserve" on the texts whose white space reading would change;
//        `title` names the document.
// Line ends inside a text are kept too (in quotes; in KVTML as character references).
// Refused when a record holds what the format cannot: XML holds no control character but the
// tab and line ends, nor U+FFFE or U+FFFF; flash-card text no NUL byte.
Result<std::string> ExportRecords(const std::vector<ListRecord>& records, ListFormat format,
                                  std::string_view title);

}  // namespace booktool
