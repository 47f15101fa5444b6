// A loaded word book: its words in the order of the file, counted from 0.
#pragma once

#include <string>
#include <vector>

namespace books {

// Words in a group: group g >= 1 is the g-th run of this many consecutive words.
inline constexpr int kGroupSize = 18;

// One word: its English entry and its Chinese meaning.
struct Word {
  std::string english;
  std::string chinese;
  // An empty word is no word: the empty pairs of a short group, the empty slots of a round.
  bool Empty() const { return english.empty() && chinese.empty(); }
  bool operator==(const Word&) const = default;
};

struct WordBook {
  std::vector<Word> words;  // word i is record i + 1 of the file
  int Count() const { return static_cast<int>(words.size()); }
};

}  // namespace books
