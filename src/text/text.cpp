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

// The length of the well-formed character at text[i] and its code point; 0 when the bytes
// there form none.
std::size_t WellFormed(std::string_view text, std::size_t i, char32_t& cp) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  std::size_t len;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto cc = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuation(cc)) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return len;
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

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  char32_t cp;
  for (std::size_t i = 0, n; i < text.size(); i += n)
    if ((n = WellFormed(text, i, cp)) == 0) return false;
  return true;
}

char* PutUtf8(char* out, char32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  char buffer[4];
  out.append(buffer, static_cast<std::size_t>(PutUtf8(buffer, cp) - buffer));
}

char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  char32_t cp = kReplacement;
  const std::size_t n = CharLength(text, i);
  if (WellFormed(text, i, cp) != n) cp = kReplacement;
  i += n;
  return cp;
}

Repaired RepairUtf8(std::string_view bytes) {
  Repaired r;
  r.text.reserve(bytes.size());
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = WellFormed(bytes, i, cp);
    if (n == 0) {
      r.text += kReplacementUtf8;
      ++r.invalid;
      ++i;
      continue;
    }
    r.text.append(bytes.substr(i, n));
    if (n > 1) ++r.valid;
    i += n;
  }
  return r;
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, int& invalid) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  auto unit = [&](std::size_t at) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[at]),
               b = static_cast<unsigned char>(bytes[at + 1]);
    return big_endian ? (a << 8) | b : (b << 8) | a;
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) {
      cp = kReplacement;
      ++invalid;
    }
    AppendUtf8(out, cp);
  }
  if (i < bytes.size()) {
    out += kReplacementUtf8;
    ++invalid;
  }
  return out;
}

namespace {

template <class Wanted>
bool HasCodePoint(std::string_view text, Wanted wanted) {
  for (std::size_t i = 0; i < text.size();)
    if (wanted(NextCodePoint(text, i))) return true;
  return false;
}

}  // namespace

std::string Concat(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string out;
  out.reserve(size);
  for (std::string_view piece : pieces) out.append(piece);
  return out;
}

bool IsLatinLetter(char32_t c) {
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

bool IsHan(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

bool HasLatinLetter(std::string_view text) {
  return HasCodePoint(text, IsLatinLetter);
}

bool HasHan(std::string_view text) {
  return HasCodePoint(text, IsHan);
}

}  // namespace text
