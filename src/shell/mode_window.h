// What the four mode windows have in common: the window, its column of mode buttons, its
// screens, and access to the shell, the platform and the program's random source.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "progress/journal.h"
#include "ui/control.h"
#include "ui/platform.h"
#include "ui/random.h"
#include "ui/window.h"

namespace shell {

class Shell;
class Practice;

// The program's modes: one window each. The journal below the shell names them too, to say
// where an answer was given.
using progress::Mode;

// Every window is 12000 x 8550 twips.
inline constexpr int kWindowWidth = 12000;
inline constexpr int kWindowHeight = 8550;
// The left column: two buttons of the window's own at the top, then the mode buttons.
inline constexpr int kColumnLeft = 500;
inline constexpr int kButtonWidth = 975;
inline constexpr int kButtonHeight = 375;
inline constexpr int kFirstButtonTop = 1300;
inline constexpr int kSecondButtonTop = 1675;
inline constexpr int kModeColumnTop = 2400;
// The usual mode column: one button per mode, in the order of Mode.
inline constexpr int kModeCount = static_cast<int>(Mode::ScreenSaver) + 1;

// The face the words are shown in: on the board, on the quiz's answers, in the dictionary.
inline const ui::Font kWordFont{"宋体", 10.5};

// One row of a window's screen table: a control and whether the screen shows it.
struct Shown {
  ui::Control* control;
  bool shown;
};

// Whether a window's set-up starts the program's random source anew from the clock.
enum class Seed { FromClock, Kept };

// Places `button` in the left column at `top` and captions it.
void PlaceColumnButton(ui::Button& button, int top, const std::string& caption);
// Enter in `list` presses `button`, the one beside it, but only while a row is chosen.
void PressOnEnter(ui::ListBox& list, ui::Button& button);

class ModeWindow {
 public:
  // `name` names the window for the binding; `column_rows` buttons make its mode column.
  ModeWindow(Shell& shell, const std::string& name, int column_rows = kModeCount);
  virtual ~ModeWindow() = default;
  ModeWindow(const ModeWindow&) = delete;
  ModeWindow& operator=(const ModeWindow&) = delete;

  ui::Window& Window() { return window_; }
  // The window's own timer, stopped and started by SwitchMode; null when it has none.
  virtual ui::Timer* Clock() { return nullptr; }
  // The clock of a round in play, which stands still while the progress window is open over
  // it; null when no round is in play.
  virtual ui::Timer* RoundClock() { return nullptr; }

  // First-time setup, run once when the window is first used.
  virtual void Load() = 0;
  // The learner closes the window; ends the program.
  virtual void OnClose() = 0;

 protected:
  ui::Platform& Platform() { return platform_; }
  shell::Practice& Practice() { return practice_; }
  ui::Random& Random() { return random_; }

  // The shared first steps of Load: size and title, and the random source as `seed` says.
  void SetUpWindow(const std::string& title, Seed seed);
  // Button `row` of the mode column, counted from the top.
  ui::Button& ModeButton(int row) { return *mode_buttons_.at(static_cast<std::size_t>(row)); }
  // Places button `row` of the mode column and captions it.
  void PlaceModeButton(int row, const std::string& caption);
  // Makes button `row` switch from this window to `target`.
  void ConnectModeButton(int row, Mode target);
  // The usual column: 连连看, 英汉互译, 双向词典, 屏幕保护, the button of `own` disabled and the
  // others switching.
  void SetUpModeColumn(Mode own);
  // Shows a screen: the controls of `table` as its rows say, and the mode column with
  // `column_shown`. Every window shows its screens through this alone.
  void ShowScreenTable(const std::vector<Shown>& table, bool column_shown);
  // A title and what it names after it, joined by " - ".
  static std::string Title(std::string_view title, std::initializer_list<std::string_view> parts);

  void ShowRandomBackground();
  [[noreturn]] void EndProgram();

  // Speech. `target` names the text the learner means when asking to hear a word (F2, the
  // menu); "" for none. Windows that never call this offer no speech.
  void ListenForSpeech(std::function<std::string(const ui::Attention&)> target);
  // The window's menu: its own entries, then those of the learner's practice.
  void ListenForMenu(std::function<std::vector<ui::Window::MenuEntry>()> own);
  // A key that acts anywhere in the window ("F3").
  void AddShortcut(std::string key, std::function<void()> act);
  void AddShortcut(std::string key, std::function<void(const ui::Attention&)> act);

  // Says `text`: in Chinese when it holds a Chinese character, else in English; nothing for a
  // text without a letter or a character.
  void Say(const std::string& text);
  // With 自动朗读 on, says `text` when it holds a Latin letter; otherwise asks nothing.
  void SayUnasked(const std::string& text);

 private:
  Shell& shell_;
  ui::Platform& platform_;
  shell::Practice& practice_;
  ui::Random& random_;
  ui::Window window_;
  std::vector<std::unique_ptr<ui::Button>> mode_buttons_;
};

}  // namespace shell
