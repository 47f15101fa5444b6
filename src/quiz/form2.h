// The translation quiz window: a question falls while four buttons offer answers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shell/game_window.h"

namespace quiz {

// Slots 1 to 18 of a round; slot 0 belongs to no round.
inline constexpr int kRoundSlots = books::kGroupSize;
inline constexpr int kAnswerButtons = 4;
inline constexpr int kDistractors = 3;

// The falling label: 60 twips a tick, dropped once its top passes 6300.
inline constexpr int kFallStep = 60;
inline constexpr int kDropTop = 6300;

class Form2 : public shell::GameWindow {
 public:
  explicit Form2(shell::Shell& shell);

  void Form_Load() override;
  void Form_Unload() override;

  // The three screens and the moves between them.
  void ShowBookChoice() override;
  void LoadWordBook() override;
  void Command2_Click() override;
  void Command5_Click() override;

  // The direction buttons: "英译汉" and "汉译英".
  void Command2_2_Click();
  void Command2_3_Click();

  void Command1_Click(int Index);
  // A key no control took: 1 to 4 answer with the buttons left to right.
  void Form_KeyPress(int KeyAscii);
  void Timer1_Timer() override;

  // The round: fill the slots from the selected group, shuffle them, ask one after another.
  void PrepareRound();
  void ShuffleRound();
  void NextQuestion();
  void ShowQuestion();

  ui::Button Command2_5{"Command2_5"};
  ui::ButtonArray Command1{"Command1", kAnswerButtons};  // the answer buttons
  ui::Label Label1{"Label1"};                            // the falling question

  std::array<std::string, kRoundSlots + 1> RoundQuestions;
  std::array<std::string, kRoundSlots + 1> RoundAnswers;
  // Record numbers: the round's records while PrepareRound fills the slots, then the three
  // distractors of the question on show in slots 1 to 3.
  std::array<std::int32_t, kRoundSlots + 1> Picks{};
  int QuestionNo = 1;

 private:
  // Exchanges the two sides of every record, through slot 0 of EnglishEntries.
  void ExchangeSides();
  // A direction button was pressed: it becomes the disabled one, the sides change places and
  // a new round of the same group starts.
  void SwitchDirection(ui::Button& pressed, ui::Button& other);
  // Shows or hides everything that belongs to play: the left column, the label and the
  // answer buttons.
  void ShowPlayControls(bool shown);
  // After the eighteenth right answer: the report, then the same slots in a new order.
  void EndRound();
  bool IsRightAnswer(const std::string& answer) const;
  // "英译汉" is the direction in use: the questions are English entries.
  bool AsksEnglish() const { return !Command2_2.Enabled(); }
};

}  // namespace quiz
