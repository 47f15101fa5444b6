#include "quiz/round.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace quiz {

void Round::SetSlots(std::span<const books::Word> words, std::span<const books::Word> pool,
                     Direction direction, shell::RoundSize size) {
  pool_ = pool;
  direction_ = direction;
  size_ = size;
  slot_count_ = size == shell::RoundSize::Group
                    ? kRoundSlots
                    : static_cast<int>(std::min(words.size(), std::size_t{kRoundSlots}));
  for (std::size_t i = 0; i < slots_.size(); ++i)
    slots_[i] = i < words.size() ? words[i] : books::Word{};
  distinct_.clear();
  if (size == shell::RoundSize::Words) distinct_ = Distractors(pool, direction);
  tally_.NewRound();
}

void Round::Shuffle(ui::Random& random) {
  const auto count = static_cast<std::size_t>(slot_count_);
  std::array<std::size_t, kRoundSlots> order{};
  std::array<bool, kRoundSlots> taken{};
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t& p = order[i];
    do {
      p = static_cast<std::size_t>(random.Below(slot_count_));
    } while (taken[p]);
    taken[p] = true;
  }
  const auto slots = slots_;
  for (std::size_t i = 0; i < count; ++i) slots_[i] = slots[order[i]];
  slot_ = 0;
  elapsed_ = 0;
  mistakes_ = 0;
  tally_.NewRound();
}

std::vector<std::size_t> Round::Distractors(std::span<const books::Word> pool,
                                            Direction direction) {
  std::vector<std::size_t> places;
  std::unordered_set<std::string_view> seen;
  for (std::size_t p = 0; p < pool.size(); ++p)
    if (seen.insert(AskedAs(pool[p], direction).answer).second) places.push_back(p);
  return places;
}

bool Round::EnoughDistractors(std::span<const books::Word> words, std::span<const books::Word> pool,
                              Direction direction) {
  const std::vector<std::size_t> distinct = Distractors(pool, direction);
  return std::all_of(words.begin(), words.end(), [&](const books::Word& word) {
    const std::string& right = AskedAs(word, direction).answer;
    int others = 0;
    for (std::size_t p : distinct)
      if (AskedAs(pool[p], direction).answer != right && ++others == kDistractors) return true;
    return false;
  });
}

void Round::DrawDistractors(ui::Random& random) {
  if (size_ == shell::RoundSize::Group) {
    for (std::size_t& d : distractors_)
      d = static_cast<std::size_t>(random.Below(static_cast<int>(pool_.size())));
    return;
  }
  // Different texts, none the right one: drawn one by one from those not drawn yet.
  const std::string& right = AskedAs(Slot(), direction_).answer;
  std::vector<std::size_t> left;
  for (std::size_t p : distinct_)
    if (AskedAs(pool_[p], direction_).answer != right) left.push_back(p);
  for (std::size_t& d : distractors_) {
    if (left.empty()) {
      d = 0;  // never, once the pool has enough of them
      continue;
    }
    const auto k = static_cast<std::size_t>(random.Below(static_cast<int>(left.size())));
    d = left[k];
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
  }
}

void Round::DrawRightButton(ui::Random& random) {
  right_button_ = random.Below(kAnswerButtons);
}

bool Round::IsRight(const std::string& answer) const {
  const std::string& question = Question();
  for (std::size_t d : distractors_) {
    const Asked asked = AskedAs(pool_[d], direction_);
    if (asked.question == question && asked.answer == answer) return true;
  }
  return AskedAs(Slot(), direction_).answer == answer;
}

bool Round::Advance() {
  tally_.Acted();
  tally_.Tell(Slot(), true);
  if (slot_ == slot_count_ - 1) return false;
  ++slot_;
  tally_.NextQuestion();
  return true;
}

void Round::CountMistake() {
  ++mistakes_;
  tally_.Acted();
  tally_.Tell(Slot(), false);
}

void Round::Fall() {
  ++mistakes_;
  tally_.TellMissed(Slot());
}

void Round::Tick(bool in_play) {
  ++elapsed_;
  if (in_play) tally_.Tick();
}

const std::string& Round::Answer(int button) const {
  if (button == right_button_) return AskedAs(Slot(), direction_).answer;
  // The distractors keep their order and fill the buttons the right answer leaves free.
  const int k = button < right_button_ ? button : button - 1;
  return AskedAs(pool_[distractors_[static_cast<std::size_t>(k)]], direction_).answer;
}

}  // namespace quiz
