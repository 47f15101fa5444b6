// What the two timed games (match game and quiz) share: the book and group lists, the button
// back to the group list, the round clock, the choice of each round's words and the way into
// play, review rounds, the answers recorded with the way to take them back, the best time of
// the run, the round report and the farewell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/book_choice.h"
#include "shell/mode_window.h"
#include "shell/round_source.h"
#include "shell/tally.h"

namespace shell {

inline constexpr int kNoBestTime = 10000;
inline constexpr int kTickInterval = 100;  // ms: the clocks count tenths of a second

// Where the group list and its button stand.
inline constexpr int kGroupListLeft = 5400;
inline constexpr int kGroupListTop = 2200;
inline constexpr int kGroupListWidth = 1000;
inline constexpr int kGroupListHeight = 3000;
inline constexpr int kChooseGroupTop = 5700;

// The best error-free round of the run, in tenths of a second: a round counts when it had no
// mistake and was strictly faster than the best so far.
class BestTime {
 public:
  void Offer(int elapsed, int mistakes) {
    if (elapsed < tenths_ && mistakes == 0) tenths_ = elapsed;
  }
  bool Any() const { return tenths_ != kNoBestTime; }
  int Tenths() const { return tenths_; }

 private:
  int tenths_ = kNoBestTime;
};

class GameWindow : public ModeWindow {
 public:
  // `title` is the window's title at load; `mode` names the game in the learner's journal;
  // a review round needs `review_words` words at least.
  GameWindow(Shell& shell, const std::string& name, std::string_view title, Mode mode,
             int review_words, int column_rows = kModeCount);

  ui::Timer* Clock() override { return &clock_; }
  ui::Timer* RoundClock() override;

 protected:
  // The three screens of a game: the book list, the group list, and play.
  enum class Screen { BookChoice, GroupChoice, Play };

  // Shows `screen` from the game's table (ShowControls), the clock running in play alone.
  void ShowScreen(Screen screen);
  // The game's table of what `screen` shows, through ShowGameControls; the clock is left as
  // it is.
  virtual void ShowControls(Screen screen) = 0;
  // Shows the controls of `screen`: the book and group lists with their buttons and the
  // buttons back to them, as every game has them, and the game's own `rows` of play.
  void ShowGameControls(Screen screen, std::vector<Shown> rows);
  // The screen shown now.
  Screen Showing() const { return screen_; }

  // "选书": the game shows its group list as it does, then LoadChosenBook.
  virtual void OnChooseBook() = 0;
  // Reads the book chosen in the book list and fills the group list for it, nothing chosen.
  void LoadChosenBook();
  // Puts the words of Source() into the game's round and starts it, showing no screen (play
  // is shown once the round stands). False, and no round, when it cannot start.
  virtual bool StartRound() = 0;
  // Why a review of `words` cannot be played, for the menu; "" when it can.
  virtual std::string CannotReview(const std::vector<books::Word>& words) {
    static_cast<void>(words);
    return {};
  }
  // The round clock, every 100 ms while it runs.
  virtual void OnTick() = 0;
  // The round's tally of how the learner did.
  virtual Tally& Grades() = 0;
  // The word "我认识 (F5)" means: the one in focus or asked; none when there is none.
  virtual std::optional<books::Word> KnownWord(const ui::Attention& attention) = 0;

  // Places the book and group lists, their buttons and the buttons back to them, and sets
  // the clock.
  void SetUpGameControls();
  // Chooses the words of the same kind of round again (a review round's, or the group chosen
  // in the list drawn anew): false when there is none.
  bool ChooseAgain();
  const RoundSource& Source() const { return source_; }
  const LoadedBook& Book() const { return books_.Loaded(); }
  // The window's title at load.
  const std::string& LoadTitle() const { return title_; }

  // Records the outcomes the round's tally has told since the last time, each with the book
  // its word came from: what one press, answer or tick did, taken back at once by "撤销".
  void RecordOutcomes();
  // Shows `message` with the clock stopped, and runs the clock again after it if it ran.
  void ShowPaused(const std::string& message);
  // The end of a won round of `words` words: keeps an error-free faster time of a group's
  // round as the best and shows the round's report with the clock stopped. True when the
  // same words are played again, which the caller starts; false when it was a review, which
  // is over: the window went back to where it was before.
  [[nodiscard]] bool ReportRound(int words, int elapsed, int mistakes);
  // Closing either game: stops the clock, shows the best time and ends the program.
  [[noreturn]] void SayFarewell(const std::string& mode_name);

 private:
  // "换本书": back to the book list, the round dropped.
  void ShowBookChoice();
  // "选组": play with the group chosen in the group list. Ignored while no group is chosen
  // or there is no word to play.
  void OnChooseGroup();
  // "换组词": back to the group list, the round dropped; to the book list when a review round
  // started before any book was loaded.
  void OnChangeGroup();
  // "复习 (F3)" (the words due) and "提前复习" (those due soonest): a review round from any
  // screen. With nothing due F3 says when the next word is; a review that cannot be played
  // leaves the window as it was, and the menu says why.
  void OnReview(Review review);
  // After a review's report: back to the screen and title F3 was pressed on; from play, to
  // the group list (the book's round was dropped), or the book list before any book.
  void EndReview();
  // Into play with the words just chosen: the title, the round, then the play screen once.
  // False, with no words chosen, when the round could not start.
  bool EnterPlay();
  // The window's own menu entries: the reviews, "撤销", "我认识", and why a review failed.
  std::vector<ui::Window::MenuEntry> GameEntries();
  // "撤销 (Ctrl+Z)": takes back what the last press or answer of the round recorded.
  void OnUndo();
  // "我认识 (F5)": grades the word meant Easy, in place of its answer in this round if it
  // had one.
  void OnKnown(const ui::Attention& attention);
  // The answers of the round in play, one step a press, answer or tick; emptied as a new round
  // begins.
  struct Answered {
    books::Word word;
    AnswerId id;
  };
  std::vector<std::vector<Answered>>& Steps();
  // Fills the group list with "0" to the last group of the loaded book, nothing chosen.
  void FillGroupList();
  // The title of play: the window's title, the book, and the group chosen or "复习".
  std::string PlayTitle() const;

  BookChoice books_;
  ui::ListBox group_list_{"group_list"};
  ui::Button choose_group_button_{"choose_group_button"};
  ui::Button change_group_button_{"change_group_button"};
  ui::Timer clock_{"clock"};
  RoundSource source_{books_.Loaded()};
  std::string title_;
  Screen screen_ = Screen::BookChoice;
  BestTime best_time_;
  Mode mode_;
  int review_needed_;
  // Where F3 was pressed: the screen and the title to go back to when the review is over.
  Screen review_from_ = Screen::BookChoice;
  std::string title_before_review_;
  std::string review_failure_;  // why the last review could not be played; "" when it could
  std::vector<std::vector<Answered>> steps_;
  int steps_round_ = -1;  // the tally's round the steps are of
};

}  // namespace shell
