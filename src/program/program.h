// The whole program without its toolkit: the shell and the four mode windows.
#pragma once

#include "shell/shell.h"

namespace program {

// Creates the window of a mode; the shell calls it on the mode's first use.
std::unique_ptr<shell::ModeWindow> MakeModeWindow(shell::Mode mode, shell::Shell& shell);

class Program {
 public:
  // `progress_view` shows the progress window; null offers none.
  Program(ui::Platform& platform, ui::Random& random,
          shell::ProgressView* progress_view = nullptr)
      : shell_(platform, random, &MakeModeWindow, progress_view) {}
  // Shows the match window, the one the program starts with.
  void Start() { shell_.Start(); }
  shell::Shell& Shell() { return shell_; }

 private:
  shell::Shell shell_;
};

}  // namespace program
