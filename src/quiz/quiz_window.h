// The translation quiz window: a question falls while four buttons offer answers.
#pragma once

#include "quiz/round.h"
#include "shell/game_window.h"

namespace quiz {

// The answer buttons: one row of four, 2670 twips apart.
inline constexpr int kAnswerLeft = 1200;
inline constexpr int kAnswerStep = 2670;
inline constexpr int kAnswerTop = 6600;
inline constexpr int kAnswerWidth = 2100;
inline constexpr int kAnswerHeight = 900;

// The falling question: 60 twips a tick, dropped once its top passes 6300.
inline constexpr int kFallStep = 60;
inline constexpr int kDropTop = 6300;

// Where the question may start: a long question gets a narrower range so that it stays
// inside the window.
inline constexpr int kQuestionLeftMin = 2500;
inline constexpr int kLongQuestionChars = 8;
inline constexpr int kLongLeftRange = 3000;
inline constexpr int kShortLeftRange = 6000;

class QuizWindow : public shell::GameWindow {
 public:
  explicit QuizWindow(shell::Shell& shell);

  void Load() override;
  void OnClose() override;

 private:
  // The table of what each screen shows, and which direction button is enabled.
  void ShowControls(Screen screen) override;

  void OnChooseBook() override;
  // A direction button: the other side is asked from now on, and a new round of the same
  // kind starts.
  void OnChooseDirection(Direction direction);
  void OnAnswer(int answer);
  // A key no control took: 1 to 4 answer with the buttons left to right.
  void OnKey(int key);
  void OnTick() override;

  // The round: the slots from the chosen group or the words to review, asked in the direction
  // in use among distractors of the book (or of the journal, when no book is loaded),
  // shuffled, asked one after another.
  bool StartRound() override;
  // A review needs three different wrong answers for each of its words.
  std::string CannotReview(const std::vector<books::Word>& words) override;
  void ShuffleRound();
  void NextQuestion();
  void ShowQuestion();
  // After the last right answer: the report, then the same slots in a new order.
  void EndRound();
  shell::Tally& Grades() override { return round_.Tally(); }
  // The word asked.
  std::optional<books::Word> KnownWord(const ui::Attention& attention) override;

  bool AsksEnglish() const { return direction_ == Direction::EnglishToChinese; }
  ui::Button& DirectionButton(Direction direction);

  ui::ButtonArray answers_{"answers", kAnswerButtons};
  ui::Label question_{"question"};  // falls towards the answers

  Direction direction_ = Direction::EnglishToChinese;
  Round round_;
  // The distractors of a review round when no book is loaded: the journal's words.
  std::vector<books::Word> journal_words_;
};

}  // namespace quiz
