// Writing a book's records in the forms other vocabulary programs import: CSV, a flash-card
// program's plain text, KVTML 2. Pure functions over records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "books/word_book.h"
#include "booktool/book_list.h"
#include "booktool/import.h"

namespace booktool {

// The records of a loaded book as the program holds them, in order (Line is the record's
// number).
std::vector<ListRecord> BookRecords(const books::WordBook& book);

// The format a file name's extension asks for: .csv CSV, .txt and .tsv flash-card text,
// .kvtml and .xml KVTML; Detect for any other.
ImportFormat FormatForExtension(std::string_view path);

// The bytes of `records` in `format`:
//   CSV: UTF-8 with a byte-order mark, a header row "English,Chinese", every field quoted,
//        CR LF line ends;
//   flash cards: "#separator:tab", "#html:false" and "#columns:English<TAB>Chinese" lines,
//        then a record a line, tab separated; a field is quoted when it holds a tab or a quote
//        or begins with '#' or '"';
//   KVTML 2: two identifiers, English (locale en) and Chinese (locale zh_CN), an entry a
//        record; `title` names the document.
// False with `error` when a record holds what the format cannot (XML holds no control
// characters but the tab, nor U+FFFE or U+FFFF).
bool ExportRecords(const std::vector<ListRecord>& records, ImportFormat format,
                   std::string_view title, std::string& bytes, std::string& error);

}  // namespace booktool
