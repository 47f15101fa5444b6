// The match game window: pairs of English entries and Chinese meanings on a 6 x 6 board.
#pragma once

#include "match/round.h"
#include "shell/game_window.h"

namespace match {

// The board's area, in twips: its cells share it equally, row by row, touching.
inline constexpr int kBoardLeft = 3300;
inline constexpr int kBoardTop = 200;
inline constexpr int kBoardWidth = 6660;
inline constexpr int kBoardHeight = 7740;
inline constexpr int kCellWidth = kBoardWidth / kBoardColumns;
inline constexpr int kCellHeight = kBoardHeight / kBoardRows;
// Where cell `cell` stands.
constexpr int CellLeft(int cell) {
  return kBoardLeft + cell % kBoardColumns * kCellWidth;
}
constexpr int CellTop(int cell) {
  return kBoardTop + cell / kBoardColumns * kCellHeight;
}

// The time bar beside the board.
inline constexpr int kBarLeft = 2400;
inline constexpr int kBarWidth = 100;

inline constexpr ui::Color kMarkerColor = ui::Rgb(192, 255, 255);
inline constexpr ui::Color kBarColor = ui::Rgb(255, 192, 192);

class MatchWindow : public shell::GameWindow {
 public:
  explicit MatchWindow(shell::Shell& shell);

  void Load() override;
  void OnClose() override;

 private:
  // The table of what each screen shows: on the play screen the time bar, and the cells still
  // on the board and the marker, as the round has them.
  void ShowControls(Screen screen) override;
  // Shows the board as the round has it: the cells' texts, the marker and the time bar.
  void ShowBoard();

  void OnChooseBook() override;
  // Puts the round's words on the board (the chosen group's, or up to 18 words to review)
  // and deals.
  bool StartRound() override;
  // Deals the board's texts in a new order over a new background.
  void Deal();
  // A new round of the same words, in play.
  void DealAgain();
  void OnCellPressed(int cell);
  void OnTick() override;
  shell::Tally& Grades() override { return round_.Tally(); }
  // The word of the cell in focus.
  std::optional<books::Word> KnownWord(const ui::Attention& attention) override;

  ui::ButtonArray cells_{"cells", kCells};
  ui::Label marker_{"marker"};  // the cell picked first, beneath its hidden button
  ui::Label time_bar_{"time_bar"};

  Round round_;
};

}  // namespace match
