// A made-up word book the size of a full own book, for measuring lookups: English words of
// 3 to 12 letters, meanings of one to three senses of common Chinese characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "books/word_book.h"

namespace bench {

// Records 1..count, always the same for the same count.
books::WordBook SampleBook(int count);

// The number of blocks in a result text (each block ends with an empty line).
std::size_t CountBlocks(std::string_view result);

}  // namespace bench
