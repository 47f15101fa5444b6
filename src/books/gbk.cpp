#include "books/gbk.h"

#include <errno.h>
#include <iconv.h>

#include <array>
#include <cstdint>
#include <stdexcept>

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

// Code points of every GBK code, taken once from the system's code page 936 converter, so
// that decoding a book is a table lookup per character instead of a converter call per line.
// 0 marks a code with no character.
class GbkTable {
 public:
  GbkTable() {
    iconv_t cd = iconv_open("UTF-32LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no CP936 support");
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      if (IsLead(static_cast<unsigned char>(b))) continue;
      const char in[1] = {static_cast<char>(b)};
      single_[b - 0x80] = Convert(cd, in, 1);
    }
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead)
      for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
        if (!IsTrail(static_cast<unsigned char>(trail))) continue;
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        double_[(lead - kFirstLead) * kTrailsPerLead + (trail - kFirstTrail)] = Convert(cd, in, 2);
      }
    iconv_close(cd);
  }

  // The code point of a byte from 0x80 that is no lead byte (0 when it has none).
  std::uint16_t Single(unsigned char b) const { return single_[b - 0x80]; }
  // The code point of a lead byte and a trail byte (0 when they form no character).
  std::uint16_t Double(unsigned char lead, unsigned char trail) const {
    return double_[(lead - kFirstLead) * kTrailsPerLead + (trail - kFirstTrail)];
  }

 private:
  static std::uint16_t Convert(iconv_t cd, const char* bytes, std::size_t n) {
    char* in = const_cast<char*>(bytes);
    std::uint32_t cp = 0;
    char* out = reinterpret_cast<char*>(&cp);
    std::size_t in_left = n, out_left = sizeof cp;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::size_t rc = iconv(cd, &in, &in_left, &out, &out_left);
    if (rc == static_cast<std::size_t>(-1) || in_left != 0 || out_left != 0 || cp > 0xFFFF)
      return 0;
    return static_cast<std::uint16_t>(cp);
  }

  std::array<std::uint16_t, 0x80> single_{};
  std::array<std::uint16_t, (kLastLead - kFirstLead + 1) * kTrailsPerLead> double_{};
};

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

GbkEncoder::GbkEncoder() : cd_(iconv_open("CP936", "UTF-8")) {
  if (cd_ == reinterpret_cast<void*>(-1)) throw std::runtime_error("iconv: no CP936 support");
}

GbkEncoder::~GbkEncoder() {
  iconv_close(static_cast<iconv_t>(cd_));
}

std::optional<std::string> GbkEncoder::Encode(std::string_view utf8) {
  if (text::IsAscii(utf8)) return std::string(utf8);
  auto cd = static_cast<iconv_t>(cd_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(utf8.size() + 8, '\0');  // no character takes more bytes in GBK than in UTF-8
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
  if (rc != static_cast<std::size_t>(-1)) rc = iconv(cd, nullptr, nullptr, &dst, &dst_left);
  if (rc == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
  out.resize(out.size() - dst_left);
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
