// A match window in a shell of its own, with scripted random draws and word books written to
// a temporary program directory. The tests act and look through the window's controls, as
// the learner does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "match/match_window.h"
#include "shell/shell.h"

namespace match_test {

using match::kCells;
using match::kPairs;

// The scripted source of the match tests: every draw is scripted, so that a changed draw
// order fails the test that made it.
class DealRandom : public kit::ScriptedRandom {
 public:
  // Queues a whole deal: cell b is to show text order[b].
  void PushOrder(const std::vector<int>& order) {
    for (int text : order) PushIndex(text, kCells);
  }
};

// Stands in for the other modes: a window with a clock and nothing else.
class OtherMode : public shell::ModeWindow {
 public:
  explicit OtherMode(shell::Shell& shell) : ModeWindow(shell, "other") { Window().Add(clock_); }
  ui::Timer* Clock() override { return &clock_; }
  void Load() override {}
  void OnClose() override {}

 private:
  ui::Timer clock_{"clock"};
};

inline std::vector<int> Identity() {
  std::vector<int> order(kCells);
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
            w = std::make_unique<match::MatchWindow>(s);
          else
            w = std::make_unique<OtherMode>(s);
          return w;
        }) {
    platform_.program_directory = dir_.Str();
  }

  shell::ModeWindow& Window() { return *shell_.Find(shell::Mode::Match); }
  // Starts the program: the match window, loaded and shown.
  ui::Window& Started() {
    shell_.Start();
    return Window().Window();
  }

  // Writes the own book with records English(i) / Chinese(i) and loads it.
  void LoadOwnBook(int records) {
    std::vector<kit::Record> book;
    for (int i = 1; i <= records; ++i) book.emplace_back(English(i), Chinese(i));
    kit::WriteOwnBook(dir_.Path(), book);
    SelectBook(books::kOwnBookLabel);
  }

  void SelectBook(std::string_view label) {
    const int row = kit::RowOf(ui_.BookList(), label);
    ASSERT_GE(row, 0) << label;
    ui_.BookList().SetListIndex(row);
    ui_.ChooseBookButton().Click();
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
    dealt_group_ = group;
    ui_.GroupList().SetListIndex(group);
    ui_.ChooseGroupButton().Click();
  }

  // A board of the given 36 texts (cell b showing text b) in a running round: group 1 of an
  // own book of just the given pairs, so that the pairs past them (a short group) are empty.
  void PlayBoard(const std::vector<std::string>& texts) {
    std::vector<kit::Record> book;
    for (std::size_t k = 0; k + 1 < texts.size() && !texts[k].empty(); k += 2)
      book.emplace_back(texts[k], texts[k + 1]);
    kit::WriteOwnBook(dir_.Path(), book);
    SelectBook(books::kOwnBookLabel);
    Deal(1);
    ASSERT_EQ(Captions(), texts);
  }

  // The first cell on the board that shows `text`; -1 when none does.
  int CellShowing(const std::string& text) const {
    for (int b = 0; b < kCells; ++b)
      if (ui_.Cell(b).Visible() && ui_.Cell(b).Caption() == text) return b;
    return -1;
  }

  // Clears pair k of the numbered group dealt last, its English entry first.
  void ClearPair(int k) {
    const int record = (dealt_group_ - 1) * kPairs + k + 1;
    ui_.Cell(CellShowing(English(record))).Click();
    ui_.Cell(CellShowing(Chinese(record))).Click();
  }

  // A wrong pair of the numbered group dealt last: pair k's English entry, then the meaning of
  // pair k + 1.
  void MissPair(int k) {
    const int record = (dealt_group_ - 1) * kPairs + k + 1;
    ui_.Cell(CellShowing(English(record))).Click();
    ui_.Cell(CellShowing(Chinese(record + 1))).Click();
  }

  void Tick(int times) {
    for (int i = 0; i < times; ++i) ui_.Clock().Tick();
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int b = 0; b < kCells; ++b) captions.push_back(ui_.Cell(b).Caption());
    return captions;
  }

  int ShownCells() const {
    int shown = 0;
    for (int b = 0; b < kCells; ++b) shown += ui_.Cell(b).Visible() ? 1 : 0;
    return shown;
  }

  // Wins a round of the numbered group dealt last in `elapsed` tenths with `mistakes`
  // mistakes; the next deal shows the texts in `next` order.
  void WinRound(int elapsed, int mistakes, const std::vector<int>& next = Identity()) {
    for (int m = 0; m < mistakes; ++m) MissPair(0);
    Tick(elapsed);
    random_.PushIndex(7, 20);  // the ninth pair's picture, then the next deal
    ScriptDeal(next);
    for (int k = 0; k < kPairs; ++k) ClearPair(k);
  }

  kit::TempDir dir_;
  kit::FakePlatform platform_;
  DealRandom random_;
  shell::Shell shell_;
  kit::Controls ui_{Started()};
  int dealt_group_ = 1;
};

}  // namespace match_test
