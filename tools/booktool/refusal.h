// How vantle-book says no: every step returns the program's one result type, the thing it made
// or the failure that says why not (the file, the line, the reason); a reader that names every
// bad line of a list at once gathers its failures in Refusals.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "base/result.h"

namespace booktool {

using base::Failure;
using base::Result;

// "FILE:LINE: refused: REASON" on `err`; without ":LINE" for line 0 and without "FILE:" for
// no file.
void PrintRefusal(const Failure& refusal, std::ostream& err);

// The refusals of a whole list, so that one run can name every bad line: the first
// kMaxRefusals by line number are kept, all are counted.
inline constexpr std::size_t kMaxRefusals = 100;
struct Refusals {
  std::vector<Failure> kept;
  int total = 0;

  void Add(Failure refusal);
  // Takes in the refusals of `other` (the kept ones stay in line order).
  void Merge(const Refusals& other);
  bool Any() const { return total > 0; }
};

// Every refusal kept, each naming `file` when it names no file itself, then how many more
// there were.
void PrintRefusals(const Refusals& refusals, const std::string& file, std::ostream& err);

}  // namespace booktool
