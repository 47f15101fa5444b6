#include "dictionary/form3.h"

#include "dictionary/lookup.h"
#include "shell/shell.h"

namespace dictionary {
namespace {

constexpr std::string_view kNothingFound = "查询无果！";

}  // namespace

Form3::Form3(shell::Shell& shell) : BookWindow(shell, "Form3", books::DictionaryCatalogue()) {
  form_.Add(Text1);
  form_.Add(Text2);
  Command5.OnClick = [this] { Command5_Click(); };
  Text1.OnKeyPress = [this](int key) { Text1_KeyPress(key); };
}

void Form3::Form_Load() {
  SetUpWindow("Kestrin之双向词典V3.6", false);
  SetUpBookControls("选择", "查单词", "换一本书");
  SetUpModeColumn(shell::Mode::Dictionary);
  const ui::Font font{"宋体", 10.5};
  Text1.Move(2700, 1300, 7500, 300);
  Text1.SetFont(font);
  Text1.SetAccessibleName("查询");
  Text1.SetText("Text1");
  Text2.Move(2700, 2000, 7500, 5000);
  Text2.SetFont(font);
  Text2.SetAccessibleName("结果");
  Text2.SetMultiLine(true);  // shown with a vertical scroll bar
  ShowBookChoice();
}

void Form3::Form_Unload() {
  EndProgram();
}

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
  LookUpWord();
}

void Form3::LookUpWord() {
  ShowRandomBackground();
  // The result is built apart and put into the box in one go: a long list (every entry of
  // a full book) then costs a single update of the box instead of one per hit.
  const BlockStyle style =
      List1.Text() == books::kIdiomBookLabel ? BlockStyle::WholeLine : BlockStyle::TwoLines;
  std::string result = FindEntries(Book, Text1.Text(), style);
  if (result.empty()) result = kNothingFound;
  // Emptied first, so that every lookup shows its result from the top, even the same text.
  Text2.SetText(std::string());
  Text2.SetText(std::move(result));
  platform_.Beep();
}

void Form3::Text1_KeyPress(int KeyAscii) {
  if (KeyAscii == ui::kEnterKey) LookUpWord();
}

}  // namespace dictionary
