// The match game window: pairs of English entries and Chinese meanings on a 6 x 6 board.
#pragma once

#include <array>
#include <string>

#include "shell/game_window.h"

namespace match {

class Form1 : public shell::GameWindow {
 public:
  explicit Form1(shell::Shell& shell);

  void Form_Load() override;
  void Form_Unload() override;

  void ShowBookChoice();
  void LoadWordBook();
  void Command3_Click() { LoadWordBook(); }
  void List1_DblClick() { LoadWordBook(); }

  ui::ButtonArray Command1{"Command1", 36};  // the board cells
  ui::Label Label1{"Label1"};                // the selection marker
  ui::Label Label2{"Label2"};                // the time bar
};

}  // namespace match
