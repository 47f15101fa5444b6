// Playing a board: pairs on the cells, the marker, the time bar, the round's end and the
// farewell.
#include <gtest/gtest.h>

#include <sstream>

#include "match_fixture.h"

namespace match_test {
namespace {

std::vector<std::string> JudgingBoard() {
  std::vector<std::string> cells = {
      "apple", "苹果",  // a record drawn twice by group 0
      "apple", "苹果",  //
      "bank",  "银行",  // one English entry, two meanings
      "bank",  "河岸",  //
      "Cat",   "猫",    // texts that differ only in case or a trailing space
      "cat ",  "小猫",  //
  };
  cells.resize(kCells);  // the empty pairs of a short group
  return cells;
}

// The place of cell `cell` on the board, in twips.
int CellLeft(int cell) {
  return match::kBoardLeft + (cell % match::kBoardColumns) * match::kCellWidth;
}
int CellTop(int cell) {
  return match::kBoardTop + (cell / match::kBoardColumns) * match::kCellHeight;
}

TEST_F(MatchTest, ARightPairLeavesTheBoardAndAWrongOneBeepsAndLeavesNoCellLookingPicked) {
  PlayBoard(JudgingBoard());
  struct Case {
    int first, second;
    bool right;
  } cases[] = {{0, 1, true}, {3, 2, true}, {0, 2, false}, {8, 11, false}, {12, 35, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
    ScriptDeal();
    ui_.ChangeGroupButton().Click();
    ui_.ChooseGroupButton().Click();
    const int beeps = platform_.beeps;
    ui_.Cell(c.first).Click();
    ui_.Cell(c.second).Click();
    EXPECT_EQ(platform_.beeps - beeps, c.right ? 0 : 1);
    EXPECT_EQ(ui_.Cell(c.first).Visible(), !c.right);
    EXPECT_EQ(ui_.Cell(c.second).Visible(), !c.right);
    EXPECT_EQ(ShownCells(), c.right ? kCells - 2 : kCells);
    // A wrong pair leaves the marker shown, but beneath the second cell's button.
    EXPECT_EQ(ui_.Marker().Visible(), !c.right);
    if (!c.right) {
      EXPECT_EQ(ui_.Marker().Left(), CellLeft(c.second));
    }
  }
}

TEST_F(MatchTest, FirstChoiceShowsTheMarkerInPlaceOfItsCell) {
  PlayBoard(JudgingBoard());
  ui_.Cell(14).Click();
  EXPECT_FALSE(ui_.Cell(14).Visible());
  EXPECT_TRUE(ui_.Marker().Visible());
  EXPECT_EQ(ui_.Marker().Left(), CellLeft(14));
  EXPECT_EQ(ui_.Marker().Top(), CellTop(14));
  EXPECT_EQ(ui_.Marker().Caption(), "");
  ui_.Cell(14).Click();  // its button is hidden: nothing happens
  EXPECT_EQ(platform_.beeps, 0);
  ui_.Cell(15).Click();  // the other empty cell: the pair is right
  EXPECT_FALSE(ui_.Cell(15).Visible());
  EXPECT_FALSE(ui_.Marker().Visible());
}

TEST_F(MatchTest, AWrongPairDropsTheChoiceAndTheSameSecondCellStartsANewOne) {
  PlayBoard(JudgingBoard());
  ui_.Cell(1).Click();
  ui_.Cell(9).Click();
  EXPECT_EQ(ui_.Marker().Left(), CellLeft(9));
  EXPECT_EQ(ui_.Marker().Top(), CellTop(9));
  EXPECT_EQ(ui_.Marker().Caption(), "猫");
  EXPECT_TRUE(ui_.Cell(1).Visible());
  EXPECT_TRUE(ui_.Cell(9).Visible()) << "the marker lies beneath this button";

  ui_.Cell(9).Click();
  EXPECT_FALSE(ui_.Cell(9).Visible());
  EXPECT_TRUE(ui_.Marker().Visible());
  ui_.Cell(8).Click();
  EXPECT_FALSE(ui_.Cell(8).Visible());
  EXPECT_FALSE(ui_.Marker().Visible());
  EXPECT_EQ(platform_.beeps, 1);
}

TEST_F(MatchTest, EveryPairLengthensTheBarAndTheNinthChangesTheBackground) {
  LoadOwnBook(36);
  Deal(1);
  for (int k = 0; k < 8; ++k) ClearPair(k);
  Tick(10);
  EXPECT_EQ(ui_.TimeBar().Top(), 400 - 8 * 200 + 10 * 6);
  EXPECT_EQ(ui_.TimeBar().Height(), 7500 + 8 * 200 - 10 * 6);
  EXPECT_EQ(ui_.TimeBar().Top() + ui_.TimeBar().Height(), 7900) << "the lower edge never moves";

  const std::size_t pictures = platform_.picture_requests.size();
  random_.PushIndex(13, 20);
  ClearPair(8);
  EXPECT_EQ(platform_.picture_requests.size(), pictures + 1);
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/13.jpg");
  for (int k = 9; k < 17; ++k) ClearPair(k);
  EXPECT_EQ(platform_.picture_requests.size(), pictures + 1);
  ScriptDeal();
  ClearPair(17);
  EXPECT_EQ(platform_.picture_requests.size(), pictures + 2) << "only the next round's picture";
}

TEST_F(MatchTest, AWonRoundReportsItselfKeepsTheBestTimeAndDealsTheSameTextsAgain) {
  LoadOwnBook(36);
  Deal(2);
  std::vector<std::string> texts = Captions();
  std::sort(texts.begin(), texts.end());
  struct Row {
    int elapsed, mistakes;
    std::string report, farewell;
  } rows[] = {
      {352, 0, "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 35.2 秒", "35.2"},
      {352, 0, "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 35.2 秒", "35.2"},  // not better
      {351, 0, "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 35.1 秒", "35.1"},
      {300, 0, "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 30.0 秒", "30.0"},
      {100, 1, "本局共 18 个单词\r\n您共错了 1 次\r\n本局用时 10.0 秒", "30.0"},  // a mistake
      {7, 2, "本局共 18 个单词\r\n您共错了 2 次\r\n本局用时 0.7 秒", "30.0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.report);
    platform_.messages.clear();
    bool clock_during_message = true;
    platform_.on_message = [&](const std::string&) {
      clock_during_message = ui_.Clock().Enabled();
    };
    WinRound(row.elapsed, row.mistakes, Reversed());
    ASSERT_EQ(platform_.messages, std::vector<std::string>{row.report});
    EXPECT_FALSE(clock_during_message);
    // The next round: the same texts in a new order, everything reset, the clock running.
    EXPECT_TRUE(ui_.Clock().Enabled());
    std::vector<std::string> dealt = Captions();
    EXPECT_EQ(dealt.front(), Chinese(36)) << "dealt in the new order";
    std::sort(dealt.begin(), dealt.end());
    EXPECT_EQ(dealt, texts);
    EXPECT_EQ(ShownCells(), kCells);
    EXPECT_EQ(ui_.TimeBar().Top(), 400);
    EXPECT_EQ(ui_.TimeBar().Height(), 7500);
    platform_.on_message = nullptr;
  }
  platform_.messages.clear();
  EXPECT_TRUE(kit::Ends([&] { ui_.Window().Close(); }));
  EXPECT_EQ(platform_.messages,
            std::vector<std::string>{"本次连连看\r\n最好成绩为 30.0 秒\r\nGood-Bye!"});
}

TEST_F(MatchTest, TheBestTimeIsTheFastestRoundWithoutMistakesAndOnlyAFasterOneReplacesIt) {
  struct Row {
    int best_before, elapsed, mistakes, best_after;
  } rows[] = {
      {10000, 352, 0, 352},   {352, 352, 0, 352}, {352, 351, 0, 351},
      {10000, 100, 1, 10000}, {500, 7, 2, 500},   {10000, 10000, 0, 10000},
  };
  for (const Row& row : rows) {
    shell::BestTime best;
    if (row.best_before != shell::kNoBestTime) best.Offer(row.best_before, 0);
    best.Offer(row.elapsed, row.mistakes);
    EXPECT_EQ(best.Tenths(), row.best_after) << row.best_before << " " << row.elapsed;
    EXPECT_EQ(best.Any(), row.best_after != shell::kNoBestTime);
  }
}

TEST_F(MatchTest, TheBarRunsOutOnTheTickTheBookGivesAndTheRoundStartsAgain) {
  // The idiom book, whole: 17508 one-line idioms.
  std::string idioms;
  const std::string line = kit::Gbk("一心一意") + "\r\n";
  for (int i = 0; i < 17508; ++i) idioms += line;
  kit::WriteFile(dir_.Path() / "Study" / "《成语大全》.txt", idioms);

  struct Row {
    bool idiom_book;
    int pairs;    // cleared before the clock runs down
    int timeout;  // the tick that ends the round
    int step;
  } rows[] = {{false, 0, 1248, 6}, {false, 1, 1281, 6}, {true, 0, 2496, 3}, {true, 1, 2562, 3}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.timeout));
    ui_.ChangeBookButton().Click();
    if (row.idiom_book)
      SelectBook(books::kIdiomBookLabel);
    else
      LoadOwnBook(36);
    if (row.idiom_book)  // group 0: its 18 records first
      for (int k = 0; k < 18; ++k) random_.PushIndex(100 * k, 17508);
    Deal(row.idiom_book ? 0 : 1);
    // The idiom book's cells: every record holds the same two halves.
    const std::string first = ui_.Cell(0).Caption(), second = ui_.Cell(1).Caption();
    for (int k = 0; k < row.pairs; ++k) {
      if (row.idiom_book) {
        ui_.Cell(CellShowing(first)).Click();
        ui_.Cell(CellShowing(second)).Click();
      } else {
        ClearPair(k);
      }
    }
    ui_.Cell(CellShowing(row.idiom_book ? first : English(6))).Click();  // a choice left open
    std::vector<std::string> texts = Captions();
    std::sort(texts.begin(), texts.end());

    Tick(row.timeout - 1);
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(ui_.TimeBar().Height(), 7500 + row.pairs * 200 - (row.timeout - 1) * row.step);
    bool clock_during_message = true;
    platform_.on_message = [&](const std::string&) {
      clock_during_message = ui_.Clock().Enabled();
    };
    ScriptDeal(Reversed());
    Tick(1);
    EXPECT_EQ(platform_.messages, std::vector<std::string>{"过时，请重新来过"});
    EXPECT_FALSE(clock_during_message);
    EXPECT_TRUE(ui_.Clock().Enabled());
    std::vector<std::string> dealt = Captions();
    std::sort(dealt.begin(), dealt.end());
    EXPECT_EQ(dealt, texts);
    EXPECT_EQ(ShownCells(), kCells) << "no choice left open";
    EXPECT_EQ(ui_.TimeBar().Top(), 400);
    EXPECT_EQ(ui_.TimeBar().Height(), 7500);
    platform_.messages.clear();
    platform_.on_message = nullptr;
  }
  // No round was won: the lost rounds left no best time.
  EXPECT_TRUE(kit::Ends([&] { ui_.Window().Close(); }));
  EXPECT_EQ(platform_.messages, std::vector<std::string>{"本次连连看\r\n无最好成绩\r\nGood-Bye!"});
}

TEST_F(MatchTest, ClosingSaysFarewellWithTheBestTimeWhileTheClockStands) {
  struct Row {
    int win;  // a round won without mistakes before closing, in tenths; 0 for none
    std::string farewell;
  } rows[] = {
      {0, "本次连连看\r\n无最好成绩\r\nGood-Bye!"},
      {352, "本次连连看\r\n最好成绩为 35.2 秒\r\nGood-Bye!"},
      {120, "本次连连看\r\n最好成绩为 12.0 秒\r\nGood-Bye!"},
  };
  LoadOwnBook(36);
  Deal(1);
  for (const Row& row : rows) {
    if (row.win) {
      // The farewell stopped the clock: a new deal of the group starts it again.
      ui_.ChangeGroupButton().Click();
      ScriptDeal();
      ui_.ChooseGroupButton().Click();
      WinRound(row.win, 0);
    }
    ui_.Clock().SetEnabled(true);
    platform_.messages.clear();
    bool clock_during_message = true;
    platform_.on_message = [&](const std::string&) {
      clock_during_message = ui_.Clock().Enabled();
    };
    EXPECT_TRUE(kit::Ends([&] { ui_.Window().Close(); }));
    EXPECT_EQ(platform_.messages, std::vector<std::string>{row.farewell});
    EXPECT_FALSE(clock_during_message);
    EXPECT_TRUE(platform_.ended);
    platform_.on_message = nullptr;
  }
}

// Everything a player could see.
std::string Describe(const kit::Controls& ui) {
  std::ostringstream out;
  for (int b = 0; b < kCells; ++b)
    out << ui.Cell(b).Caption() << (ui.Cell(b).Visible() ? "+" : "-") << ",";
  const ui::Label& marker = ui.Marker();
  out << marker.Caption() << marker.Visible() << marker.Left() << "/" << marker.Top() << " bar "
      << ui.TimeBar().Top() << "/" << ui.TimeBar().Height() << " " << ui.Window().Caption() << " "
      << kit::PicturePath(ui.Window());
  return out.str();
}

TEST_F(MatchTest, ARoundPausesWhileItsWindowIsAwayAndResumesAsItWasLeft) {
  LoadOwnBook(36);
  Deal(1);
  Tick(10);
  ClearPair(0);
  MissPair(1);                                // a mistake
  ui_.Cell(CellShowing(English(3))).Click();  // and a choice left open
  ui_.Window().Move(1500, 900, ui_.Window().Width(), ui_.Window().Height());
  const std::string before = Describe(ui_);
  const int draws = random_.draws;

  shell_.SwitchMode(Window(), shell::Mode::Quiz);
  shell::ModeWindow* other = shell_.Find(shell::Mode::Quiz);
  ASSERT_NE(dynamic_cast<OtherMode*>(other), nullptr);
  EXPECT_FALSE(ui_.Window().Visible());
  EXPECT_FALSE(ui_.Clock().Enabled());
  EXPECT_EQ(other->Window().Left(), 1500);
  EXPECT_EQ(other->Window().Top(), 900);
  Tick(50);  // a hidden window's clock stands
  other->Window().Move(3000, 600, other->Window().Width(), other->Window().Height());

  shell_.SwitchMode(*other, shell::Mode::Match);
  EXPECT_TRUE(ui_.Window().Visible());
  EXPECT_TRUE(ui_.Clock().Enabled());
  EXPECT_EQ(ui_.Window().Left(), 3000);
  EXPECT_EQ(ui_.Window().Top(), 600);
  EXPECT_EQ(Describe(ui_), before);
  EXPECT_EQ(random_.draws, draws);

  // The round goes on where it was: one mistake, two pairs cleared, and 1.1 seconds once the
  // clock ticks again.
  Tick(1);
  ui_.Cell(CellShowing(Chinese(3))).Click();
  EXPECT_EQ(ShownCells(), kCells - 4);
  random_.PushIndex(0, 20);  // the ninth pair's picture, then the next deal
  ScriptDeal();
  platform_.messages.clear();
  for (int k = 1; k < kPairs; ++k)
    if (k != 2) ClearPair(k);
  EXPECT_EQ(platform_.messages,
            std::vector<std::string>{"本局共 18 个单词\r\n您共错了 1 次\r\n本局用时 1.1 秒"});
}

}  // namespace
}  // namespace match_test
