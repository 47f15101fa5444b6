#include "match/form1.h"

#include "shell/shell.h"

namespace match {

Form1::Form1(shell::Shell& shell) : GameWindow(shell, "Form1") {
  form_.Add(Label1);
  form_.Add(Label2);
  form_.Add(Command1);
  Command3.OnClick = [this] { Command3_Click(); };
  List1.OnDblClick = [this] { List1_DblClick(); };
}

void Form1::Form_Load() {
  SetUpWindow("Kestrin之连连看V3.6", true);
  SetUpBookControls("选书", "换组词", "换本书");
  SetUpGroupControls();
  SetUpModeColumn(shell::Mode::Match);
  BestTime = shell::kNoBestTime;
  ShowBookChoice();
}

void Form1::Form_Unload() { SayFarewell("连连看"); }

void Form1::ShowBookChoice() {
  for (int i = 0; i < Command1.Count(); ++i) Command1[i].SetVisible(false);
  Command3.SetVisible(true);
  Command2.SetVisible(false);
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  ShowModeColumn(false);
  Timer1.SetEnabled(false);
  Label1.SetVisible(false);
  Label2.SetVisible(false);
  List1.SetVisible(true);
  List2.SetVisible(false);
}

void Form1::LoadWordBook() {
  Command3.SetVisible(false);
  List1.SetVisible(false);
  List2.SetVisible(true);
  Command2.SetVisible(true);
  for (int i = 0; i < Command1.Count(); ++i) Command1[i].SetVisible(false);
  ShowModeColumn(false);
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  Label2.SetVisible(false);
  Timer1.SetEnabled(false);
  ReadSelectedBook();
  FillGroupList();
}

}  // namespace match
