#include "quiz/round.h"

#include <utility>

namespace quiz {

void Round::SetSlots(std::span<const books::Word> words, std::span<const books::Word> pool,
                     Direction direction) {
  pool_ = pool;
  direction_ = direction;
  for (std::size_t i = 0; i < slots_.size(); ++i)
    slots_[i] = i < words.size() ? words[i] : books::Word{};
}

void Round::Shuffle(ui::Random& random) {
  std::array<std::size_t, kRoundSlots> order{};
  std::array<bool, kRoundSlots> taken{};
  for (std::size_t& p : order) {
    do {
      p = static_cast<std::size_t>(random.Below(kRoundSlots));
    } while (taken[p]);
    taken[p] = true;
  }
  const auto slots = slots_;
  for (std::size_t i = 0; i < slots_.size(); ++i) slots_[i] = slots[order[i]];
  slot_ = 0;
  elapsed_ = 0;
  mistakes_ = 0;
  told_ = false;
}

void Round::DrawDistractors(ui::Random& random) {
  for (std::size_t& d : distractors_)
    d = static_cast<std::size_t>(random.Below(static_cast<int>(pool_.size())));
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
  Tell(true);
  if (slot_ == kRoundSlots - 1) return false;
  ++slot_;
  told_ = false;
  return true;
}

void Round::CountMistake() {
  ++mistakes_;
  Tell(false);
}

void Round::Tell(bool good) {
  if (told_) return;
  told_ = true;
  if (!Slot().Empty()) outcomes_.push_back({Slot(), good});
}

std::vector<Round::Outcome> Round::TakeOutcomes() {
  return std::exchange(outcomes_, {});
}

const std::string& Round::Answer(int button) const {
  if (button == right_button_) return AskedAs(Slot(), direction_).answer;
  // The distractors keep their order and fill the buttons the right answer leaves free.
  const int k = button < right_button_ ? button : button - 1;
  return AskedAs(pool_[distractors_[static_cast<std::size_t>(k)]], direction_).answer;
}

}  // namespace quiz
