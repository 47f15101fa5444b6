// What a word book may hold, decided in one place: the markers the loader strips, the number
// of records each book takes, whether an own book reads as UTF-8, and every fault a record can
// have, with one table of the messages that name them. The loader, the word-book tool's
// commands and the sample generator all ask here.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "books/catalogue.h"
#include "books/gbk.h"

namespace books {

// The loader strips these from the end of a meaning: 0, 1 and space.
bool IsMarker(char c);
bool EndsInMarker(std::string_view meaning);

// The records a book of `entry` holds: the own book from 2 to its capacity, any other book
// exactly its count.
int MinRecords(const CatalogueEntry& entry);
int MaxRecords(const CatalogueEntry& entry);

// Whether an own book is read as UTF-8: all of it well-formed UTF-8 with some character beyond
// ASCII (editors here save UTF-8). Any other own book is read as GBK. Fed piece by piece (the
// pieces split at ASCII bytes, such as line ends) or whole.
class OwnBookEncoding {
 public:
  void Add(std::string_view bytes);
  bool ReadsAsUtf8() const { return valid_ && beyond_ascii_; }

 private:
  bool valid_ = true, beyond_ascii_ = false;
};
bool OwnBookReadsAsUtf8(std::string_view bytes);

// Every way a record or a list of records can be unfit for a book.
enum class Fault {
  EmptyEnglish,      // an empty side, where both sides are asked for
  EmptyMeaning,      //
  LineBreak,         // a line break or a NUL byte inside a field
  NotUtf8,           // a field that is not UTF-8
  Unreadable,        // U+FFFD: bytes that were neither UTF-8 nor GBK where the text came from
  NotGbk,            // a character GBK cannot hold
  Marker,            // a meaning ending in 0, 1 or a space
  NoFirstCharacter,  // an empty English entry where the first character is stored lowered
  NotLowerable,      // a first character that cannot be stored lowered by one
  Repeat,            // the same pair again
  TooMany,           // a record beyond what the book holds
  OwnCount,          // an own book of fewer than 2 or more than its capacity
  ExactCount,        // another book with another number of records than its count
};

// How messages name the two sides of a record.
inline constexpr const char* kEnglishSide = "English entry";
inline constexpr const char* kMeaningSide = "meaning";

// The values a fault's message quotes; those a fault does not name stay empty.
struct FaultDetails {
  std::string english, meaning;  // the record's texts
  std::string what, text;        // the field at fault ("English entry", "meaning") and its text
  std::string character;         // the character GBK cannot hold
  int number = 0;                // a record's number, or a count of records
  int first = 0;                 // the line a repeated pair was first on
  const CatalogueEntry* entry = nullptr;
};

// The message for `fault`, quoting texts escaped and in double quotes.
std::string FaultMessage(Fault fault, const FaultDetails& details);
// A few words for counting faults of a kind: "with an empty side", "repeating a pair" ...
std::string_view FaultShort(Fault fault);

// "1 record", "2 records".
std::string RecordCount(int n);

// Backslash escapes for one line: \\ \t \r \n.
std::string Escape(std::string_view field);
// The text escaped and in double quotes, for messages.
std::string Quoted(std::string_view text);

struct RecordFault {
  Fault kind;
  std::string message;
};

// The one validator of records for the book `entry`. Records are looked at in their order.
class BookRules {
 public:
  // What else is a fault, beyond what no book line can hold.
  struct Strictness {
    // An empty English entry or meaning (else only where a catalogue book needs a first
    // character to lower).
    bool empty_side = false;
    bool repeat = false;  // the same pair twice
  };
  BookRules(const CatalogueEntry& entry, Strictness strictness);

  // The faults of the record at position `index` (from 0) of the list, first to last; when
  // there are none, `gbk_english` and `gbk_meaning` hold the fields as the book stores them
  // (for the idiom book the whole idiom, in `english`). `line` is where the record came from.
  std::vector<RecordFault> Check(std::string_view english, std::string_view meaning, int index,
                                 int line, std::string& gbk_english, std::string& gbk_meaning);

  // The fault of a list of `count` records, if it has one.
  std::optional<RecordFault> CountFault(int count) const;
  // The fault of the record at `index` when the book has no room for it.
  std::optional<RecordFault> RoomFault(int index) const;

 private:
  // The fault of one field, if it has one; else `gbk` holds the field in GBK.
  std::optional<RecordFault> FieldFault(std::string_view text, const char* what, std::string& gbk);

  const CatalogueEntry& entry_;
  Strictness strictness_;
  GbkEncoder encoder_;
  std::map<std::pair<std::string, std::string>, int> seen_;
};

}  // namespace books
