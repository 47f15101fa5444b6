#include "quiz/round.h"

#include <utility>

namespace quiz {

void Round::SetSlots(const std::vector<books::Word>& words, const books::WordBook& pool) {
  pool_ = &pool;
  for (int i = 1; i <= kRoundSlots; ++i) {
    const auto word = static_cast<std::size_t>(i - 1);
    questions_[i] = word < words.size() ? words[word].english : std::string();
    answers_[i] = word < words.size() ? words[word].chinese : std::string();
  }
}

void Round::Shuffle(ui::Random& random) {
  std::array<int, kRoundSlots + 1> order{};
  std::array<bool, kRoundSlots + 1> taken{};
  for (int i = 1; i <= kRoundSlots; ++i) {
    int p;
    do {
      p = random.Below(kRoundSlots) + 1;
    } while (taken[p]);
    taken[p] = true;
    order[i] = p;
  }
  const auto questions = questions_;
  const auto answers = answers_;
  for (int i = 1; i <= kRoundSlots; ++i) {
    questions_[i] = questions[order[i]];
    answers_[i] = answers[order[i]];
  }
  question_no_ = 1;
  elapsed_ = 0;
  mistakes_ = 0;
  told_ = false;
}

void Round::DrawDistractors(ui::Random& random) {
  for (int& record : distractors_) record = random.Below(pool_->word_count) + 1;
}

void Round::DrawRightButton(ui::Random& random) {
  right_button_ = random.Below(kAnswerButtons);
}

bool Round::IsRight(const std::string& answer) const {
  const std::string& question = Question();
  for (int record : distractors_) {
    const auto r = static_cast<std::size_t>(record);
    if (pool_->english_entries[r] == question && pool_->chinese_meanings[r] == answer) return true;
  }
  return answers_[question_no_] == answer;
}

bool Round::Advance() {
  Tell(true);
  if (question_no_ == kRoundSlots) return false;
  ++question_no_;
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
  books::Word word{questions_[question_no_], answers_[question_no_]};
  if (!word.english.empty() || !word.chinese.empty()) outcomes_.push_back({std::move(word), good});
}

std::vector<Round::Outcome> Round::TakeOutcomes() {
  return std::exchange(outcomes_, {});
}

const std::string& Round::Answer(int button) const {
  if (button == right_button_) return answers_[question_no_];
  // The distractors keep their order and fill the buttons the right answer leaves free.
  const int k = button < right_button_ ? button : button - 1;
  return pool_->chinese_meanings[static_cast<std::size_t>(distractors_[k])];
}

}  // namespace quiz
