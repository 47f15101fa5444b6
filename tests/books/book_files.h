// Word-book files for the loader tests, written as the program's books are stored.
#pragma once

#include <string>
#include <vector>

#include "books/catalogue.h"
#include "books/gbk.h"
#include "kit/files.h"

namespace book_files {

// A catalogue entry of the given count and kind that no real label has.
constexpr books::CatalogueEntry Entry(int count,
                                      books::BookKind kind = books::BookKind::CatalogueBook) {
  return {"《测试词库》(n)", count, kind, false};
}
inline const books::CatalogueEntry& Own() {
  return books::BookCatalogue().front();
}
inline const books::CatalogueEntry& Idioms() {
  return books::BookCatalogue().back();
}

// English entry and meaning of record i in the books the tests make.
inline std::string English(int i) {
  return "word" + std::to_string(i);
}
// (A meaning must not end in 0, 1 or a space: the loader takes those for markers.)
inline std::string Chinese(int i) {
  return "第" + std::to_string(i) + "义";
}

// A catalogue book's bytes: records English(i) / Chinese(i), the English line's first
// character lowered for records 2 to n, every line ended by `end`.
inline std::string CatalogueBook(int n, const std::string& end = "\r\n") {
  std::string out;
  const std::string first = kit::Gbk("第"), last = kit::Gbk("义");
  for (int i = 1; i <= n; ++i) {
    std::string english = English(i);
    if (i > 1) books::LowerFirstCharacter(english);
    out += english + end + first + std::to_string(i) + last + end;
  }
  return out;
}

// An own book's bytes: records English(i) / Chinese(i), stored as displayed.
inline std::string OwnBook(int n) {
  std::string out;
  const std::string first = kit::Gbk("第"), last = kit::Gbk("义");
  for (int i = 1; i <= n; ++i)
    out += English(i) + "\r\n" + first + std::to_string(i) + last + "\r\n";
  return out;
}

// The idiom line of record i: four characters out of a small alphabet, by i's digits.
inline std::string IdiomLine(int i) {
  static const std::vector<std::string> kAlphabet = [] {
    std::vector<std::string> a;
    for (const char* c : {"天", "地", "人", "和", "山", "水", "风", "云", "日", "月"})
      a.push_back(kit::Gbk(c));
    return a;
  }();
  std::string line;
  for (int k = 0; k < 4; ++k, i /= 10) line += kAlphabet[static_cast<std::size_t>(i % 10)];
  return line;
}

// The idiom book of `n` lines, built once for the largest size asked so far and cut.
inline std::string IdiomBook(int n) {
  static std::vector<std::string> lines;
  while (static_cast<int>(lines.size()) < n)
    lines.push_back(IdiomLine(static_cast<int>(lines.size()) + 1) + "\r\n");
  std::string out;
  out.reserve(static_cast<std::size_t>(n) * 10);
  for (int i = 0; i < n; ++i) out += lines[static_cast<std::size_t>(i)];
  return out;
}

}  // namespace book_files
