// End-to-end driver: the real program in this process on the X display (run the tests under
// xvfb-run), driven with real input from xdotool through the X server. Tests find widgets by
// window and control name, read the model to decide what to do, answer message boxes with a
// real Enter key and save screenshots under <build>/screenshots/.
#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "program/program.h"
#include "qt/qt_platform.h"
#include "ui/random.h"

namespace e2e {

class InputCounter;

// The build folder, the folder of the built program (with Study/, Pic/ and the own book) and
// the folder screenshots are saved in (made when needed).
std::filesystem::path BuildDir();
std::filesystem::path ProgramDir();
std::filesystem::path ScreenshotDir();

// Writes twenty distinct gradient pictures Pic/0.jpg .. Pic/19.jpg into a program folder.
void WritePictures(const std::filesystem::path& program_dir);

// Runs a command to its end, within `timeout_ms` (then it is killed). Its exit code, or -1
// when it could not start or took too long; its standard output goes to `output`.
int Run(const QStringList& command, int timeout_ms = 10000, QString* output = nullptr);

class Driver {
 public:
  // The program reads from `program_dir`; `random` defaults to the clock-seeded source.
  explicit Driver(std::filesystem::path program_dir = ProgramDir(),
                  std::unique_ptr<ui::Random> random = nullptr);
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Program start: the match window loaded and shown; waits until its window is on screen.
  bool Start();

  program::Program& Program() { return *program_; }
  qtbind::QtPlatform& Platform() { return platform_; }
  // The controls of a mode's window, as the learner meets them; none while it is unused.
  std::optional<kit::Controls> Model(shell::Mode mode) {
    shell::ModeWindow* window = program_->Shell().Find(mode);
    if (!window) return std::nullopt;
    return kit::Controls(window->Window());
  }
  QWidget* Window(const std::string& window) const;
  QWidget* Widget(const std::string& window, const std::string& control) const;

  // True when the window (or one of its controls) is shown and its window is on screen.
  bool OnScreen(const std::string& window, const std::string& control = "") const;

  // Lets the program run until `done` holds; false when `timeout_ms` passes first.
  bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 5000);
  // Lets the program run for a while.
  void Settle(int ms = 100);

  // Real input. Each waits until the program has received it, and fails the test (returning
  // false) when the widget is not on screen or the input does not arrive.
  // `button` 1 is the left mouse button, 3 the right one.
  bool ClickAt(QPoint global, int clicks = 1, int button = 1);
  bool Click(const std::string& window, const std::string& control, int clicks = 1, int button = 1);
  bool ClickRow(const std::string& window, const std::string& list, int row, int clicks = 1);
  // xdotool key names, one chord or several separated by spaces: "Return", "Left", "ctrl+a".
  bool Key(const std::string& keys);
  // Types text, Chinese included, character by character.
  bool Type(const std::string& text);

  // The next `count` message boxes are answered with a real Enter key press. A box nobody
  // expected fails the test and is closed.
  void AnswerMessages(int count = 1) { expected_messages_ += count; }
  // The texts of the message boxes so far (line breaks as "\n").
  const std::vector<std::string>& Messages() const { return messages_; }

  // Saves what the window shows as <build>/screenshots/<name>.png; the path, or empty on
  // failure.
  std::filesystem::path Screenshot(const std::string& window, const std::string& name);

  bool Ended() const { return platform_.Ended(); }

 private:
  void OnMessage(QMessageBox& box);
  bool WaitForInput(int mouse_releases, int key_releases, int timeout_ms = 5000);
  // Gives the X keyboard focus to the program's active window.
  void FocusActiveWindow();

  qtbind::QtPlatform platform_;
  std::unique_ptr<ui::Random> random_;
  std::unique_ptr<program::Program> program_;
  std::vector<std::string> messages_;
  int expected_messages_ = 0;
  std::unique_ptr<InputCounter> counter_;
};

}  // namespace e2e
