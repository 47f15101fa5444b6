// The sample books that come with the program, made from the word lists in data/: every
// catalogue book, the idiom book and a sample own book.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "booktool/book_list.h"

namespace samples {

using booktool::ListRecord;

// The word lists: the levels by name (the file names of data/words without ".tsv") and the
// idioms.
struct Sources {
  std::map<std::string, std::vector<ListRecord>> levels;
  std::vector<ListRecord> idioms;
};

// The levels in data/words, from the easiest; and the two lists that stand apart.
inline const std::vector<std::string> kGradedLevels = {"primary", "junior",       "senior", "cet4",
                                                       "cet6",    "postgraduate", "toefl"};
inline const std::vector<std::string> kOtherLevels = {"phrases", "computing_words",
                                                      "computing_phrases"};

// Reads data/words/*.tsv (every level above) and data/idioms.txt.
base::Result<Sources> ReadSources(const std::filesystem::path& data);

// The levels a catalogue book draws on, in order: the level its title names, then the
// neighbouring ones.
std::vector<std::string> LevelsFor(std::string_view label);

// A small deterministic generator (the same numbers on every platform and compiler).
class Shuffler {
 public:
  explicit Shuffler(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  template <class T>
  void Shuffle(std::vector<T>& items) {
    for (std::size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[Next() % i]);
  }

 private:
  std::uint64_t state_;
};

// Takes `count` records from `stream` in order, round and round, such that within every group
// of 18 consecutive records (1-18, 19-36, ...) no entry and no meaning occurs twice; a record
// that would repeat one waits for a later group. `idioms`: the texts compared are the halves
// the program cuts an idiom into. Refused when the stream cannot fill a group.
base::Result<std::vector<ListRecord>> FillBook(const std::vector<ListRecord>& stream, int count,
                                               bool idioms);

// The records of every book of the catalogue, by label (the own book's are the sample's).
using Plan = std::map<std::string, std::vector<ListRecord>>;
base::Result<Plan> PlanBooks(const Sources& sources);

inline constexpr int kSampleOwnBookRecords = 300;

// Writes the books beside the program in `program_directory` (Study/ and 《My词库》.txt),
// then reads each back with the program's loader and checks it: its exact count, the records
// as planned, no repeat within a group, every text fit for a board button. Refused at the
// first problem.
base::Result<> WriteSamples(const Sources& sources, const std::filesystem::path& program_directory,
                            std::ostream& log);

// Checks one written book as WriteSamples does.
base::Result<> CheckSampleBook(const std::string& path, const books::CatalogueEntry& entry,
                               const std::vector<ListRecord>& records);

}  // namespace samples
