#include "dictionary/form3.h"

#include "shell/shell.h"

namespace dictionary {

Form3::Form3(shell::Shell& shell) : BookWindow(shell, "Form3", books::DictionaryCatalogue()) {
  form_.Add(Text1);
  form_.Add(Text2);
  Command3.OnClick = [this] { Command3_Click(); };
  List1.OnDblClick = [this] { List1_DblClick(); };
}

void Form3::Form_Load() {
  SetUpWindow("Kestrin之双向词典V3.6", false);
  SetUpBookControls("选择", "查单词", "换一本书");
  SetUpModeColumn(shell::Mode::Dictionary);
  Text1.Move(2700, 1300, 7500, 300);
  Text1.SetText("Text1");
  Text2.Move(2700, 2000, 7500, 5000);
  Text2.SetMultiLine(true);
  ShowBookChoice();
}

void Form3::Form_Unload() { EndProgram(); }

void Form3::ShowBookChoice() {
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  ShowModeColumn(false);
  Text1.SetVisible(false);
  Text2.SetVisible(false);
  Command3.SetVisible(true);
  List1.SetVisible(true);
}

void Form3::LoadWordBook() {
  Command3.SetVisible(false);
  List1.SetVisible(false);
  Command5.SetVisible(true);
  Command6.SetVisible(true);
  ShowModeColumn(true);
  Text1.SetVisible(true);
  Text2.SetVisible(true);
  form_.SetCaption("Kestrin之双向词典V3.6 - " + List1.Text());
  ReadSelectedBook();
}

}  // namespace dictionary
