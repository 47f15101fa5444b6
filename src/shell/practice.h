// The learner's practice, kept from one run to the next: the games record every answer in the
// journal, the words whose time has come return as review rounds, and the progress window
// shows it all. The journal's file is opened on the first answer or the first menu that needs
// it, never at start; with 记录学习进度 off nothing is recorded, and the journal is only read
// when the learner opens the progress window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/catalogue.h"
#include "books/word_book.h"
#include "progress/journal.h"
#include "progress/page/page.h"
#include "ui/platform.h"
#include "ui/window.h"

namespace shell {

// Why a menu entry of the journal does nothing while 记录学习进度 is off.
inline constexpr std::string_view kRecordingOff = "记录学习进度已关闭";

// A menu entry's caption with why it cannot be used: "复习 (F3)（学习记录中还没有单词）".
std::string WithReason(std::string_view caption, std::string_view reason);

// How long until `seconds` from now, as the menu says it: "8 分钟后", "3 小时后", "2 天后".
std::string WhenText(std::int64_t seconds);

// Shows the progress window drawn from `page`; the program's toolkit draws it. With `closed`,
// it is opened over a round in play, which waits for it: the window holds the program until
// it is closed, and `closed` runs then.
using ShowProgress =
    std::function<void(const progresspage::Page& page, std::function<void()> closed)>;

// A word of the journal to review, with the book it was last practised from.
struct ReviewWord {
  books::Word word;
  std::string book;
};

// An answer the journal keeps, by which it is taken back.
using AnswerId = progress::ReviewId;

class Practice {
 public:
  using Act = ui::Window::MenuEntry::Act;

  // Without `show_progress` the progress window is not offered.
  Practice(ui::Platform& platform, ShowProgress show_progress);

  // An answer to `word` of `book`: Good when right at once, Again when missed, Easy when the
  // learner says they know it. The answer kept, or none when nothing was recorded.
  std::optional<AnswerId> Record(const books::Word& word, const std::string& book,
                                 progress::Grade grade, progress::Mode mode);
  // Takes the answers back: the words' schedules become what their other answers give. False
  // when the journal could not.
  bool TakeBack(const std::vector<AnswerId>& answers);
  // Puts `word` up for review at once. False when it could not be.
  bool Add(const books::Word& word, const std::string& book);

  // The words of a review round now: those due, and those in a learning step due within 20
  // minutes, earliest first, the words put up for review before them; at most one round's
  // worth. None when nothing is due, or the journal cannot be read.
  std::vector<ReviewWord> ReviewWords();
  // A review ahead: the words due soonest, at most one round's worth.
  std::vector<ReviewWord> ReviewAheadWords();
  // Every word of the journal, for distractors when no book is loaded.
  std::vector<books::Word> AllWords();
  // What F3 says when no word is due though the journal has some: "现在没有到期的单词，下一个
  // 8 分钟后"; "" otherwise.
  std::string NothingDue();
  // Why the journal gave no words to review.
  std::string WhyNoWords();

  // The menu's entry "复习 (F3)：12 个到期 · 3 个 20 分钟内" for a round of `needed` words at
  // least, running `act`; disabled, and saying why, when there is no such round (or when the
  // next word falls due).
  ui::Window::MenuEntry ReviewEntry(int needed, Act act);
  // "提前复习", running `act`: enabled only when nothing is due and the journal holds `needed`
  // words at least.
  ui::Window::MenuEntry ReviewAheadEntry(int needed, Act act);
  // An entry of the journal's, `caption` running `act`; disabled, saying why, while recording
  // is off, or when `why_not` says why.
  ui::Window::MenuEntry JournalEntry(std::string caption, std::string_view why_not, Act act);

  // The entries every mode window's menu shares: "学习记录…", "记录学习进度", and a line
  // that says why nothing is recorded, or, once, that a damaged journal was set aside. While
  // the progress window is open the clock `round_clock` stands still, when there is one.
  std::vector<ui::Window::MenuEntry> MenuEntries(ui::Timer* round_clock);

 private:
  // What the menus say of the review round now.
  struct Queue : progress::ReviewQueue {
    int words = 0;  // in the journal
  };
  Queue ReadQueue();
  // Why a review of `needed` words cannot be asked for at all; "" when it can.
  std::string Refusal(int needed, const Queue& queue);

  // The journal, made on first need; null while 记录学习进度 is off.
  progress::Journal* Journal();
  void OpenProgressWindow(ui::Timer* round_clock);
  // The journal's overview now: read only, when recording is off.
  progress::Overview ReadOverview();
  // What the progress window knows besides the overview: the day, whether recording is on,
  // and the books practised with their counts.
  progresspage::Facts Facts(const progress::Overview& overview);
  // How many words the book of `entry` holds.
  int BookCount(const books::CatalogueEntry& entry);

  ui::Platform& platform_;
  ShowProgress show_progress_;
  std::optional<progress::Journal> journal_;
};

}  // namespace shell
