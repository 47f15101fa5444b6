#include "shell/mode_window.h"

#include "shell/shell.h"
#include "text/text.h"

namespace shell {

ModeWindow::ModeWindow(Shell& shell, const std::string& form_name)
    : shell_(shell),
      platform_(shell.Platform()),
      random_(shell.Random()),
      form_(form_name, shell.Platform()) {
  for (ui::Button* b : {&Command2_1, &Command2_2, &Command2_3, &Command2_4}) form_.Add(*b);
  form_.OnUnload = [this] { Form_Unload(); };
}

void ModeWindow::SetUpWindow(const std::string& title, bool reseed) {
  form_.SetWidth(kWindowWidth);
  form_.SetHeight(kWindowHeight);
  form_.SetCaption(title);
  if (reseed) random_.Reseed(platform_.ClockSeed());
}

void ModeWindow::PlaceModeButton(ui::Button& button, int row, const std::string& caption) {
  button.Move(kColumnLeft, kModeColumnTop + row * kButtonHeight, kButtonWidth, kButtonHeight);
  button.SetCaption(caption);
}

void ModeWindow::ConnectModeButton(ui::Button& button, Mode target) {
  button.OnClick = [this, target] { shell_.SwitchMode(*this, target); };
}

void ModeWindow::SetUpModeColumn(Mode own) {
  static const char* const kCaptions[] = {"连连看", "英汉互译", "双向词典", "屏幕保护"};
  ui::Button* buttons[] = {&Command2_1, &Command2_2, &Command2_3, &Command2_4};
  for (int row = 0; row < 4; ++row) {
    PlaceModeButton(*buttons[row], row, kCaptions[row]);
    auto mode = static_cast<Mode>(row);
    if (mode == own)
      buttons[row]->SetEnabled(false);
    else
      ConnectModeButton(*buttons[row], mode);
  }
}

void ModeWindow::ShowModeColumn(bool shown) {
  for (ui::Button* b : {&Command2_1, &Command2_2, &Command2_3, &Command2_4}) b->SetVisible(shown);
}

void ModeWindow::ShowRandomBackground() {
  shell_.ShowRandomBackground(form_);
}

void ModeWindow::EndProgram() {
  platform_.EndProgram();
}

void ModeWindow::ListenForSpeech(std::function<std::string(const ui::SpeechRequest&)> target) {
  form_.OnSpeechRequest = [this, target = std::move(target)](const ui::SpeechRequest& request) {
    Say(target(request));
  };
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
