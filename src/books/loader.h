// Reading a word-book file into a WordBook, with every check of the book format.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "books/catalogue.h"
#include "books/word_book.h"

namespace books {

// The message shown for a book that does not fit its catalogue entry (and for an unknown label).
inline constexpr std::string_view kDamagedMessage = "词库已损坏\r\n请重新解压";
// The message shown for an own book of more than 30000 records.
inline constexpr std::string_view kOwnBookTooLargeMessage =
    "《My词库》词数过多\r\n请调整《My词库》";

// Guards against files that are no word books at all.
inline constexpr std::size_t kMaxLineBytes = 16 * 1024;
inline constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

// What stopped a load.
enum class LoadFault {
  CannotOpen,        // the file is missing, unreadable or no regular file (a folder, a pipe)
  ReadError,         // the system failed to read the file part way through
  NotText,           // a NUL byte: a binary file
  LineTooLong,       // a line longer than kMaxLineBytes
  FileTooLarge,      // more than kMaxFileBytes read
  Empty,             // no line at all
  EndsInsideRecord,  // an English line without its meaning line
  TooFewRecords,     // a two-line book with a single record
  WrongCount,        // a catalogue or idiom book with another number of records than its label
  TooManyRecords,    // an own book of more than 30000 records
};

enum class Encoding { Gbk, Utf8 };

// How a book's text was decoded.
struct Decoding {
  Encoding encoding = Encoding::Gbk;
  int invalid_sequences = 0;       // byte sequences that decoded to U+FFFD
  std::vector<int> invalid_lines;  // the lines (from 1) holding them, in order
};

// Why a book was refused. `reason` is what the program shows (CR LF between lines), `line`
// the line (from 1) where reading stopped, `file` the book's path.
struct LoadFailure : base::Failure {
  LoadFault kind = LoadFault::CannotOpen;
  int record = 0;    // the record being read then
  int expected = 0;  // records the label asks for (the capacity for the own book)
  int found = 0;     // complete records read (before the failure was known)
  Decoding decoded;  // what the lines read so far held
};

// A load: how the book was decoded, or why it was refused.
using BookLoad = base::Result<Decoding, LoadFailure>;

// Cuts an idiom line (UTF-8) as the idiom book stores it: the entry is the first L - L div 2
// characters followed by "-", the meaning "-" followed by the last L div 2 characters.
void CutIdiom(std::string_view line, std::string& entry, std::string& meaning);

// Reads the book at `path` as the catalogue entry says: the book's words anew, record 1 of the
// file as word 0. Reading stops as soon as the outcome is known; on a failure the book holds
// the records read completely before it (an own book's still undecoded).
// Only a regular file is read: a folder, a pipe or a device is refused at once.
BookLoad ReadWordBook(const std::string& path, const CatalogueEntry& entry, WordBook& book);

// Reads up to `size` bytes into `buffer`: the number read, 0 at the end, -1 on an error.
using ReadBytes = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;

// The same from any source of bytes; `name` stands for it in messages.
BookLoad ReadWordBook(const ReadBytes& read, const std::string& name, const CatalogueEntry& entry,
                      WordBook& book);

}  // namespace books
