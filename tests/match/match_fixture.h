// A match window in a shell of its own, with scripted random draws and word books written to
// a temporary program directory.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "match/form1.h"
#include "shell/shell.h"

namespace match_test {

// The scripted source of the match tests: every draw is scripted, so that a changed draw
// order fails the test that made it.
class DealRandom : public kit::ScriptedRandom {
 public:
  // Queues a whole cell order: button b is to show cell order[b].
  void PushOrder(const std::vector<int>& order) {
    for (int cell : order) PushIndex(cell, match::kCells);
  }
};

// Stands in for the other modes: a window with a timer and nothing else.
class OtherMode : public shell::ModeWindow {
 public:
  explicit OtherMode(shell::Shell& shell) : ModeWindow(shell, "Other") { form_.Add(Timer1); }
  ui::Timer* ModeTimer() override { return &Timer1; }
  void Form_Load() override {}
  void Form_Unload() override {}
  ui::Timer Timer1{"Timer1"};
};

inline std::vector<int> Identity() {
  std::vector<int> order(match::kCells);
  std::iota(order.begin(), order.end(), 0);
  return order;
}

inline std::vector<int> Reversed() {
  std::vector<int> order = Identity();
  std::reverse(order.begin(), order.end());
  return order;
}

inline std::string English(int record) {
  return "word" + std::to_string(record);
}
// Meanings end in a character that the loader keeps (it strips trailing 0, 1 and spaces).
inline std::string Chinese(int record) {
  return "词" + std::to_string(record) + "义";
}

class MatchTest : public ::testing::Test {
 protected:
  MatchTest()
      : shell_(platform_, random_, [](shell::Mode mode, shell::Shell& s) {
          std::unique_ptr<shell::ModeWindow> w;
          if (mode == shell::Mode::Match)
            w = std::make_unique<match::Form1>(s);
          else
            w = std::make_unique<OtherMode>(s);
          return w;
        }) {
    platform_.program_directory = dir_.Str();
    shell_.Start();
    form_ = dynamic_cast<match::Form1*>(shell_.Find(shell::Mode::Match));
  }

  // Writes the own book with records English(i) / Chinese(i) and loads it.
  void LoadOwnBook(int records) {
    std::vector<kit::Record> book;
    for (int i = 1; i <= records; ++i) book.emplace_back(English(i), Chinese(i));
    kit::WriteOwnBook(dir_.Path(), book);
    SelectBook(books::kOwnBookLabel);
  }

  void SelectBook(std::string_view label) {
    const int row = kit::RowOf(form_->List1, label);
    ASSERT_GE(row, 0) << label;
    form_->List1.SetListIndex(row);
    form_->Command3.Click();
  }

  // Scripts the draws of a deal of the round's texts: the cells to come in `order`, then the
  // background `picture`.
  void ScriptDeal(const std::vector<int>& order = Identity(), int picture = 0) {
    random_.PushOrder(order);
    random_.PushIndex(picture, 20);
  }

  // Presses "选组" on group `group`, the cells to come in `order`, the background `picture`.
  // Group 0 draws its records first: the test scripts those.
  void Deal(int group, const std::vector<int>& order = Identity(), int picture = 0) {
    ScriptDeal(order, picture);
    form_->List2.SetListIndex(group);
    form_->Command2.Click();
  }

  // A board of the given 36 texts (button b showing cell b) in a running round: group 1 of an
  // own book of just the given pairs, so that the pairs past them (a short group) are empty.
  void PlayBoard(const std::vector<std::string>& cells) {
    std::vector<kit::Record> book;
    for (std::size_t k = 0; k + 1 < cells.size() && !cells[k].empty(); k += 2)
      book.emplace_back(cells[k], cells[k + 1]);
    kit::WriteOwnBook(dir_.Path(), book);
    SelectBook(books::kOwnBookLabel);
    Deal(1);
    ASSERT_EQ(Captions(), cells);
  }

  // The button that shows cell `cell` in this round.
  int ButtonOf(int cell) const {
    const auto& order = form_->CellOrder;
    return static_cast<int>(std::find(order.begin(), order.end(), cell) - order.begin());
  }

  // Clears pair k by clicking its English cell and then its meaning.
  void ClearPair(int k) {
    form_->Command1[ButtonOf(2 * k)].Click();
    form_->Command1[ButtonOf(2 * k + 1)].Click();
  }

  void Tick(int times) {
    for (int i = 0; i < times; ++i) form_->Timer1.Tick();
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int b = 0; b < match::kCells; ++b) captions.push_back(form_->Command1[b].Caption());
    return captions;
  }

  int ShownCells() const {
    int shown = 0;
    for (int b = 0; b < match::kCells; ++b) shown += form_->Command1[b].Visible() ? 1 : 0;
    return shown;
  }

  kit::TempDir dir_;
  kit::FakePlatform platform_;
  DealRandom random_;
  shell::Shell shell_;
  match::Form1* form_ = nullptr;
};

}  // namespace match_test
