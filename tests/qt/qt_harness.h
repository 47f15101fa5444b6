// Binding tests: real widgets on Qt's offscreen platform. This file's QApplication exists for
// the whole test run; ProgramFixture runs the real program on it with a temporary program
// directory, a scripted random source and message boxes answered automatically.
#pragma once

#include <gtest/gtest.h>

#include <QListWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kit/kit.h"
#include "program/program.h"
#include "qt/progress/progress_window.h"
#include "qt/qt_platform.h"

namespace qtharness {

// Lets Qt handle what is pending: posted events, layout, paint.
void Settle();

// Answers every message box of `platform` with its OK button, recording its text in
// `messages` and calling `while_open` (when set) while the box is still on screen.
void AnswerMessages(qtbind::QtPlatform& platform, std::vector<std::string>& messages,
                    std::function<void(const std::string&)>* while_open = nullptr);

// A real mouse click (press and release) at the centre of a shown widget.
void Click(QWidget* widget);
// A real click, or double click, on a row of a list widget.
void ClickRow(QListWidget* list, int row);
void DoubleClickRow(QListWidget* list, int row);

class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture();
  ~ProgramFixture() override { platform_.DestroyWidgets(); }

  // Program start (the match window loaded and shown), through the platform's dispatcher.
  void Start();
  // Writes 《My词库》.txt into the program directory: English and Chinese lines, GBK.
  void WriteOwnBook(const std::vector<std::pair<std::string, std::string>>& records);

  // The controls of a mode's window, as the learner meets them; none while it is unused.
  std::optional<kit::Controls> Model(shell::Mode mode) {
    shell::ModeWindow* window = program_.Shell().Find(mode);
    if (!window) return std::nullopt;
    return kit::Controls(window->Window());
  }
  // The widget of a window ("match_window") or of one of its controls; fails the test when missing.
  QWidget* Window(const std::string& window);
  QWidget* Widget(const std::string& window, const std::string& control);
  template <class W>
  W* WidgetAs(const std::string& window, const std::string& control) {
    auto* w = dynamic_cast<W*>(Widget(window, control));
    EXPECT_NE(w, nullptr) << window << "." << control << " is not of the expected kind";
    return w;
  }
  void Click(const std::string& window, const std::string& control);

  kit::TempDir dir_;
  kit::ScriptedRandom random_;
  qtbind::QtPlatform platform_;
  program::Program program_{platform_, random_, qtprogress::ProgressWindowShower(platform_)};
  // The texts of the message boxes so far, each answered with OK.
  std::vector<std::string> messages_;
  // Runs while a message box is open, before it is answered.
  std::function<void(const std::string&)> on_message_;
};

}  // namespace qtharness
