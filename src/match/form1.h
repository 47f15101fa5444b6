// The match game window: pairs of English entries and Chinese meanings on a 6 x 6 board.
#pragma once

#include <array>
#include <string>

#include "shell/game_window.h"

namespace match {

inline constexpr int kCells = 36;  // the 6 x 6 board
inline constexpr int kPairs = kCells / 2;
inline constexpr int kBoardColumns = 6;

// The board as laid out at load: Command1(0)'s place and every cell's size, in twips.
inline constexpr int kCellLeft = 3300;
inline constexpr int kCellTop = 200;
inline constexpr int kCellWidth = 1110;
inline constexpr int kCellHeight = 1290;

// The time bar at every round start, and how it moves.
inline constexpr int kBarLeft = 2400;
inline constexpr int kBarWidth = 100;
inline constexpr int kBarTop = 400;
inline constexpr int kBarHeight = 7500;
inline constexpr int kBarPerPair = 200;
inline constexpr int kBarPerTick = 6;
inline constexpr int kIdiomBarPerTick = 3;  // the idiom book's slower clock
inline constexpr int kBarMinimum = 15;      // shorter than this: the time is up

inline constexpr ui::Color kMarkerColor = ui::Rgb(192, 255, 255);
inline constexpr ui::Color kBarColor = ui::Rgb(255, 192, 192);

class Form1 : public shell::GameWindow {
 public:
  explicit Form1(shell::Shell& shell);

  void Form_Load() override;
  void Form_Unload() override;

  // The three states: book choice, group choice (after a load or "换组词"), play.
  void ShowBookChoice() override;
  void LoadWordBook() override;
  // "选组": deals a board from the selected group. Ignored while no group is selected.
  void Command2_Click() override;
  // "换组词": back to the group choice, the round abandoned.
  void Command5_Click() override;

  // Picks the round's records into BoardCells, shows the play controls and deals.
  void PrepareRound();
  // Starts a round with the current BoardCells in a new order.
  void ShuffleRound();

  void Command1_Click(int Index);
  void Timer1_Timer() override;

  ui::ButtonArray Command1{"Command1", kCells};  // the board cells
  ui::Label Label1{"Label1"};                    // the selection marker
  ui::Label Label2{"Label2"};                    // the time bar

  // Cell 2k holds the English entry of pick k, cell 2k + 1 its meaning; empty for unused pairs.
  std::array<std::string, kCells> BoardCells;
  std::array<int, kPairs> Picks{};      // the round's record numbers, 0 past a short group
  std::array<int, kCells> CellOrder{};  // button b shows BoardCells[CellOrder[b]]
  int SelectedCell = -1;                // the cell chosen first in the current pair; -1 when none
  int MatchedPairs = 0;

 private:
  // Moves Label1 onto cell `index`, measured from Command1(0) as it stands now.
  void PlaceMarker(int index);
  // Whether the two texts are the entry and the meaning of one record on the board.
  bool IsPair(const std::string& first, const std::string& second) const;
};

}  // namespace match
