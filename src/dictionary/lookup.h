// The dictionary's search: one query against both sides of every entry of a word book.
#pragma once

#include <string>
#include <string_view>

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

// Every entry 1..WordCount whose English entry or Chinese meaning contains `query` as one
// contiguous run (compared byte for byte, which on UTF-8 text is character for character;
// the empty query is in every text), each once, in book order, as one text. Empty when
// nothing matched.
std::string FindEntries(const books::WordBook& book, std::string_view query, BlockStyle style);

}  // namespace dictionary
