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
  // Which side is asked: "英译汉" asks the English entries, "汉译英" the Chinese meanings.
  enum class Direction { EnglishToChinese, ChineseToEnglish };

  // Shows `screen` from the table of what each screen shows and which direction button is
  // enabled; the clock runs in play alone.
  void ShowScreen(Screen screen) override;
  // The same without touching the clock.
  void ShowControls(Screen screen);

  void LoadWordBook() override;
  // A direction button: the sides change places and a new round of the same group starts.
  void OnChooseDirection(Direction direction);
  void OnAnswer(int answer);
  // A key no control took: 1 to 4 answer with the buttons left to right.
  void OnKey(int key);
  void OnTick() override;

  // The round: fill the slots from the chosen group or the words to review (asked in the
  // direction in use), shuffle them, ask one after another.
  void PrepareRound() override;
  void ShuffleRound();
  void NextQuestion();
  void ShowQuestion();
  // After the eighteenth right answer: the report, then the same slots in a new order.
  void EndRound();
  // Records the answers the round has told since the last time, each word English first.
  void RecordOutcomes();

  // Exchanges the two sides of every record, through slot 0 of the English entries.
  void ExchangeSides();
  bool AsksEnglish() const { return direction_ == Direction::EnglishToChinese; }
  ui::Button& DirectionButton(Direction direction);

  ui::ButtonArray answers_{"answers", kAnswerButtons};
  ui::Label question_{"question"};  // falls towards the answers

  Direction direction_ = Direction::EnglishToChinese;
  Round round_;
  // The distractors of a review round when no book is loaded: the journal's words, in the
  // direction in use.
  books::WordBook review_pool_;
};

}  // namespace quiz
