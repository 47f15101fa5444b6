#include "books/gbk.h"

#include <errno.h>
#include <iconv.h>

#include <stdexcept>

namespace books {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The first character's code and length: a lead byte followed by a trail byte is one
// double-byte character, anything else a single byte.
int FirstCode(const std::string& s, std::size_t& length) {
  auto b0 = static_cast<unsigned char>(s[0]);
  if (s.size() >= 2 && IsLead(b0) && IsTrail(static_cast<unsigned char>(s[1]))) {
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

GbkDecoder::GbkDecoder() : cd_(iconv_open("UTF-8", "CP936")) {
  if (cd_ == reinterpret_cast<void*>(-1)) throw std::runtime_error("iconv: no CP936 support");
}

GbkDecoder::~GbkDecoder() { iconv_close(static_cast<iconv_t>(cd_)); }

std::string GbkDecoder::Decode(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  std::string out;
  out.resize(gbk.size() * 2 + 8);  // a GBK character never takes more than 3 UTF-8 bytes
  char* in = const_cast<char*>(gbk.data());
  std::size_t in_left = gbk.size();
  std::size_t used = 0;
  iconv(static_cast<iconv_t>(cd_), nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    char* dst = out.data() + used;
    std::size_t dst_left = out.size() - used;
    std::size_t rc = iconv(static_cast<iconv_t>(cd_), &in, &in_left, &dst, &dst_left);
    used = out.size() - dst_left;
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL: replace one byte, or a lead byte with its (bad) follower.
    std::size_t skip = 1;
    if (in_left >= 2 && IsLead(static_cast<unsigned char>(in[0])) &&
        IsTrail(static_cast<unsigned char>(in[1])))
      skip = 2;
    in += skip;
    in_left -= skip;
    if (out.size() - used < kReplacement.size()) out.resize(out.size() * 2);
    out.replace(used, kReplacement.size(), kReplacement);
    used += kReplacement.size();
    ++invalid_;
  }
  out.resize(used);
  return out;
}

bool EncodeGbk(std::string_view utf8, std::string& out) {
  out.clear();
  if (IsAscii(utf8)) {
    out.assign(utf8);
    return true;
  }
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.resize(utf8.size() + 8);
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
  if (rc != static_cast<std::size_t>(-1)) rc = iconv(cd, nullptr, nullptr, &dst, &dst_left);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || in_left != 0) return false;
  out.resize(out.size() - dst_left);
  return true;
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

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    unsigned cp;
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
      return false;
    }
    if (i + len > n) return false;
    for (std::size_t k = 1; k < len; ++k) {
      auto cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

}  // namespace books
