// What the four mode windows have in common: the window, its column of mode-switch buttons,
// and access to the shell, the platform and the program's random source.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"
#include "ui/platform.h"
#include "ui/random.h"
#include "ui/window.h"

namespace shell {

class Shell;

enum class Mode { Match, Quiz, Dictionary, ScreenSaver };

// Every window is 12000 x 8550 twips.
inline constexpr int kWindowWidth = 12000;
inline constexpr int kWindowHeight = 8550;
// The left column of buttons.
inline constexpr int kColumnLeft = 500;
inline constexpr int kButtonWidth = 975;
inline constexpr int kButtonHeight = 375;
inline constexpr int kModeColumnTop = 2400;

class ModeWindow {
 public:
  ModeWindow(Shell& shell, const std::string& form_name);
  virtual ~ModeWindow() = default;
  ModeWindow(const ModeWindow&) = delete;
  ModeWindow& operator=(const ModeWindow&) = delete;

  ui::Window& Window() { return form_; }
  // The window's own timer, stopped and started by SwitchMode; null when it has none.
  virtual ui::Timer* ModeTimer() { return nullptr; }

  // First-time setup, run once when the window is first used.
  virtual void Form_Load() = 0;
  // The user closes the window; ends the program.
  virtual void Form_Unload() = 0;

  // The mode-switch column (a fifth button exists only in the quiz window).
  ui::Button Command2_1{"Command2_1"};
  ui::Button Command2_2{"Command2_2"};
  ui::Button Command2_3{"Command2_3"};
  ui::Button Command2_4{"Command2_4"};

 protected:
  // The shared first steps of Form_Load: size and title, and a reseed of the random source
  // from the clock for the windows that do so.
  void SetUpWindow(const std::string& title, bool reseed);
  // Places button `row` (0 for Command2_1) of the mode column and captions it.
  static void PlaceModeButton(ui::Button& button, int row, const std::string& caption);
  // Makes `button` switch from this window to `target`.
  void ConnectModeButton(ui::Button& button, Mode target);
  // The usual column: 连连看, 英汉互译, 双向词典, 屏幕保护 on Command2_1..Command2_4, the
  // button of `own` disabled and the others switching.
  void SetUpModeColumn(Mode own);
  void ShowModeColumn(bool shown);
  void ShowRandomBackground();
  [[noreturn]] void EndProgram();

  // Speech. `target` names the text the learner means when asking to hear a word (F2, the
  // menu); "" for none. Windows that never call this offer no speech.
  void ListenForSpeech(std::function<std::string(const ui::SpeechRequest&)> target);
  // Says `text`: in Chinese when it holds a Chinese character, else in English; nothing for a
  // text without a letter or a character.
  void Say(const std::string& text);
  // With 自动朗读 on, says `text` when it holds a Latin letter; otherwise asks nothing.
  void SayUnasked(const std::string& text);

  Shell& shell_;
  ui::Platform& platform_;
  ui::Random& random_;
  ui::Window form_;
};

}  // namespace shell
