#include "match/round.h"

#include <algorithm>
#include <utility>

namespace match {

void Round::SetWords(const std::vector<books::Word>& words) {
  texts_.fill(std::string());
  for (std::size_t k = 0; k < words.size() && k < kPairs; ++k) {
    texts_[2 * k] = words[k].english;
    texts_[2 * k + 1] = words[k].chinese;
  }
  on_board_.fill(true);
  cleared_.fill(false);
  marker_shown_ = false;
}

void Round::Deal(ui::Random& random) {
  elapsed_ = 0;
  matched_pairs_ = 0;
  mistakes_ = 0;
  picked_ = -1;
  bar_top_ = kBarTop;
  bar_height_ = kBarHeight;
  // Draw with rejection: a text already given to an earlier cell is drawn again.
  for (int b = 0; b < kCells;) {
    const int text = random.Below(kCells);
    const auto end = order_.begin() + b;
    order_[static_cast<std::size_t>(b)] = text;
    if (std::find(order_.begin(), end, text) == end) ++b;
  }
  on_board_.fill(true);
  cleared_.fill(false);
  answered_.clear();
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

void Round::Tell(int pair, bool good) {
  const auto k = static_cast<std::size_t>(pair);
  books::Word word{texts_[2 * k], texts_[2 * k + 1]};
  if (word.Empty()) return;
  if (std::find(answered_.begin(), answered_.end(), word) != answered_.end()) return;
  answered_.push_back(word);
  outcomes_.push_back({std::move(word), good});
}

std::vector<Round::Outcome> Round::TakeOutcomes() {
  return std::exchange(outcomes_, {});
}

Round::Press Round::PressCell(int cell) {
  if (cell < 0 || cell >= kCells || !OnBoard(cell)) return Press::Ignored;
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
    Tell(pair, true);  // told already when either cell was in a wrong pick
    marker_shown_ = false;
    ++matched_pairs_;
    bar_top_ -= kBarPerPair;
    bar_height_ += kBarPerPair;
    return matched_pairs_ == kPairs ? Press::Won : Press::Paired;
  }
  // Both cells become ordinary cells again, and the marker moves beneath the second one.
  Tell(TextOf(static_cast<int>(s)) / 2, false);
  Tell(TextOf(cell) / 2, false);
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
  }
  if (bar_height_ >= kBarMinimum) return false;
  for (int b = 0; b < kCells; ++b)
    if (!cleared_[static_cast<std::size_t>(b)]) Tell(TextOf(b) / 2, false);
  return true;
}

}  // namespace match
