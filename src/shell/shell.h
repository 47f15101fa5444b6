// The four mode windows as a set: program start, switching between modes, program end.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "shell/mode_window.h"
#include "shell/practice.h"
#include "ui/platform.h"
#include "ui/random.h"

namespace shell {

class Shell {
 public:
  using Factory = std::function<std::unique_ptr<ModeWindow>(Mode, Shell&)>;

  // `show_progress` shows the progress window; without it none is offered.
  Shell(ui::Platform& platform, ui::Random& random, Factory factory,
        ShowProgress show_progress = nullptr);

  // Creates the match window, loads it and shows it.
  void Start();

  // Leaves `current` for the window of `target`, creating that window on its first use.
  void SwitchMode(ModeWindow& current, Mode target);

  // The window of `mode`, or null while it has not been used.
  ModeWindow* Find(Mode mode) const { return windows_[Index(mode)].get(); }

  ui::Platform& Platform() { return platform_; }
  ui::Random& Random() { return random_; }
  // The learner's practice, kept across runs; shared by the windows.
  shell::Practice& Practice() { return practice_; }

  // Clears the window's picture and shows Pic/N.jpg, N = floor(r * 20).
  void ShowRandomBackground(ui::Window& window);

 private:
  static std::size_t Index(Mode mode) { return static_cast<std::size_t>(mode); }
  // The window of `mode`; its first use creates it and runs its Load.
  ModeWindow& Use(Mode mode);

  ui::Platform& platform_;
  ui::Random& random_;
  Factory factory_;
  shell::Practice practice_;
  std::array<std::unique_ptr<ModeWindow>, kModeCount> windows_;
};

// "12.3" for 123 tenths of a second: t div 10, ".", t mod 10.
std::string TimeText(int tenths);

}  // namespace shell
