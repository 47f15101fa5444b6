#include "text/text.h"

namespace text {
namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Length in bytes of the character starting at text[i]: a lead byte and the continuation
// bytes that follow it (at most three); a stray continuation byte is a character of its own.
std::size_t CharLength(std::string_view text, std::size_t i) {
  auto lead = static_cast<unsigned char>(text[i]);
  std::size_t want = lead < 0xC0 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
  std::size_t n = 1;
  while (n <= want && i + n < text.size() &&
         IsContinuation(static_cast<unsigned char>(text[i + n])))
    ++n;
  return n;
}

// The code point of the character at text[i] (of `length` bytes); a stray or cut-off byte
// sequence gives U+FFFD.
char32_t CodePoint(std::string_view text, std::size_t i, std::size_t length) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (length == 1) return lead < 0x80 ? lead : 0xFFFD;
  const std::size_t want = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (length != want) return 0xFFFD;
  char32_t code = lead & (0x3F >> (want - 1));
  for (std::size_t k = 1; k < length; ++k)
    code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  return code;
}

template <class Wanted>
bool HasCodePoint(std::string_view text, Wanted wanted) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i);
    if (wanted(CodePoint(text, i, length))) return true;
    i += length;
  }
  return false;
}

}  // namespace

bool HasLatinLetter(std::string_view text) {
  return HasCodePoint(text, [](char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
  });
}

bool HasHan(std::string_view text) {
  return HasCodePoint(text, [](char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FFFF);
  });
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) ++count;
  return count;
}

std::size_t CharOffset(std::string_view text, std::size_t chars) {
  std::size_t i = 0;
  while (chars > 0 && i < text.size()) {
    i += CharLength(text, i);
    --chars;
  }
  return i;
}

}  // namespace text
