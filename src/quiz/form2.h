// The translation quiz window: a question falls while four buttons offer answers.
#pragma once

#include <string>

#include "shell/game_window.h"

namespace quiz {

class Form2 : public shell::GameWindow {
 public:
  explicit Form2(shell::Shell& shell);

  void Form_Load() override;
  void Form_Unload() override;

  void ShowBookChoice();
  void LoadWordBook();
  void Command3_Click() { LoadWordBook(); }
  void List1_DblClick() { LoadWordBook(); }

  ui::Button Command2_5{"Command2_5"};
  ui::ButtonArray Command1{"Command1", 4};  // the answer buttons
  ui::Label Label1{"Label1"};               // the falling question
};

}  // namespace quiz
