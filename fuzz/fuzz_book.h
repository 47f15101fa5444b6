// What the fuzz targets share: the book an input is read as, a loader fed from memory, and a
// check that ends the run with the input when a property fails.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "books/catalogue.h"
#include "books/loader.h"

#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

namespace fuzz {

inline unsigned char TakeByte(std::string_view& data) {
  if (data.empty()) return 0;
  const auto b = static_cast<unsigned char>(data.front());
  data.remove_prefix(1);
  return b;
}

// The book an input is read as, chosen by its first two bytes, which are taken off: below
// 0xC0 a label of the catalogue (the own book and the idiom book among them), from 0xC0 an
// entry that no label has, of any kind, for 2 to 49 records, so that whole books stay short.
// (No book of two-line records has a single record.)
inline books::CatalogueEntry TakeEntry(std::string_view& data) {
  const unsigned char choice = TakeByte(data), count = TakeByte(data);
  const auto catalogue = books::BookCatalogue();
  if (choice < 0xC0) return catalogue[choice % catalogue.size()];
  constexpr books::BookKind kKinds[] = {books::BookKind::CatalogueBook, books::BookKind::OwnBook,
                                        books::BookKind::IdiomBook};
  return {"《测试词库》", 2 + count % 48, kKinds[choice % 3], false};
}

// A book file in memory, handed to the loader at most `piece` bytes a read; counts the bytes
// handed over.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes, std::size_t piece = 64 * 1024)
      : bytes_(bytes), piece_(piece) {}

  books::BookLoad Load(const books::CatalogueEntry& entry, books::WordBook& book) {
    const books::ReadBytes read = [this](char* buffer, std::size_t size) -> std::ptrdiff_t {
      const std::size_t n = std::min({size, piece_, bytes_.size() - given_});
      if (n > 0) std::memcpy(buffer, bytes_.data() + given_, n);
      given_ += n;
      return static_cast<std::ptrdiff_t>(n);
    };
    return books::ReadWordBook(read, "fuzz", entry, book);
  }
  std::size_t Given() const { return given_; }

 private:
  std::string_view bytes_;
  std::size_t piece_;
  std::size_t given_ = 0;
};

inline bool SameRecords(const books::WordBook& a, const books::WordBook& b) {
  return a.words == b.words;
}

}  // namespace fuzz
