#include "shell/shell.h"

#include <algorithm>
#include <utility>

namespace shell {

Shell::Shell(ui::Platform& platform, ui::Random& random, Factory factory,
             ShowProgress show_progress)
    : platform_(platform),
      random_(random),
      factory_(std::move(factory)),
      practice_(platform, std::move(show_progress)) {}

void Shell::Start() {
  ModeWindow& first = Use(Mode::Match);
  ui::Window& w = first.Window();
  ui::Size screen = platform_.ScreenSize();
  w.Move(std::max(0, (screen.width - w.Width()) / 2), std::max(0, (screen.height - w.Height()) / 2),
         w.Width(), w.Height());
  w.Show();
}

ModeWindow& Shell::Use(Mode mode) {
  auto& slot = windows_[Index(mode)];
  if (!slot) {
    slot = factory_(mode, *this);
    platform_.Attach(slot->Window());
    slot->Load();
  }
  return *slot;
}

void Shell::SwitchMode(ModeWindow& current, Mode target) {
  if (ui::Timer* timer = current.Clock()) timer->SetEnabled(false);
  ui::Window& from = current.Window();
  from.Hide();
  ModeWindow& next = Use(target);
  ui::Window& to = next.Window();
  to.SetLeft(from.Left());
  to.SetTop(from.Top());
  if (ui::Timer* timer = next.Clock()) timer->SetEnabled(true);
  to.Show();
}

void Shell::ShowRandomBackground(ui::Window& window) {
  window.SetPicture(nullptr);
  int n = random_.Below(20);
  window.SetPicture(
      platform_.LoadPicture(platform_.ProgramDirectory() + "/Pic/" + std::to_string(n) + ".jpg"));
}

std::string TimeText(int tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace shell
