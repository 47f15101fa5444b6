// How vantle-book says no, in one type for every step: the file, the line and the reason. A
// step that makes something returns a Result, the thing or its refusal; a reader that names
// every bad line of a list at once gathers Refusals.
#pragma once

#include <concepts>
#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace booktool {

// Why a file, a list or a step was refused. `line` is 0 when no single line is to blame;
// `file` stays empty while the step does not know the file (the readers of bytes), and the
// command that reports the refusal names it.
struct Refusal {
  std::string file;
  int line = 0;
  std::string reason;
};

// "FILE:LINE: refused: REASON" on `err`; without ":LINE" for line 0 and without "FILE:" for
// no file.
void PrintRefusal(const Refusal& refusal, std::ostream& err);

// What a step made, or why it refused. Result<> is a step that makes nothing.
template <class T = std::monostate>
class [[nodiscard]] Result {
 public:
  Result() requires std::same_as<T, std::monostate>
  = default;
  Result(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}
  Result(Refusal refusal) : outcome_(std::in_place_index<1>, std::move(refusal)) {}

  bool Ok() const { return outcome_.index() == 0; }
  T& operator*() { return std::get<0>(outcome_); }
  const T& operator*() const { return std::get<0>(outcome_); }
  T* operator->() { return &std::get<0>(outcome_); }
  const T* operator->() const { return &std::get<0>(outcome_); }
  const Refusal& Refused() const { return std::get<1>(outcome_); }

 private:
  std::variant<T, Refusal> outcome_;
};

// The refusals of a whole list, so that one run can name every bad line: the first
// kMaxRefusals by line number are kept, all are counted.
inline constexpr std::size_t kMaxRefusals = 100;
struct Refusals {
  std::vector<Refusal> kept;
  int total = 0;

  void Add(Refusal refusal);
  // Takes in the refusals of `other` (the kept ones stay in line order).
  void Merge(const Refusals& other);
  bool Any() const { return total > 0; }
};

// Every refusal kept, each naming `file` when it names no file itself, then how many more
// there were.
void PrintRefusals(const Refusals& refusals, const std::string& file, std::ostream& err);

}  // namespace booktool
