// UTF-8 text: counting and cutting by characters (code points), never inside one; encoding,
// decoding and checking UTF-8; UTF-16 to UTF-8. Every other part of the program leaves UTF-8
// to these.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

// Number of characters of a UTF-8 text; a stray byte counts as one character.
std::size_t CharCount(std::string_view text);

// Byte offset of the start of character number `chars` (or the text's size when past its end).
std::size_t CharOffset(std::string_view text, std::size_t chars);

inline constexpr char32_t kReplacement = 0xFFFD;
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whether every byte is below 0x80.
bool IsAscii(std::string_view text);

// Whether the bytes are well-formed UTF-8: no overlong form, no surrogate, nothing beyond
// U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view text);

// Writes `cp` as UTF-8 at `out` (at most four bytes) and returns the position after it. NUL, a
// surrogate or a value beyond U+10FFFF is written as U+FFFD.
char* PutUtf8(char* out, char32_t cp);
void AppendUtf8(std::string& out, char32_t cp);

// The code point of the character at text[i], moving `i` past it (as CharOffset steps); a
// malformed sequence gives U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& i);

// The bytes as UTF-8, each byte that starts no well-formed character replaced by U+FFFD.
struct Repaired {
  std::string text;
  int valid = 0;    // characters beyond ASCII kept
  int invalid = 0;  // bytes replaced
};
Repaired RepairUtf8(std::string_view bytes);

// UTF-16 (without its byte-order mark) as UTF-8; an unpaired surrogate, an odd last byte or
// a NUL becomes U+FFFD, counted in `invalid`.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, int& invalid);

// The pieces one after another in a new string. Texts are joined here rather than as
// `"literal" + std::string(...)`: GCC 12 at -O3 inlines that operator into an insert at the
// front and warns of an overlapping copy (-Wrestrict) that cannot happen, which -Werror makes
// an error. Appending to a fresh string never draws the warning.
std::string Concat(std::initializer_list<std::string_view> pieces);

// A Latin letter: A to Z in either case, or an accented one.
bool IsLatinLetter(char32_t c);
// A Chinese character (a CJK ideograph).
bool IsHan(char32_t c);
// Whether the text holds a Latin letter.
bool HasLatinLetter(std::string_view text);
// Whether the text holds a Chinese character.
bool HasHan(std::string_view text);

}  // namespace text
