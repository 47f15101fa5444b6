// The two-way dictionary window: one query matched against both sides of every entry.
#pragma once

#include "shell/book_window.h"

namespace dictionary {

class Form3 : public shell::BookWindow {
 public:
  explicit Form3(shell::Shell& shell);

  void Form_Load() override;
  void Form_Unload() override;

  // Back to the book list: only List1 and "选择" are shown.
  void ShowBookChoice() override;
  // Switches to the lookup screen, titles the window with the selected label, reads the book
  // and looks the current query up in it.
  void LoadWordBook() override;
  // Lists every entry holding the query on either side in Text2, then beeps.
  void LookUpWord();

  void Command5_Click() { LookUpWord(); }
  // Enter looks the query up; the key itself goes on to the box as usual.
  void Text1_KeyPress(int KeyAscii);

  ui::TextBox Text1{"Text1"};  // the query
  ui::TextBox Text2{"Text2"};  // the results, multi-line
};

}  // namespace dictionary
