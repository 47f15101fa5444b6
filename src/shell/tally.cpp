#include "shell/tally.h"

#include <algorithm>
#include <utility>

namespace shell {

void Tally::NewRound() {
  told_.clear();
  last_act_.reset();
  ++rounds_;
}

bool Tally::Told(const books::Word& word) const {
  return std::find(told_.begin(), told_.end(), word) != told_.end();
}

void Tally::Tell(const books::Word& word, bool good) {
  if (Claim(word)) outcomes_.push_back({word, good});
}

void Tally::TellMissed(const books::Word& word) {
  if (Playing()) Tell(word, false);
}

bool Tally::Claim(const books::Word& word) {
  if (word.Empty() || Told(word)) return false;
  told_.push_back(word);
  return true;
}

void Tally::Untell(const books::Word& word) {
  std::erase(told_, word);
}

std::vector<Tally::Outcome> Tally::TakeOutcomes() {
  return std::exchange(outcomes_, {});
}

}  // namespace shell
