// One round of the translation quiz, without any control: 18 slots of a word asked in one
// direction, in a random order, the three distractors of the question on show, where its
// right answer stands among the four, and judging an answer.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "books/word_book.h"
#include "shell/tally.h"
#include "ui/random.h"

namespace quiz {

inline constexpr int kRoundSlots = books::kGroupSize;
inline constexpr int kAnswerButtons = 4;
inline constexpr int kDistractors = 3;

// Which side is asked: "英译汉" asks the English entries, "汉译英" the Chinese meanings.
enum class Direction { EnglishToChinese, ChineseToEnglish };

// A word as a question in `direction` sees it: the side asked, and the side that answers.
struct Asked {
  const std::string& question;
  const std::string& answer;
};
inline Asked AskedAs(const books::Word& word, Direction direction) {
  if (direction == Direction::EnglishToChinese) return {word.english, word.chinese};
  return {word.chinese, word.english};
}

class Round {
 public:
  // The slots of a new round, asked in `direction`: slot i asks words[i] (words past the
  // slots are left out). A group's round has kRoundSlots slots, those past its words empty; a
  // round of the words alone a slot for each word. The distractors are drawn from `pool`,
  // asked in the same direction; it must outlive the round's use, and for a round of the
  // words alone hold enough distractors for each of them (Distractors()).
  void SetSlots(std::span<const books::Word> words, std::span<const books::Word> pool,
                Direction direction, shell::RoundSize size = shell::RoundSize::Group);

  // A new order of the slots: p(i) for each slot i in turn from floor(r * Words()), drawn
  // again while an earlier slot already has it; slot i then holds what slot p(i) held. The
  // round starts again at its first question.
  void Shuffle(ui::Random& random);

  // Three distractors for the question on show. A group's round draws each from the whole
  // pool; a round of the words alone draws three different answer texts of the pool, none of
  // them the right answer's text.
  void DrawDistractors(ui::Random& random);
  // Where the right answer stands among the four buttons, from 0 to 3.
  void DrawRightButton(ui::Random& random);

  // Whether `answer` answers the question on show: the slot's own answer, or the answer side
  // of a distractor whose asked side is the question on show.
  bool IsRight(const std::string& answer) const;

  // After a right answer: the next slot. False when that was the last one.
  bool Advance();

  // A wrong answer: a mistake.
  void CountMistake();
  // The question fell to the bottom: a mistake too.
  void Fall();

  // How the learner did on a word, told once a question: Again at its first wrong answer or
  // when it fell while the learner was playing, Good when it was answered right at once.
  // Empty slots are no words.
  shell::Tally& Tally() { return tally_; }
  // One tick of the clock; `in_play` while the question falls.
  void Tick(bool in_play);

  // The word asked now.
  const books::Word& Slot() const { return slots_[static_cast<std::size_t>(slot_)]; }
  const std::string& Question() const { return AskedAs(Slot(), direction_).question; }
  // The caption of answer button `button`: the right answer at its place, the distractors
  // in their order on the others.
  const std::string& Answer(int button) const;

  int QuestionNo() const { return slot_ + 1; }  // 1 to Words(), as the questions are counted
  int Elapsed() const { return elapsed_; }      // tenths of a second
  int Mistakes() const { return mistakes_; }
  // The words the round asks: one a slot, the empty ones of a group too.
  int Words() const { return slot_count_; }

  // The places in `pool` of its different answer texts in `direction`, each its first:
  // what a round of the words alone draws its distractors from. It needs kDistractors of them
  // besides the right answer's text, for every word it asks.
  static std::vector<std::size_t> Distractors(std::span<const books::Word> pool,
                                              Direction direction);
  static bool EnoughDistractors(std::span<const books::Word> words,
                                std::span<const books::Word> pool, Direction direction);

 private:
  std::array<books::Word, kRoundSlots> slots_;
  std::array<std::size_t, kDistractors> distractors_{};  // places in the pool
  std::span<const books::Word> pool_;
  std::vector<std::size_t> distinct_;  // Distractors() of the pool, for the words alone
  Direction direction_ = Direction::EnglishToChinese;
  shell::RoundSize size_ = shell::RoundSize::Group;
  int slot_count_ = kRoundSlots;
  int right_button_ = 0;
  shell::Tally tally_;
  int slot_ = 0;  // the slot asked now
  int elapsed_ = 0;
  int mistakes_ = 0;
};

}  // namespace quiz
