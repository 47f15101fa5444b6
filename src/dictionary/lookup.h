// The dictionary's search: one query against both sides of every entry of a word book.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "books/word_book.h"

namespace dictionary {

// How a hit is written into the result box.
enum class BlockStyle {
  // The English entry, CR LF, the Chinese meaning, CR LF, CR LF.
  TwoLines,
  // The idiom book: the English side without its trailing marker, directly followed by the
  // Chinese side without its leading marker, CR LF, CR LF: the line as the book file holds it.
  WholeLine,
};

// An idiom's line as the idiom book holds it: its English side without the marker at its
// end, then its Chinese side without the marker at its start.
std::string IdiomLine(std::string_view english, std::string_view chinese);

// The hits of a lookup: the words' places in the book (from 0), in book order, and the text
// the result box shows of them, a block each.
struct Hits {
  std::vector<std::size_t> words;
  std::string text;
};

// Every word whose English entry or Chinese meaning contains `query` as one contiguous run
// (compared byte for byte, which on UTF-8 text is character for character; the empty query
// is in every text), each once, in book order. The text is empty when nothing matched.
Hits FindEntries(const books::WordBook& book, std::string_view query, BlockStyle style);

}  // namespace dictionary
