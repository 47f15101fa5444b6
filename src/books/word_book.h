// A window's loaded word book: parallel arrays with record i at index i (index 0 holds none).
#pragma once

#include <string>
#include <vector>

namespace books {

struct WordBook {
  std::vector<std::string> EnglishEntries;
  std::vector<std::string> ChineseMeanings;
  int WordCount = 0;
  int RecordIndex = 0;  // the loader's running record number; equals WordCount after a load
};

}  // namespace books
