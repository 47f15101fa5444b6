// The whole program without its toolkit: the shell and the four mode windows.
#pragma once

#include "shell/shell.h"

namespace program {

// Creates the window of a mode; the shell calls it on the mode's first use.
std::unique_ptr<shell::ModeWindow> MakeModeWindow(shell::Mode mode, shell::Shell& shell);

class Program {
 public:
  // `show_progress` shows the progress window; without it none is offered.
  Program(ui::Platform& platform, ui::Random& random, shell::ShowProgress show_progress = nullptr)
      : shell_(platform, random, &MakeModeWindow, std::move(show_progress)) {}
  // Shows the match window, the one the program starts with.
  void Start() { shell_.Start(); }
  shell::Shell& Shell() { return shell_; }

 private:
  shell::Shell shell_;
};

}  // namespace program
