#include "books/gbk.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "books/gbk_table.h"

#include "text/text.h"

namespace books {
namespace {

constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE;
constexpr unsigned kTrailsPerLead = kLastTrail - kFirstTrail + 1;  // 0x7F included, never valid

bool IsLead(unsigned char c) {
  return c >= kFirstLead && c <= kLastLead;
}
bool IsTrail(unsigned char c) {
  return c >= kFirstTrail && c <= kLastTrail && c != 0x7F;
}

// The first character's code and length. A lead byte and whatever byte follows it form one
// double-byte character: a stored first character is a GBK code lowered by one, and its
// second byte may then lie just below the trail range (0x3F for 0x40, 0x7F for 0x80), so the
// lead byte alone decides. Anything else is a single byte.
int FirstCode(const std::string& s, std::size_t& length) {
  auto b0 = static_cast<unsigned char>(s[0]);
  if (s.size() >= 2 && IsLead(b0)) {
    length = 2;
    return (b0 << 8) | static_cast<unsigned char>(s[1]);
  }
  length = 1;
  return b0;
}

void PutFirstCode(std::string& s, int code, std::size_t length) {
  if (length == 2) {
    if (code < 0x100 || code > 0xFFFF) return;
    s[0] = static_cast<char>(code >> 8);
    s[1] = static_cast<char>(code & 0xFF);
  } else {
    if (code < 0 || code > 0xFF) return;
    s[0] = static_cast<char>(code);
  }
}

}  // namespace

// Code points of every GBK code, made at build time from the system's code page 936 converter
// (tools/gbk_table), so that decoding a book is a table lookup per character and gives the
// same text on every system. 0 marks a code with no character.
class GbkTable {
 public:
  // The code point of a byte from 0x80 that is no lead byte (0 when it has none).
  std::uint16_t Single(unsigned char b) const { return gbk_table::kSingle[b - 0x80]; }
  // The code point of a lead byte and a trail byte (0 when they form no character).
  std::uint16_t Double(unsigned char lead, unsigned char trail) const {
    return gbk_table::kDouble[(lead - kFirstLead) * kTrailsPerLead + (trail - kFirstTrail)];
  }
};

static_assert(std::size(gbk_table::kDouble) == (kLastLead - kFirstLead + 1) * kTrailsPerLead);

static const GbkTable& Table() {
  static const GbkTable kTable;
  return kTable;
}

GbkDecoder::GbkDecoder() : table_(&Table()) {}

GbkDecoder::~GbkDecoder() = default;

std::string GbkDecoder::Decode(std::string_view gbk) {
  if (text::IsAscii(gbk)) return std::string(gbk);
  const GbkTable& table = *table_;
  const std::size_t n = gbk.size();
  // No byte grows to more than three bytes of UTF-8 (every GBK character lies in the BMP) (U+FFFD,
  // or U+20AC for 0x80).
  std::string out(3 * n, '\0');
  char* dst = out.data();
  for (std::size_t i = 0; i < n;) {
    auto b = static_cast<unsigned char>(gbk[i]);
    if (b < 0x80) {
      *dst++ = static_cast<char>(b);
      ++i;
      continue;
    }
    std::uint16_t cp = 0;
    if (!IsLead(b)) {
      cp = table.Single(b);
      ++i;
    } else if (i + 1 < n && IsTrail(static_cast<unsigned char>(gbk[i + 1]))) {
      // A lead byte with a trail byte is one sequence, even when it names no character.
      cp = table.Double(b, static_cast<unsigned char>(gbk[i + 1]));
      i += 2;
    } else {
      ++i;
    }
    if (cp == 0) {
      cp = 0xFFFD;
      ++invalid_;
    }
    dst = text::PutUtf8(dst, cp);
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return out;
}

std::optional<std::string> GbkEncoder::Encode(std::string_view utf8) {
  if (text::IsAscii(utf8)) return std::string(utf8);
  if (!text::IsValidUtf8(utf8)) return std::nullopt;
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = text::NextCodePoint(utf8, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    const auto* end = std::end(gbk_table::kEncode);
    const auto* found =
        std::lower_bound(std::begin(gbk_table::kEncode), end, static_cast<std::uint32_t>(cp) << 16);
    if (cp > 0xFFFF || found == end || *found >> 16 != cp) return std::nullopt;
    const std::uint32_t code = *found & 0xFFFF;
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

std::optional<std::string> EncodeGbk(std::string_view utf8) {
  if (text::IsAscii(utf8)) return std::string(utf8);
  return GbkEncoder().Encode(utf8);
}

void RaiseFirstCharacter(std::string& gbk) {
  if (gbk.empty()) return;
  std::size_t length = 0;
  int code = FirstCode(gbk, length);
  PutFirstCode(gbk, code + 1, length);
}

void LowerFirstCharacter(std::string& gbk) {
  if (gbk.empty()) return;
  std::size_t length = 0;
  int code = FirstCode(gbk, length);
  PutFirstCode(gbk, code - 1, length);
}

}  // namespace books
