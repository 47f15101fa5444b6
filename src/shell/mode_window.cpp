#include "shell/mode_window.h"

#include "shell/shell.h"
#include "text/text.h"

namespace shell {

ModeWindow::ModeWindow(Shell& shell, const std::string& name, int column_rows)
    : shell_(shell),
      platform_(shell.Platform()),
      practice_(shell.Practice()),
      random_(shell.Random()),
      window_(name, shell.Platform()) {
  for (int row = 0; row < column_rows; ++row) {
    mode_buttons_.push_back(std::make_unique<ui::Button>("mode_buttons_" + std::to_string(row)));
    window_.Add(*mode_buttons_.back());
  }
  window_.on_unload = [this] { OnClose(); };
}

void PlaceColumnButton(ui::Button& button, int top, const std::string& caption) {
  button.Move(kColumnLeft, top, kButtonWidth, kButtonHeight);
  button.SetCaption(caption);
}

void PressOnEnter(ui::ListBox& list, ui::Button& button) {
  list.on_key_press = [&list, &button](int key) {
    if (key == ui::kEnterKey && list.ListIndex() >= 0) button.Click();
  };
}

void ModeWindow::SetUpWindow(const std::string& title, Seed seed) {
  window_.SetWidth(kWindowWidth);
  window_.SetHeight(kWindowHeight);
  window_.SetCaption(title);
  if (seed == Seed::FromClock) random_.Reseed(platform_.ClockSeed());
}

void ModeWindow::PlaceModeButton(int row, const std::string& caption) {
  PlaceColumnButton(ModeButton(row), kModeColumnTop + row * kButtonHeight, caption);
}

void ModeWindow::ConnectModeButton(int row, Mode target) {
  ModeButton(row).on_click = [this, target] { shell_.SwitchMode(*this, target); };
}

void ModeWindow::SetUpModeColumn(Mode own) {
  static const char* const kCaptions[kModeCount] = {"连连看", "英汉互译", "双向词典", "屏幕保护"};
  for (int row = 0; row < kModeCount; ++row) {
    PlaceModeButton(row, kCaptions[row]);
    const auto mode = static_cast<Mode>(row);
    if (mode == own)
      ModeButton(row).SetEnabled(false);
    else
      ConnectModeButton(row, mode);
  }
}

void ModeWindow::ShowScreenTable(const std::vector<Shown>& table, bool column_shown) {
  for (const Shown& row : table) row.control->SetVisible(row.shown);
  for (const auto& button : mode_buttons_) button->SetVisible(column_shown);
}

std::string ModeWindow::Title(std::string_view title,
                              std::initializer_list<std::string_view> parts) {
  std::string text(title);
  for (std::string_view part : parts) (text += " - ") += part;
  return text;
}

void ModeWindow::ShowRandomBackground() {
  shell_.ShowRandomBackground(window_);
}

void ModeWindow::EndProgram() {
  platform_.EndProgram();
}

void ModeWindow::ListenForSpeech(std::function<std::string(const ui::Attention&)> target) {
  window_.on_speech_request = [this, target = std::move(target)](const ui::Attention& request) {
    Say(target(request));
  };
}

void ModeWindow::ListenForMenu(std::function<std::vector<ui::Window::MenuEntry>()> own) {
  window_.on_menu = [this, own = std::move(own)] {
    std::vector<ui::Window::MenuEntry> entries = own();
    for (ui::Window::MenuEntry& entry : practice_.MenuEntries(RoundClock()))
      entries.push_back(std::move(entry));
    return entries;
  };
}

void ModeWindow::AddShortcut(std::string key, std::function<void()> act) {
  AddShortcut(std::move(key), [act = std::move(act)](const ui::Attention&) { act(); });
}

void ModeWindow::AddShortcut(std::string key, std::function<void(const ui::Attention&)> act) {
  window_.shortcuts.push_back({std::move(key), std::move(act)});
}

void ModeWindow::Say(const std::string& text) {
  if (text::HasHan(text))
    platform_.Speak(text, ui::Language::Chinese);
  else if (text::HasLatinLetter(text))
    platform_.Speak(text, ui::Language::English);
}

void ModeWindow::SayUnasked(const std::string& text) {
  if (text::HasLatinLetter(text) && platform_.AutoSpeak()) Say(text);
}

}  // namespace shell
