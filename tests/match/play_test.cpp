// Playing a board: pair judging, the marker, the time bar, the round's end and the farewell.
#include <gtest/gtest.h>

#include <sstream>

#include "match_fixture.h"

namespace match_test {
namespace {

using match::kCells;

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

TEST_F(MatchTest, PairsAreJudgedByTextAgainstEveryRecordInEitherOrder) {
  PlayBoard(JudgingBoard());
  struct Case {
    int first, second;
    bool right;
  } cases[] = {
      {0, 1, true},   {1, 0, true},   {0, 3, true},   {3, 2, true},   {0, 2, false},
      {1, 3, false},  {4, 7, true},   {6, 5, true},   {8, 11, false}, {10, 9, false},
      {12, 13, true}, {12, 35, true}, {0, 12, false}, {13, 9, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
    ScriptDeal();
    form_->ShuffleRound();
    const int beeps = platform_.beeps;
    form_->Command1[c.first].Click();
    form_->Command1[c.second].Click();
    EXPECT_EQ(form_->MatchedPairs, c.right ? 1 : 0);
    EXPECT_EQ(form_->Mistakes, c.right ? 0 : 1);
    EXPECT_EQ(platform_.beeps - beeps, c.right ? 0 : 1);
    EXPECT_EQ(form_->SelectedCell, -1);
    EXPECT_EQ(form_->Command1[c.first].Visible(), !c.right);
    EXPECT_EQ(form_->Command1[c.second].Visible(), !c.right);
    EXPECT_EQ(ShownCells(), c.right ? kCells - 2 : kCells);
    // A wrong pair leaves the marker shown, but beneath the second cell's button.
    EXPECT_EQ(form_->Label1.Visible(), !c.right);
  }
}

TEST_F(MatchTest, FirstChoiceShowsTheMarkerInPlaceOfItsCell) {
  PlayBoard(JudgingBoard());
  form_->Command1[14].Click();
  EXPECT_EQ(form_->SelectedCell, 14);
  EXPECT_FALSE(form_->Command1[14].Visible());
  EXPECT_TRUE(form_->Label1.Visible());
  EXPECT_EQ(form_->Label1.Left(), 3300 + 2 * 1110);
  EXPECT_EQ(form_->Label1.Top(), 200 + 2 * 1290);
  EXPECT_EQ(form_->Label1.Caption(), "");
  form_->Command1[14].Click();  // its button is hidden: nothing happens
  EXPECT_EQ(form_->SelectedCell, 14);
  EXPECT_EQ(form_->Mistakes, 0);
}

TEST_F(MatchTest, AWrongPairDropsTheChoiceAndTheSameSecondCellStartsANewOne) {
  PlayBoard(JudgingBoard());
  form_->Command1[1].Click();
  form_->Command1[9].Click();
  EXPECT_EQ(form_->Label1.Left(), 3300 + 3 * 1110);
  EXPECT_EQ(form_->Label1.Top(), 200 + 1 * 1290);
  EXPECT_EQ(form_->Label1.Caption(), "猫");
  EXPECT_TRUE(form_->Command1[9].Visible()) << "the marker lies beneath this button";

  form_->Command1[9].Click();
  EXPECT_EQ(form_->SelectedCell, 9);
  EXPECT_FALSE(form_->Command1[9].Visible());
  EXPECT_TRUE(form_->Label1.Visible());
  form_->Command1[8].Click();
  EXPECT_EQ(form_->MatchedPairs, 1);
  EXPECT_EQ(form_->Mistakes, 1);
  EXPECT_FALSE(form_->Label1.Visible());
}

TEST_F(MatchTest, EveryPairLengthensTheBarAndTheNinthChangesTheBackground) {
  LoadOwnBook(36);
  Deal(1);
  for (int k = 0; k < 8; ++k) ClearPair(k);
  Tick(10);
  EXPECT_EQ(form_->Label2.Top(), 400 - 8 * 200 + 10 * 6);
  EXPECT_EQ(form_->Label2.Height(), 7500 + 8 * 200 - 10 * 6);
  EXPECT_EQ(form_->Label2.Top() + form_->Label2.Height(), 7900) << "the lower edge never moves";

  const std::size_t pictures = platform_.picture_requests.size();
  random_.PushIndex(13, 20);
  ClearPair(8);
  EXPECT_EQ(platform_.picture_requests.size(), pictures + 1);
  EXPECT_EQ(kit::PicturePath(form_->Window()), dir_.Str() + "/Pic/13.jpg");
  for (int k = 9; k < 17; ++k) ClearPair(k);
  EXPECT_EQ(platform_.picture_requests.size(), pictures + 1);
  ScriptDeal();
  ClearPair(17);
  EXPECT_EQ(platform_.picture_requests.size(), pictures + 2) << "only the next round's picture";
}

TEST_F(MatchTest, AWonRoundReportsItselfKeepsTheBestTimeAndDealsTheSameTextsAgain) {
  LoadOwnBook(36);
  Deal(2);
  const auto cells = form_->BoardCells;
  struct Row {
    int best_before, elapsed, mistakes, best_after;
    std::string time, report;
  } rows[] = {
      {10000, 352, 0, 352, "35.2", "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 35.2 秒"},
      {352, 352, 0, 352, "35.2", "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 35.2 秒"},
      {352, 351, 0, 351, "35.1", "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 35.1 秒"},
      {10000, 300, 0, 300, "30.0", "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 30.0 秒"},
      {10000, 100, 1, 10000, "10.0", "本局共 18 个单词\r\n您共错了 1 次\r\n本局用时 10.0 秒"},
      {500, 7, 2, 500, "0.7", "本局共 18 个单词\r\n您共错了 2 次\r\n本局用时 0.7 秒"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.report);
    form_->BestTime = row.best_before;
    for (int m = 0; m < row.mistakes; ++m) {
      form_->Command1[ButtonOf(0)].Click();
      form_->Command1[ButtonOf(3)].Click();
    }
    Tick(row.elapsed);
    platform_.messages.clear();
    bool clock_during_message = true;
    platform_.on_message = [&](const std::string&) {
      clock_during_message = form_->Timer1.Enabled();
    };
    random_.PushIndex(7, 20);  // the ninth pair's picture, then the next deal
    ScriptDeal(Reversed());
    for (int k = 0; k < 18; ++k) ClearPair(k);
    ASSERT_EQ(platform_.messages, std::vector<std::string>{row.report});
    EXPECT_FALSE(clock_during_message);
    EXPECT_EQ(form_->BestTime, row.best_after);
    EXPECT_EQ(form_->TimeText, row.time);
    // The next round: the same texts in a new order, everything reset, the clock running.
    EXPECT_TRUE(form_->Timer1.Enabled());
    EXPECT_EQ(form_->BoardCells, cells);
    std::vector<std::string> dealt = Captions(), expected(cells.begin(), cells.end());
    std::sort(dealt.begin(), dealt.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dealt, expected);
    EXPECT_EQ(ShownCells(), kCells);
    EXPECT_EQ(form_->Elapsed, 0);
    EXPECT_EQ(form_->Mistakes, 0);
    EXPECT_EQ(form_->MatchedPairs, 0);
    EXPECT_EQ(form_->Label2.Top(), 400);
    EXPECT_EQ(form_->Label2.Height(), 7500);
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
    form_->Command6.Click();
    if (row.idiom_book)
      SelectBook(books::kIdiomBookLabel);
    else
      LoadOwnBook(36);
    if (row.idiom_book)  // group 0: its 18 records first
      for (int k = 0; k < 18; ++k) random_.PushIndex(100 * k, 17508);
    Deal(row.idiom_book ? 0 : 1);
    form_->BestTime = 400;
    for (int k = 0; k < row.pairs; ++k) ClearPair(k);
    form_->Command1[ButtonOf(2 * 5)].Click();  // a selection left open
    const auto cells = form_->BoardCells;

    Tick(row.timeout - 1);
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(form_->Label2.Height(), 7500 + row.pairs * 200 - (row.timeout - 1) * row.step);
    bool clock_during_message = true;
    platform_.on_message = [&](const std::string&) {
      clock_during_message = form_->Timer1.Enabled();
    };
    ScriptDeal(Reversed());
    Tick(1);
    EXPECT_EQ(platform_.messages, std::vector<std::string>{"过时，请重新来过"});
    EXPECT_FALSE(clock_during_message);
    EXPECT_TRUE(form_->Timer1.Enabled());
    EXPECT_EQ(form_->BoardCells, cells);
    EXPECT_EQ(ShownCells(), kCells);
    EXPECT_EQ(form_->SelectedCell, -1);
    EXPECT_EQ(form_->Elapsed, 0);
    EXPECT_EQ(form_->MatchedPairs, 0);
    EXPECT_EQ(form_->Label2.Top(), 400);
    EXPECT_EQ(form_->Label2.Height(), 7500);
    EXPECT_EQ(form_->BestTime, 400);
    platform_.messages.clear();
    platform_.on_message = nullptr;
  }
}

TEST_F(MatchTest, ClosingSaysFarewellWithTheBestTimeWhileTheClockStands) {
  struct Row {
    int best;
    std::string farewell;
  } rows[] = {
      {10000, "本次连连看\r\n无最好成绩\r\nGood-Bye!"},
      {352, "本次连连看\r\n最好成绩为 35.2 秒\r\nGood-Bye!"},
      {120, "本次连连看\r\n最好成绩为 12.0 秒\r\nGood-Bye!"},
  };
  LoadOwnBook(36);
  Deal(1);
  for (const Row& row : rows) {
    form_->Timer1.SetEnabled(true);
    form_->BestTime = row.best;
    platform_.messages.clear();
    bool clock_during_message = true;
    platform_.on_message = [&](const std::string&) {
      clock_during_message = form_->Timer1.Enabled();
    };
    EXPECT_TRUE(kit::Ends([&] { form_->Window().Close(); }));
    EXPECT_EQ(platform_.messages, std::vector<std::string>{row.farewell});
    EXPECT_FALSE(clock_during_message);
    EXPECT_TRUE(platform_.ended);
  }
}

// Everything a player could see or the round could count.
std::string Describe(match::Form1& f) {
  std::ostringstream out;
  for (int b = 0; b < kCells; ++b)
    out << f.Command1[b].Caption() << (f.Command1[b].Visible() ? "+" : "-") << ",";
  out << f.Label1.Caption() << f.Label1.Visible() << f.Label1.Left() << "/" << f.Label1.Top()
      << " bar " << f.Label2.Top() << "/" << f.Label2.Height() << " " << f.Elapsed << " "
      << f.Mistakes << " " << f.MatchedPairs << " " << f.SelectedCell << " " << f.Window().Caption()
      << " " << kit::PicturePath(f.Window());
  return out.str();
}

TEST_F(MatchTest, ARoundPausesWhileItsWindowIsAwayAndResumesAsItWasLeft) {
  LoadOwnBook(36);
  Deal(1);
  Tick(10);
  ClearPair(0);
  form_->Command1[ButtonOf(2)].Click();
  form_->Command1[ButtonOf(5)].Click();  // a mistake
  form_->Command1[ButtonOf(4)].Click();  // and a selection left open
  form_->Window().Move(1500, 900, form_->Window().Width(), form_->Window().Height());
  const std::string before = Describe(*form_);
  const int draws = random_.draws;

  shell_.SwitchMode(*form_, shell::Mode::Quiz);
  auto* other = dynamic_cast<OtherMode*>(shell_.Find(shell::Mode::Quiz));
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(form_->Window().Visible());
  EXPECT_FALSE(form_->Timer1.Enabled());
  EXPECT_EQ(other->Window().Left(), 1500);
  EXPECT_EQ(other->Window().Top(), 900);
  Tick(50);  // a hidden window's clock stands
  other->Window().Move(3000, 600, other->Window().Width(), other->Window().Height());

  shell_.SwitchMode(*other, shell::Mode::Match);
  EXPECT_TRUE(form_->Window().Visible());
  EXPECT_TRUE(form_->Timer1.Enabled());
  EXPECT_EQ(form_->Window().Left(), 3000);
  EXPECT_EQ(form_->Window().Top(), 600);
  EXPECT_EQ(Describe(*form_), before);
  EXPECT_EQ(random_.draws, draws);

  Tick(1);
  EXPECT_EQ(form_->Elapsed, 11);
  form_->Command1[ButtonOf(5)].Click();
  EXPECT_EQ(form_->MatchedPairs, 2);
  EXPECT_EQ(form_->Mistakes, 1);
}

}  // namespace
}  // namespace match_test
