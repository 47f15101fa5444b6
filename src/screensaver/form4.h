// The screen saver window: three large captions wander and change colour.
#pragma once

#include "shell/mode_window.h"

namespace screensaver {

class Form4 : public shell::ModeWindow {
 public:
  explicit Form4(shell::Shell& shell);

  ui::Timer* ModeTimer() override { return &Timer1; }
  void Form_Load() override;
  void Form_Unload() override;

  ui::Label Label1{"Label1"};
  ui::Label Label2{"Label2"};
  ui::Label Label3{"Label3"};
  ui::Timer Timer1{"Timer1"};
};

}  // namespace screensaver
