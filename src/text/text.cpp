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

}  // namespace

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
