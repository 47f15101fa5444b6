#include "shell/game_window.h"

#include "shell/shell.h"

namespace shell {

GameWindow::GameWindow(Shell& shell, const std::string& form_name)
    : BookWindow(shell, form_name, books::BookCatalogue()) {
  form_.Add(List2);
  form_.Add(Command2);
  form_.Add(Timer1);
  Command2.OnClick = [this] { Command2_Click(); };
  List2.OnDblClick = [this] { List2_DblClick(); };
  Command5.OnClick = [this] { Command5_Click(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  PressOnEnter(List2, Command2);
}

void GameWindow::SetUpGroupControls() {
  List2.Move(5400, 2200, 1000, 3000);
  List2.SetAccessibleName("组");
  Command2.Move(5400, 5700, kButtonWidth, kButtonHeight);
  Command2.SetCaption("选组");
  Timer1.SetInterval(100);
}

void GameWindow::FillGroupList() {
  int last = Book.WordCount / kGroupSize + (Book.WordCount % kGroupSize != 0 ? 1 : 0);
  List2.Clear();
  for (int i = 0; i <= last; ++i) List2.AddItem(std::to_string(i));
}

std::vector<int> GameWindow::PickGroupRecords() {
  std::vector<int> picks;
  const int g = List2.ListIndex();
  if (g < 0 || Book.WordCount < 1) return picks;
  const bool short_group = Book.WordCount % kGroupSize != 0 && g == List2.ListCount() - 1;
  for (int k = 0; k < kGroupSize; ++k) {
    if (g == 0) {
      picks.push_back(random_.Below(Book.WordCount) + 1);
      continue;
    }
    int x = (g - 1) * kGroupSize + k + 1;
    picks.push_back(x);
    if (short_group && x == Book.WordCount) break;
  }
  return picks;
}

void GameWindow::ReportRound() {
  TimeText = shell::TimeText(Elapsed);
  if (Elapsed < BestTime && Mistakes == 0) BestTime = Elapsed;
  Timer1.SetEnabled(false);
  platform_.ShowMessage("本局共 18 个单词\r\n您共错了 " + std::to_string(Mistakes) +
                        " 次\r\n本局用时 " + TimeText + " 秒");
}

void GameWindow::SayFarewell(const std::string& mode_name) {
  Timer1.SetEnabled(false);
  std::string best = "无最好成绩";
  if (BestTime != kNoBestTime) {
    TimeText = shell::TimeText(BestTime);
    best = "最好成绩为 " + TimeText + " 秒";
  }
  platform_.ShowMessage("本次" + mode_name + "\r\n" + best + "\r\nGood-Bye!");
  EndProgram();
}

}  // namespace shell
