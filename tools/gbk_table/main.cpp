// vantle-gbk-table OUT: writes the GBK (code page 936) tables the word books are decoded and
// encoded with, taken from the system's own converter (glibc's iconv), as a C++ header. Both
// systems build the program with the same tables, so a book decodes alike everywhere.
//
// The header holds, in namespace books::gbk_table:
//   kSingle[b - 0x80]  the code point of a byte 0x80..0xFF that is no lead byte (0: none);
//   kDouble[(lead - 0x81) * 191 + (trail - 0x40)]  that of a lead and a trail byte (0: none);
//   kEncode  the GBK code of every code point from 0x80 that GBK holds, as cp << 16 | code,
//            sorted (a code below 0x100 is one byte);
//   kDigest  FNV-1a over the converter's UTF-8 for each single byte and each pair in that
//            order (U+FFFD for what it refuses), so a test can check the decoder against it.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE, kFirstTrail = 0x40, kLastTrail = 0xFE;

// The converter's output for `in`, or nothing when it refuses it or leaves some of it.
bool Convert(iconv_t cd, std::string in, std::string& out, std::size_t out_size) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.assign(out_size, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t in_left = in.size(), out_left = out.size();
  const std::size_t rc = iconv(cd, &src, &in_left, &dst, &out_left);
  if (rc == static_cast<std::size_t>(-1) || in_left != 0) return false;
  out.resize(out.size() - out_left);
  return true;
}

std::uint32_t CodePoint(iconv_t to_utf32, const std::string& gbk) {
  std::string out;
  if (!Convert(to_utf32, gbk, out, 4) || out.size() != 4) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(out.data());
  const std::uint32_t cp = b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  return cp > 0xFFFF ? 0 : cp;
}

struct Digest {
  std::uint64_t value = 1469598103934665603ULL;
  void Add(const std::string& bytes) {
    for (unsigned char c : bytes) value = (value ^ c) * 1099511628211ULL;
  }
};

void AddUtf8(Digest& digest, iconv_t to_utf8, const std::string& gbk) {
  std::string out;
  digest.Add(Convert(to_utf8, gbk, out, 8) && !out.empty() ? out : "\xEF\xBF\xBD");
}

void WriteArray(FILE* f, const char* type, const char* name, const std::vector<std::uint32_t>& v) {
  std::fprintf(f, "inline constexpr %s %s[%zu] = {", type, name, v.size());
  for (std::size_t i = 0; i < v.size(); ++i)
    std::fprintf(f, "%s0x%X,", i % 12 == 0 ? "\n    " : " ", static_cast<unsigned>(v[i]));
  std::fprintf(f, "\n};\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantle-gbk-table OUT\n");
    return 2;
  }
  iconv_t to_utf32 = iconv_open("UTF-32LE", "CP936");
  iconv_t to_utf8 = iconv_open("UTF-8", "CP936");
  iconv_t from_utf32 = iconv_open("CP936", "UTF-32LE");
  if (to_utf32 == reinterpret_cast<iconv_t>(-1) || to_utf8 == reinterpret_cast<iconv_t>(-1) ||
      from_utf32 == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "vantle-gbk-table: the system's iconv has no CP936\n");
    return 1;
  }
  Digest digest;
  std::vector<std::uint32_t> single(0x80), pairs;
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    if (b >= kFirstLead && b <= kLastLead) continue;
    const std::string in(1, static_cast<char>(b));
    single[b - 0x80] = CodePoint(to_utf32, in);
    AddUtf8(digest, to_utf8, in);
  }
  for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead)
    for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      const std::string in{static_cast<char>(lead), static_cast<char>(trail)};
      const bool is_trail = trail != 0x7F;
      pairs.push_back(is_trail ? CodePoint(to_utf32, in) : 0);
      if (is_trail) AddUtf8(digest, to_utf8, in);
    }
  std::vector<std::uint32_t> encode;
  for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string in{static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8), '\0', '\0'};
    std::string out;
    if (!Convert(from_utf32, in, out, 4) || out.empty() || out.size() > 2) continue;
    const auto* b = reinterpret_cast<const unsigned char*>(out.data());
    encode.push_back(cp << 16 | (out.size() == 2 ? (b[0] << 8 | b[1]) : b[0]));
  }
  for (iconv_t cd : {to_utf32, to_utf8, from_utf32}) iconv_close(cd);
  FILE* f = std::fopen(argv[1], "w");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(f,
               "// Made by vantle-gbk-table from the system's CP936 converter; do not edit.\n"
               "#pragma once\n#include <cstdint>\nnamespace books::gbk_table {\n");
  WriteArray(f, "std::uint16_t", "kSingle", single);
  WriteArray(f, "std::uint16_t", "kDouble", pairs);
  WriteArray(f, "std::uint32_t", "kEncode", encode);
  std::fprintf(
      f, "inline constexpr std::uint64_t kDigest = 0x%llXULL;\n}  // namespace books::gbk_table\n",
      static_cast<unsigned long long>(digest.value));
  return std::fclose(f) == 0 ? 0 : 1;
}
