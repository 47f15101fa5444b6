// What the two timed games (match game and quiz) share: the group list, the round clock, the
// best time of the run, the round report and the farewell.
#pragma once

#include <string>
#include <vector>

#include "shell/book_window.h"

namespace shell {

using books::kGroupSize;
inline constexpr int kNoBestTime = 10000;

class GameWindow : public BookWindow {
 public:
  GameWindow(Shell& shell, const std::string& form_name);

  ui::Timer* ModeTimer() override { return &Timer1; }

  ui::ListBox List2{"List2"};
  ui::Button Command2{"Command2"};
  ui::Timer Timer1{"Timer1"};

  int Elapsed = 0;             // tenths of a second in this round
  int Mistakes = 0;            // in this round
  int BestTime = kNoBestTime;  // best error-free round of the run, in tenths
  std::string TimeText;        // the last formatted time

  // "选组": starts play with the group selected in List2; "换组词": back to the group list.
  virtual void Command2_Click() = 0;
  virtual void Command5_Click() = 0;
  void List2_DblClick() { Command2_Click(); }
  // The round clock, every 100 ms while Timer1 runs.
  virtual void Timer1_Timer() = 0;

 protected:
  // Places List2 and Command2 ("选组") and gives Timer1 its 100 ms.
  void SetUpGroupControls();
  // Fills List2 with "0" to "k" for the loaded book, nothing selected.
  void FillGroupList();
  // The record numbers of a round of the selected group, in order: 18 independent draws for
  // group 0, the group's records otherwise (fewer for a short last group). Empty when no
  // group is selected.
  std::vector<int> PickGroupRecords();
  // The end of a won round: formats the time, keeps an error-free faster time as the best,
  // stops Timer1 and shows the round's report. The caller starts the next round.
  void ReportRound();
  // Form_Unload of both games: stops Timer1, shows the best time and ends the program.
  [[noreturn]] void SayFarewell(const std::string& mode_name);
};

}  // namespace shell
