// A window's loaded word book: parallel arrays with record i at index i (index 0 holds none).
#pragma once

#include <string>
#include <vector>

namespace books {

// Records in a group: group g >= 1 is the g-th run of this many consecutive records.
inline constexpr int kGroupSize = 18;

struct WordBook {
  std::vector<std::string> EnglishEntries;
  std::vector<std::string> ChineseMeanings;
  int WordCount = 0;
  int RecordIndex = 0;  // the loader's running record number; equals WordCount after a load
};

}  // namespace books
