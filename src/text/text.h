// Counting and cutting UTF-8 text by characters (code points), never inside one.
#pragma once

#include <cstddef>
#include <string_view>

namespace text {

// Number of characters of a UTF-8 text; a stray byte counts as one character.
std::size_t CharCount(std::string_view text);

// Byte offset of the start of character number `chars` (or the text's size when past its end).
std::size_t CharOffset(std::string_view text, std::size_t chars);

// Whether the text holds a Latin letter (A to Z in either case, or an accented one).
bool HasLatinLetter(std::string_view text);
// Whether the text holds a Chinese character (a CJK ideograph).
bool HasHan(std::string_view text);

}  // namespace text
