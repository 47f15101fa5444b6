#include "match/round.h"

#include <algorithm>
#include <utility>

namespace match {

void Round::SetWords(const std::vector<books::Word>& words, shell::RoundSize size) {
  texts_.fill(std::string());
  for (std::size_t k = 0; k < words.size() && k < kPairs; ++k) {
    texts_[2 * k] = words[k].english;
    texts_[2 * k + 1] = words[k].chinese;
  }
  pairs_ = size == shell::RoundSize::Group
               ? kPairs
               : static_cast<int>(std::min(words.size(), static_cast<std::size_t>(kPairs)));
  for (int b = 0; b < kCells; ++b) order_[static_cast<std::size_t>(b)] = b;
  FillBoard();
  marker_shown_ = false;
  tally_.NewRound();
}

void Round::FillBoard() {
  for (int b = 0; b < kCells; ++b) {
    const bool in_round = b < 2 * pairs_;
    on_board_[static_cast<std::size_t>(b)] = in_round;
    cleared_[static_cast<std::size_t>(b)] = !in_round;
  }
}

void Round::Deal(ui::Random& random) {
  elapsed_ = 0;
  matched_pairs_ = 0;
  mistakes_ = 0;
  picked_ = -1;
  bar_top_ = kBarTop;
  bar_height_ = kBarHeight;
  // Draw with rejection: a text already given to an earlier cell is drawn again.
  const int cells = 2 * pairs_;
  for (int b = 0; b < cells;) {
    const int text = random.Below(cells);
    const auto end = order_.begin() + b;
    order_[static_cast<std::size_t>(b)] = text;
    if (std::find(order_.begin(), end, text) == end) ++b;
  }
  FillBoard();
  tally_.NewRound();
}

int Round::PairOf(const std::string& first, const std::string& second) const {
  for (std::size_t k = 0; k < kPairs; ++k) {
    const std::string& entry = texts_[2 * k];
    const std::string& meaning = texts_[2 * k + 1];
    if ((second == meaning && first == entry) || (second == entry && first == meaning))
      return static_cast<int>(k);
  }
  return -1;
}

books::Word Round::PairWord(int pair) const {
  const auto k = static_cast<std::size_t>(pair);
  return {texts_[2 * k], texts_[2 * k + 1]};
}

books::Word Round::WordAt(int cell) const {
  return PairWord(TextOf(cell) / 2);
}

Round::Press Round::PressCell(int cell) {
  if (cell < 0 || cell >= kCells || !OnBoard(cell)) return Press::Ignored;
  tally_.Acted();
  const auto b = static_cast<std::size_t>(cell);
  if (picked_ == -1) {
    picked_ = cell;
    marker_cell_ = cell;
    marker_shown_ = true;
    on_board_[b] = false;
    return Press::Picked;
  }

  const auto s = static_cast<std::size_t>(picked_);
  picked_ = -1;
  if (const int pair = PairOf(Caption(static_cast<int>(s)), Caption(cell)); pair >= 0) {
    on_board_[s] = false;
    on_board_[b] = false;
    cleared_[s] = true;
    cleared_[b] = true;
    tally_.Tell(PairWord(pair), true);  // told already when either cell was in a wrong pick
    marker_shown_ = false;
    ++matched_pairs_;
    bar_top_ -= kBarPerPair;
    bar_height_ += kBarPerPair;
    return matched_pairs_ == pairs_ ? Press::Won : Press::Paired;
  }
  // Both cells become ordinary cells again, and the marker moves beneath the second one.
  tally_.Tell(WordAt(static_cast<int>(s)), false);
  tally_.Tell(WordAt(cell), false);
  ++mistakes_;
  on_board_[s] = true;
  marker_cell_ = cell;
  return Press::Wrong;
}

bool Round::Tick(bool bar_running, int bar_step) {
  ++elapsed_;
  if (bar_running) {
    bar_top_ += bar_step;
    bar_height_ -= bar_step;
    tally_.Tick();
  }
  if (bar_height_ >= kBarMinimum) return false;
  for (int b = 0; b < kCells; ++b)
    if (!cleared_[static_cast<std::size_t>(b)]) tally_.TellMissed(WordAt(b));
  return true;
}

}  // namespace match
