// What the two timed games (match game and quiz) share: the group list, the button back to
// it, the round clock, the best time of the run, the round report and the farewell.
#pragma once

#include <string>
#include <vector>

#include "progress/fsrs.h"
#include "progress/journal.h"
#include "shell/book_window.h"
#include "shell/practice.h"

namespace shell {

using books::kGroupSize;
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

class GameWindow : public BookWindow {
 public:
  // `title` is the window's title at load; `mode` names the game in the learner's journal;
  // a review round needs `review_words` words at least.
  GameWindow(Shell& shell, const std::string& name, std::string_view title, progress::Mode mode,
             int review_words, int column_rows = kModeCount);

  ui::Timer* Clock() override { return &clock_; }

 protected:
  // The three screens of a game: the book list, the group list, and play.
  enum class Screen { BookChoice, GroupChoice, Play };
  // Shows `screen` from the game's table of what each screen shows, with its clock.
  virtual void ShowScreen(Screen screen) = 0;
  // Shows the controls of `screen`: the book and group lists with their buttons and the
  // buttons back to them, as every game has them, and the game's own `rows` of play.
  void ShowGameControls(Screen screen, std::vector<Shown> rows);
  // The screen shown now.
  Screen Showing() const { return screen_; }
  // Puts the round's words in play (RoundWords) and starts the round.
  virtual void PrepareRound() = 0;
  // The round clock, every 100 ms while it runs.
  virtual void OnTick() = 0;

  void ShowBookChoice() override;
  // "选组": starts play with the group chosen in the group list. Ignored while no group is
  // chosen or there is no record to play.
  void OnChooseGroup();
  // "换组词": back to the group list, the round dropped; to the book list when a review round
  // started before any book was loaded.
  void OnChangeGroup();
  // "复习 (F3)": a round of the words due, from any screen; nothing when the journal holds
  // too few.
  void OnReview();

  // Places the group list, its button and the button back to it, and sets the clock.
  void SetUpGroupControls();
  // Fills the group list with "0" to "k" for the loaded book, nothing chosen.
  void FillGroupList();
  // The record numbers of a round of the chosen group, in order: 18 independent draws for
  // group 0, the group's records otherwise (fewer for a short last group). Empty when no
  // group is chosen.
  std::vector<int> PickGroupRecords();
  // The words of the round to deal: the review words in a review round, else those of the
  // chosen group's records.
  std::vector<books::Word> RoundWords();
  // The window's title at load.
  const std::string& LoadTitle() const { return title_; }
  // The title of play: the window's title, the book, and the group chosen or "复习".
  std::string PlayTitle() const;
  bool Reviewing() const { return reviewing_; }
  // Records an answer of this game to `word`, with the book the word came from.
  void RecordAnswer(const books::Word& word, bool good);
  // The end of a won round: keeps an error-free faster time as the best, stops the clock and
  // shows the round's report. The caller starts the next round.
  void ReportRound(int elapsed, int mistakes);
  // Closing either game: stops the clock, shows the best time and ends the program.
  [[noreturn]] void SayFarewell(const std::string& mode_name);

  ui::ListBox group_list_{"group_list"};
  ui::Button choose_group_button_{"choose_group_button"};
  ui::Button change_group_button_{"change_group_button"};
  ui::Timer clock_{"clock"};

 private:
  // Takes the journal's words due for a review round. False, and nothing changes, when the
  // journal holds too few.
  bool StartReview();

  std::string title_;
  Screen screen_ = Screen::BookChoice;
  BestTime best_time_;
  progress::Mode mode_;
  int review_needed_;
  std::vector<ReviewWord> review_words_;
  bool reviewing_ = false;
};

}  // namespace shell
