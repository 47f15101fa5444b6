// One round of the match game, without any control: a pair of texts (an English entry and its
// Chinese meaning) for every two cells of the board, 18 on its 6 x 6 cells, dealt in random
// order, the cell picked first and waiting for its partner, the counters, and the time bar
// beside the board.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "books/word_book.h"
#include "shell/tally.h"
#include "ui/random.h"

namespace match {

// The board's size, in cells; everything else about it follows from these two.
inline constexpr int kBoardColumns = 6;
inline constexpr int kBoardRows = 6;
inline constexpr int kCells = kBoardColumns * kBoardRows;
inline constexpr int kPairs = kCells / 2;
static_assert(kCells % 2 == 0, "every cell has a partner");
// A round of a group fills the board, a pair for each of its words.
static_assert(kPairs == books::kGroupSize);

// The time bar at every round start, and how it moves, in twips.
inline constexpr int kBarTop = 400;
inline constexpr int kBarHeight = 7500;
inline constexpr int kBarPerPair = 200;
inline constexpr int kBarPerTick = 6;
inline constexpr int kIdiomBarPerTick = 3;  // the idiom book's slower clock
inline constexpr int kBarMinimum = 15;      // shorter than this: the time is up

class Round {
 public:
  // What a press on a cell did.
  enum class Press {
    Ignored,  // not a cell on the board (cleared, or the one picked first)
    Picked,   // the first of a pair: it now shows as the marker
    Paired,   // the partner of the pick: both leave the board
    Won,      // the last pair: the round is over
    Wrong,    // not the partner: both cells are ordinary cells again
  };

  // The board of a new round: pair k holds words[k] (its English entry in text 2k, its meaning
  // in text 2k + 1); words past the pairs are left out. A group's round fills the board, the
  // pairs past its words holding empty texts; a round of the words alone has a pair for each
  // word, on the first cells of the board, and the cells past them stay empty and off it.
  // Every cell of the round is on the board and the marker is hidden.
  void SetWords(const std::vector<books::Word>& words,
                shell::RoundSize size = shell::RoundSize::Group);

  // Starts a round with the round's texts in a new order: cell b shows text TextOf(b), drawn
  // from the round's 2 x Words() texts for every cell b from the first in turn and drawn again
  // while an earlier cell already has it. The counters and the bar start afresh and no cell is
  // picked; the marker stays where it was.
  void Deal(ui::Random& random);

  Press PressCell(int cell);

  // One tick of the clock, the bar falling by `bar_step` when `bar_running` (in play). True
  // when the time is up: then every word still on the board counts as missed.
  bool Tick(bool bar_running, int bar_step);

  // How the learner did on the words of the board, told once a round for each word: Good when
  // its pair was cleared with no wrong pick on either cell, Again at its first wrong pick, or
  // when the time ran out with it on the board while the learner was playing. Empty pairs are
  // no words.
  shell::Tally& Tally() { return tally_; }
  // The word of the pair cell `cell` shows a text of.
  books::Word WordAt(int cell) const;

  // The text cell `cell` shows.
  const std::string& Caption(int cell) const { return texts_[TextOf(cell)]; }
  // Which of the board's texts cell `cell` shows: an even one is an English entry.
  int TextOf(int cell) const { return order_[static_cast<std::size_t>(cell)]; }
  // Whether cell `cell` is still a button on the board: neither cleared nor picked.
  bool OnBoard(int cell) const { return on_board_[static_cast<std::size_t>(cell)]; }
  // The texts of the board, pair by pair.
  const std::array<std::string, kCells>& Texts() const { return texts_; }
  // The words the round plays: one a pair of the round, the empty ones of a group too.
  int Words() const { return pairs_; }

  // The marker: the cell it stands at (-1 before any pick) and whether it is shown. After a
  // wrong pair it stays shown beneath the second cell, where no one can see it.
  int MarkerCell() const { return marker_cell_; }
  bool MarkerShown() const { return marker_shown_; }

  int BarTop() const { return bar_top_; }
  int BarHeight() const { return bar_height_; }
  int Elapsed() const { return elapsed_; }  // tenths of a second
  int Mistakes() const { return mistakes_; }
  int MatchedPairs() const { return matched_pairs_; }

 private:
  // The pair whose entry and meaning the two texts are, in either order; -1 when none is.
  int PairOf(const std::string& first, const std::string& second) const;
  // The word of pair `pair`.
  books::Word PairWord(int pair) const;
  // Every cell of the round on the board, the cells past it off.
  void FillBoard();

  std::array<std::string, kCells> texts_;
  std::array<int, kCells> order_{};
  std::array<bool, kCells> on_board_{};
  std::array<bool, kCells> cleared_{};
  int pairs_ = kPairs;  // of the round, on its first 2 x pairs_ cells
  shell::Tally tally_;
  int picked_ = -1;  // the cell picked first, -1 when none
  int marker_cell_ = -1;
  bool marker_shown_ = false;
  int bar_top_ = kBarTop;
  int bar_height_ = kBarHeight;
  int elapsed_ = 0;
  int mistakes_ = 0;
  int matched_pairs_ = 0;
};

}  // namespace match
