// The learner's practice, kept from one run to the next: the games record every answer in the
// journal, the words whose time has come return as review rounds, and the progress window
// shows it all. The journal's file is opened on the first answer or the first menu that needs
// it, never at start; with 记录学习进度 off nothing is recorded and no file is opened.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/word_book.h"
#include "progress/journal.h"
#include "ui/platform.h"
#include "ui/window.h"

namespace shell {

// Why a menu entry of the journal does nothing while 记录学习进度 is off.
inline constexpr std::string_view kRecordingOff = "记录学习进度已关闭";

// A menu entry's caption with why it cannot be used: "复习 (F3)（学习记录中还没有单词）".
std::string WithReason(std::string_view caption, std::string_view reason);

// Shows the progress window with an overview; the program's toolkit draws it.
using ShowProgress = std::function<void(const progress::Overview& overview)>;

// A word of the journal to review, with the book it was last practised from.
struct ReviewWord {
  books::Word word;
  std::string book;
};

class Practice {
 public:
  // Without `show_progress` the progress window is not offered.
  Practice(ui::Platform& platform, ShowProgress show_progress);

  // An answer to `word` of `book`: Good when right at once, Again when missed.
  void Record(const books::Word& word, const std::string& book, progress::Grade grade,
              progress::Mode mode);
  // Puts `word` up for review at once. False when it could not be.
  bool Add(const books::Word& word, const std::string& book);

  // The words of a review round: those whose time has come, earliest first, filled up with
  // those due soonest; at most one round's worth.
  std::vector<ReviewWord> ReviewWords();
  // Every word of the journal, for distractors when no book is loaded.
  std::vector<books::Word> AllWords();
  // The menu's entry "复习 (F3)：12 个到期" for a round of `needed` words at least, running
  // `act`; disabled, and saying why, when there is no such round.
  ui::Window::MenuEntry ReviewEntry(int needed, std::function<void(const ui::Attention&)> act);

  // The entries every mode window's menu shares: "学习记录…", "记录学习进度", and a line
  // that says why nothing is recorded, or, once, that a damaged journal was set aside.
  std::vector<ui::Window::MenuEntry> MenuEntries();

 private:
  // The journal, made on first need; null while 记录学习进度 is off.
  progress::Journal* Journal();
  void OpenProgressWindow();

  ui::Platform& platform_;
  ShowProgress show_progress_;
  std::optional<progress::Journal> journal_;
};

}  // namespace shell
