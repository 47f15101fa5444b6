// The two-way dictionary window: one query matched against both sides of every entry.
#pragma once

#include "shell/book_window.h"

namespace dictionary {

class Form3 : public shell::BookWindow {
 public:
  explicit Form3(shell::Shell& shell);

  void Form_Load() override;
  void Form_Unload() override;

  void ShowBookChoice();
  void LoadWordBook();
  void Command3_Click() { LoadWordBook(); }
  void List1_DblClick() { LoadWordBook(); }

  ui::TextBox Text1{"Text1"};  // the query
  ui::TextBox Text2{"Text2"};  // the results
};

}  // namespace dictionary
