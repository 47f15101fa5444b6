// How a step of the program says it could not do what was asked: one type for every layer
// (the loader, the book rules, the journal, the word-book tool). A step that makes something
// returns a Result: the thing, or the Failure that says why not.
#pragma once

#include <concepts>
#include <string>
#include <utility>
#include <variant>

namespace base {

// Why something failed: the reason a person reads, and where it was found when that is known.
// A layer that has more to say (a count, a kind of fault) derives its own failure from this.
// What is not known may be left out: Failure{"why"}, Failure{"why", line}.
struct Failure {
  std::string reason;
  int line = 0;           // the line (from 1) to blame; 0 when no single line is
  std::string file = {};  // empty while the step does not know the file (a reader of bytes)
  bool operator==(const Failure&) const = default;
};

// "FILE:LINE: REASON", without "FILE:" for no file and without "LINE:" for line 0.
std::string Describe(const Failure& failure);

// What a step made, or why it could not. Result<> is a step that makes nothing.
template <class T = std::monostate, class Why = Failure>
requires std::derived_from<Why, Failure>
class [[nodiscard]] Result {
 public:
  Result() requires std::same_as<T, std::monostate>
  = default;
  Result(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}
  Result(Why failure) : outcome_(std::in_place_index<1>, std::move(failure)) {}

  bool Ok() const { return outcome_.index() == 0; }
  explicit operator bool() const { return Ok(); }

  T& operator*() { return std::get<0>(outcome_); }
  const T& operator*() const { return std::get<0>(outcome_); }
  T* operator->() { return &std::get<0>(outcome_); }
  const T* operator->() const { return &std::get<0>(outcome_); }
  // Why the step failed; only on a failed result.
  const Why& Failed() const { return std::get<1>(outcome_); }
  Why& Failed() { return std::get<1>(outcome_); }

 private:
  std::variant<T, Why> outcome_;
};

}  // namespace base
