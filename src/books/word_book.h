// A window's loaded word book: parallel arrays with record i at index i (index 0 holds none).
#pragma once

#include <string>
#include <vector>

namespace books {

// Records in a group: group g >= 1 is the g-th run of this many consecutive records.
inline constexpr int kGroupSize = 18;

// One word: its English entry and its Chinese meaning.
struct Word {
  std::string english;
  std::string chinese;
  bool operator==(const Word&) const = default;
};

struct WordBook {
  std::vector<std::string> english_entries;
  std::vector<std::string> chinese_meanings;
  int word_count = 0;
  int record_index = 0;  // the loader's running record number; equals WordCount after a load
};

}  // namespace books
