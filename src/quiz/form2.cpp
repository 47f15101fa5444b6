#include "quiz/form2.h"

#include "shell/shell.h"

namespace quiz {

Form2::Form2(shell::Shell& shell) : GameWindow(shell, "Form2") {
  form_.Add(Command2_5);
  form_.Add(Label1);
  form_.Add(Command1);
  Command3.OnClick = [this] { Command3_Click(); };
  List1.OnDblClick = [this] { List1_DblClick(); };
}

void Form2::Form_Load() {
  SetUpWindow("Kestrin之英汉互译V3.6", true);
  SetUpBookControls("选书", "换组词", "换本书");
  SetUpGroupControls();
  PlaceModeButton(Command2_1, 0, "连连看");
  PlaceModeButton(Command2_2, 1, "英译汉");
  PlaceModeButton(Command2_3, 2, "汉译英");
  PlaceModeButton(Command2_4, 3, "双向词典");
  PlaceModeButton(Command2_5, 4, "屏幕保护");
  ConnectModeButton(Command2_1, shell::Mode::Match);
  ConnectModeButton(Command2_4, shell::Mode::Dictionary);
  ConnectModeButton(Command2_5, shell::Mode::ScreenSaver);
  Command2_2.SetEnabled(false);
  BestTime = shell::kNoBestTime;
  ShowBookChoice();
}

void Form2::Form_Unload() { SayFarewell("英汉互译"); }

void Form2::ShowBookChoice() {
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  ShowModeColumn(false);
  Command2_5.SetVisible(false);
  Label1.SetVisible(false);
  for (int i = 0; i < Command1.Count(); ++i) Command1[i].SetVisible(false);
  Command2.SetVisible(false);
  List2.SetVisible(false);
  Timer1.SetEnabled(false);
  Command3.SetVisible(true);
  List1.SetVisible(true);
}

void Form2::LoadWordBook() {
  Command3.SetVisible(false);
  List1.SetVisible(false);
  List2.SetVisible(true);
  Command2.SetVisible(true);
  ReadSelectedBook();
  FillGroupList();
}

}  // namespace quiz
