#include <algorithm>

#include "books/gbk.h"
#include "booktool/import_parts.h"
#include "text/text.h"

namespace booktool::import {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string CollapseSpace(std::string_view s) {
  std::string out;
  bool space = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const bool nbsp = s.substr(i).starts_with("\xC2\xA0");
    if (IsSpace(s[i]) || nbsp) {
      space = !out.empty();
      i += nbsp ? 1 : 0;
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += s[i];
  }
  return out;
}

std::string JoinLines(std::string_view field) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= field.size(); ++i) {
    if (i < field.size() && field[i] != '\r' && field[i] != '\n') continue;
    std::string_view line = field.substr(start, i - start);
    start = i + 1;
    if (line.empty()) continue;
    if (!out.empty()) out += ' ';
    out.append(line);
  }
  std::erase(out, '\0');
  return out;
}

std::optional<std::size_t> ParseCount(std::string_view s) {
  if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  std::size_t n = 0;
  for (char c : s) n = n * 10 + static_cast<std::size_t>(c - '0');
  return n;
}

std::size_t SoundReference(std::string_view s) {
  if (!s.starts_with("[sound:")) return 0;
  const std::size_t close = s.find(']');
  return close == std::string_view::npos ? 0 : close + 1;
}

DecodedText DecodeText(std::string_view bytes) {
  DecodedText out;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    const bool big = bytes[0] == '\xFE';
    int invalid = 0;
    out.text = text::Utf16ToUtf8(bytes.substr(2), big, invalid);
    out.encoding = big ? "UTF-16 BE" : "UTF-16 LE";
    if (invalid > 0)
      out.encoding.append(" (")
          .append(std::to_string(invalid))
          .append(invalid == 1 ? " bad unit)" : " bad units)");
    return out;
  }
  const bool bom = bytes.starts_with(text::kUtf8Bom);
  if (bom) bytes.remove_prefix(text::kUtf8Bom.size());
  text::Repaired utf8 = text::RepairUtf8(bytes);
  if (bom || utf8.valid > utf8.invalid) {
    out.encoding = bom ? "UTF-8 with BOM" : "UTF-8";
    if (utf8.invalid > 0)
      out.encoding.append(" (")
          .append(std::to_string(utf8.invalid))
          .append(utf8.invalid == 1 ? " byte" : " bytes")
          .append(" not UTF-8)");
    out.text = std::move(utf8.text);
  } else if (utf8.invalid == 0) {
    out.encoding = "ASCII";
    out.text = std::move(utf8.text);
  } else {
    out.encoding = "GBK";
    books::GbkDecoder decoder;
    out.text = decoder.Decode(bytes);
  }
  return out;
}

}  // namespace booktool::import
