// The match game window: pairs of English entries and Chinese meanings on a 6 x 6 board.
#pragma once

#include "match/round.h"
#include "shell/game_window.h"

namespace match {

// The board as laid out at load: the first cell's place and every cell's size, in twips.
inline constexpr int kCellLeft = 3300;
inline constexpr int kCellTop = 200;
inline constexpr int kCellWidth = 1110;
inline constexpr int kCellHeight = 1290;

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
  // Shows `screen` from the table of what each screen shows and whether the clock runs;
  // on the play screen the cells still on the board and the marker, as the round has them.
  void ShowScreen(Screen screen) override;
  // Shows the round as it stands: the cells, the marker and the time bar.
  void ShowRound();

  void LoadWordBook() override;
  // Puts the round's words on the board (the chosen group's, or up to 18 words to review),
  // shows play and deals.
  void PrepareRound() override;
  // Starts a round with the board's texts in a new order over a new background.
  void ShuffleRound();
  void OnCellPressed(int cell);
  void OnTick() override;
  // Records the answers the round has told since the last time.
  void RecordOutcomes();

  ui::ButtonArray cells_{"cells", kCells};
  ui::Label marker_{"marker"};  // the cell picked first, beneath its hidden button
  ui::Label time_bar_{"time_bar"};

  Round round_;
};

}  // namespace match
