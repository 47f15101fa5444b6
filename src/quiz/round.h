// One round of the translation quiz, without any control: 18 slots of a question and its
// answer asked in a random order, the three distractors of the question on show, where its
// right answer stands among the four, and judging an answer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "books/word_book.h"
#include "ui/random.h"

namespace quiz {

// Slots 1 to 18 of a round; slot 0 belongs to no round.
inline constexpr int kRoundSlots = books::kGroupSize;
inline constexpr int kAnswerButtons = 4;
inline constexpr int kDistractors = 3;

class Round {
 public:
  // The slots of a new round, asked from slot 1: slot i asks words[i - 1].english and
  // expects words[i - 1].chinese; the slots past the words stay empty. The distractors are
  // drawn from the records of `pool`, whose sides must be the round's question and answer
  // sides too; it must outlive the round's use.
  void SetSlots(const std::vector<books::Word>& words, const books::WordBook& pool);

  // A new order of the slots: p(i) for i = 1 to 18 from floor(r * 18) + 1, drawn again while
  // an earlier slot already has it; slot i then holds what slot p(i) held. The round starts
  // again at its first question.
  void Shuffle(ui::Random& random);

  // Three distractor records for the question on show, each drawn from the whole pool.
  void DrawDistractors(ui::Random& random);
  // Where the right answer stands among the four buttons, from 0 to 3.
  void DrawRightButton(ui::Random& random);

  // Whether `answer` answers the question on show: the slot's own answer, or the answer side
  // of a distractor whose question side is the question on show.
  bool IsRight(const std::string& answer) const;

  // After a right answer: the next slot. False when that was the last one.
  bool Advance();

  // Counts a mistake: a wrong answer or a question that fell to the bottom.
  void CountMistake();

  // How the learner did on a question, told once a question: Again at its first mistake, Good
  // when it was answered right at once. `word` holds the question side as its English entry
  // and the answer side as its meaning; empty slots are no words.
  struct Outcome {
    books::Word word;
    bool good;
  };
  // The answers since the last call.
  std::vector<Outcome> TakeOutcomes();
  void Tick() { ++elapsed_; }

  const std::string& Question() const { return questions_[question_no_]; }
  // The caption of answer button `button`: the right answer at its place, the distractors
  // in their order on the others.
  const std::string& Answer(int button) const;

  int QuestionNo() const { return question_no_; }  // 1 to 18
  int Elapsed() const { return elapsed_; }         // tenths of a second
  int Mistakes() const { return mistakes_; }

 private:
  std::array<std::string, kRoundSlots + 1> questions_;
  std::array<std::string, kRoundSlots + 1> answers_;
  std::array<int, kDistractors> distractors_{};  // record numbers of the pool
  const books::WordBook* pool_ = nullptr;
  int right_button_ = 0;
  bool told_ = false;              // the question on show was told
  std::vector<Outcome> outcomes_;  // not taken yet
  int question_no_ = 1;
  int elapsed_ = 0;
  int mistakes_ = 0;

  void Tell(bool good);
};

}  // namespace quiz
