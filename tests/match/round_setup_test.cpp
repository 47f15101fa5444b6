// Dealing a board: the window's layout and states, the records of a group, the cell order.
#include <gtest/gtest.h>

#include <set>

#include "match_fixture.h"

namespace match_test {
namespace {

using match::kCells;

TEST_F(MatchTest, LoadLaysTheBoardOutFromItsFirstCell) {
  EXPECT_EQ(form_->Window().Caption(), "Kestrin之连连看V3.6");
  EXPECT_EQ(random_.reseeds, 1);
  EXPECT_EQ(form_->BestTime, 10000);
  struct Cell {
    int index, left, top;
  } cells[] = {{0, 3300, 200}, {5, 8850, 200}, {6, 3300, 1490}, {35, 8850, 6650}};
  for (const Cell& c : cells) {
    const ui::Button& b = form_->Command1[c.index];
    EXPECT_EQ(b.Left(), c.left) << c.index;
    EXPECT_EQ(b.Top(), c.top) << c.index;
    EXPECT_EQ(b.Width(), 1110);
    EXPECT_EQ(b.Height(), 1290);
    EXPECT_EQ(b.GetFont(), (ui::Font{"宋体", 10.5}));
  }
  EXPECT_EQ(form_->Label1.Width(), 1110);
  EXPECT_EQ(form_->Label1.Height(), 1290);
  EXPECT_EQ(form_->Label1.BackColor(), ui::Rgb(192, 255, 255));
  EXPECT_EQ(form_->Label1.GetFont(), (ui::Font{"宋体", 10.5}));
  EXPECT_EQ(form_->Label2.Left(), 2400);
  EXPECT_EQ(form_->Label2.Width(), 100);
  EXPECT_EQ(form_->Label2.BackColor(), ui::Rgb(255, 192, 192));
  EXPECT_EQ(form_->Label2.Caption(), "");
  EXPECT_FALSE(form_->Command2_1.Enabled()) << "the own mode's button";
  EXPECT_EQ(form_->Timer1.Interval(), 100);
}

// What each state shows, by control name; the cells are counted apart.
std::set<std::string> ShownControls(match::Form1& form) {
  std::set<std::string> shown;
  for (ui::Control* c : form.Window().Controls())
    if (c->Visible() && c->Name().rfind("Command1_", 0) != 0 && c->Name() != "Timer1")
      shown.insert(c->Name());
  return shown;
}

TEST_F(MatchTest, StatesShowTheirControlsAndRunTheClockOnlyInPlay) {
  const std::set<std::string> book = {"List1", "Command3"};
  const std::set<std::string> group = {"List2", "Command2"};
  const std::set<std::string> play = {"Label2",     "Command5",   "Command6",  "Command2_1",
                                      "Command2_2", "Command2_3", "Command2_4"};
  std::set<std::string> marked = play;
  marked.insert("Label1");
  struct Step {
    const char* what;
    std::function<void()> act;
    std::set<std::string> shown;
    int cells;
    bool clock;
  } steps[] = {
      {"load", [] {}, book, 0, false},
      {"选书", [&] { LoadOwnBook(36); }, group, 0, false},
      {"选组", [&] { Deal(1); }, play, 36, true},
      {"first choice", [&] { form_->Command1[0].Click(); }, marked, 35, true},
      {"换组词", [&] { form_->Command5.Click(); }, group, 0, false},
      {"选组 again",
       [&] {
         ScriptDeal();
         form_->Command2.Click();
       },
       play, 36, true},
      {"换本书", [&] { form_->Command6.Click(); }, book, 0, false},
      {"选书 again", [&] { SelectBook(books::kOwnBookLabel); }, group, 0, false},
  };
  for (Step& step : steps) {
    step.act();
    EXPECT_EQ(ShownControls(*form_), step.shown) << step.what;
    EXPECT_EQ(ShownCells(), step.cells) << step.what;
    EXPECT_EQ(form_->Timer1.Enabled(), step.clock) << step.what;
  }
}

TEST_F(MatchTest, GroupChoiceWithoutASelectedGroupIsIgnored) {
  LoadOwnBook(36);
  const int draws = random_.draws;
  form_->Command2.Click();
  form_->List2.DblClick();
  EXPECT_EQ(random_.draws, draws);
  EXPECT_EQ(form_->Window().Caption(), "Kestrin之连连看V3.6");
  EXPECT_TRUE(form_->List2.Visible());
  EXPECT_TRUE(form_->Command2.Visible());
  EXPECT_EQ(ShownCells(), 0);
  EXPECT_FALSE(form_->Timer1.Enabled());
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(MatchTest, EnterInTheBookAndGroupListsPressesTheButtonBesideOnlyWithARowChosen) {
  std::vector<kit::Record> book;
  for (int i = 1; i <= 36; ++i) book.emplace_back(English(i), Chinese(i));
  kit::WriteOwnBook(dir_.Path(), book);
  constexpr int kEnter = 13;
  form_->List1.KeyPress(kEnter);
  EXPECT_TRUE(form_->List1.Visible()) << "no book chosen: Enter does nothing";
  EXPECT_TRUE(platform_.messages.empty());
  form_->List1.SetListIndex(kit::RowOf(form_->List1, books::kOwnBookLabel));
  form_->List1.KeyPress('a');
  EXPECT_TRUE(form_->List1.Visible());
  form_->List1.KeyPress(kEnter);
  ASSERT_TRUE(form_->List2.Visible());
  EXPECT_EQ(form_->Book.WordCount, 36);

  form_->List2.KeyPress(kEnter);
  EXPECT_TRUE(form_->List2.Visible()) << "no group chosen: Enter does nothing";
  form_->List1.KeyPress(kEnter);  // the hidden book list takes no key
  EXPECT_TRUE(form_->List2.Visible());
  form_->List2.SetListIndex(1);
  random_.PushOrder(Identity());
  random_.PushIndex(0, 20);
  form_->List2.KeyPress(kEnter);
  EXPECT_EQ(ShownCells(), 36);
  EXPECT_EQ(form_->Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 1");
}

TEST_F(MatchTest, GroupChoiceNamesBookAndGroupInTheTitle) {
  LoadOwnBook(36);
  for (int k = 0; k < 18; ++k) random_.PushIndex(k, 36);  // group 0's records
  Deal(0);
  EXPECT_EQ(form_->Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 0");
  form_->Command5.Click();
  form_->List2.SetListIndex(2);
  ScriptDeal();
  form_->List2.DblClick();
  EXPECT_EQ(form_->Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 2");
  form_->Command6.Click();
  EXPECT_EQ(form_->Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 2")
      << "the book list keeps the last title";
}

// The records a group deals, the empty pairs past a short group, and the draws it takes.
TEST_F(MatchTest, GroupsDealTheirRecordsAndEmptyPairsBeyondAShortGroup) {
  struct Row {
    int book, group;
    std::vector<int> picks;  // records of pairs 0..17; 0: an empty pair
  };
  auto run = [](int from, int count) {
    std::vector<int> picks(18, 0);
    for (int k = 0; k < count; ++k) picks[static_cast<std::size_t>(k)] = from + k;
    return picks;
  };
  const Row rows[] = {
      {36, 1, run(1, 18)}, {36, 2, run(19, 18)}, {40, 3, run(37, 4)},
      {91, 6, run(91, 1)}, {91, 5, run(73, 18)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("book of " + std::to_string(row.book) + ", group " + std::to_string(row.group));
    LoadOwnBook(row.book);
    const int draws = random_.draws;
    Deal(row.group, Reversed(), 4);
    EXPECT_EQ(random_.draws - draws, kCells + 1) << "the order and the background only";
    int text_cells = 0;
    for (std::size_t k = 0; k < 18; ++k) {
      const int record = row.picks[k];
      EXPECT_EQ(form_->Picks[k], record);
      EXPECT_EQ(form_->BoardCells[2 * k], record ? English(record) : "");
      EXPECT_EQ(form_->BoardCells[2 * k + 1], record ? Chinese(record) : "");
      text_cells += record ? 2 : 0;
    }
    std::vector<std::string> expected(form_->BoardCells.rbegin(), form_->BoardCells.rend());
    EXPECT_EQ(Captions(), expected);
    EXPECT_EQ(ShownCells(), kCells);
    EXPECT_EQ(kit::PicturePath(form_->Window()), dir_.Str() + "/Pic/4.jpg");
    EXPECT_EQ(std::count(expected.begin(), expected.end(), ""), kCells - text_cells);
    form_->Command6.Click();
  }
}

TEST_F(MatchTest, GroupZeroDrawsEighteenIndependentRecordsBeforeTheOrder) {
  LoadOwnBook(91);
  const std::vector<int> draws = {90, 0, 45, 45, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0};
  for (int d : draws) random_.PushIndex(d, 91);
  Deal(0, Identity(), 19);
  EXPECT_EQ(random_.Remaining(), 0u);
  for (std::size_t k = 0; k < 18; ++k) {
    EXPECT_EQ(form_->Picks[k], draws[k] + 1);
    EXPECT_EQ(form_->BoardCells[2 * k], English(draws[k] + 1));
    EXPECT_EQ(form_->BoardCells[2 * k + 1], Chinese(draws[k] + 1));
  }
  EXPECT_EQ(kit::PicturePath(form_->Window()), dir_.Str() + "/Pic/19.jpg");

  // "换组词" and "选组" again: group 0 draws anew, a numbered group keeps its records.
  form_->Command5.Click();
  for (int k = 0; k < 18; ++k) random_.PushIndex(k + 50, 91);
  Deal(0);
  EXPECT_EQ(form_->Picks[0], 51);
  EXPECT_EQ(form_->Picks[17], 68);
}

TEST_F(MatchTest, GroupZeroDrawingOneRecordEveryTimeDealsItEighteenTimes) {
  LoadOwnBook(2);
  for (int k = 0; k < 18; ++k) random_.Push(0.499);  // record 1 of 2, every draw
  Deal(0, Reversed());
  const std::vector<std::string> captions = Captions();
  EXPECT_EQ(std::count(captions.begin(), captions.end(), English(1)), 18);
  EXPECT_EQ(std::count(captions.begin(), captions.end(), Chinese(1)), 18);
  // The same texts still pair across records: any entry with any meaning.
  form_->Command1[1].Click();
  form_->Command1[30].Click();
  EXPECT_EQ(form_->MatchedPairs, 1);
}

TEST_F(MatchTest, CellOrderRedrawsEveryValueAlreadyGiven) {
  LoadOwnBook(36);
  form_->List2.SetListIndex(1);
  // Button 0 takes 5; button 1 draws 5 twice before 3; button 2 draws 3 and 5 before 0.
  random_.PushIndex(5, 36);
  random_.PushIndex(5, 36), random_.PushIndex(5, 36), random_.PushIndex(3, 36);
  random_.PushIndex(3, 36), random_.PushIndex(5, 36), random_.PushIndex(0, 36);
  std::vector<int> rest;
  for (int c = 0; c < kCells; ++c)
    if (c != 5 && c != 3 && c != 0) rest.push_back(c);
  std::reverse(rest.begin(), rest.end());
  random_.PushOrder(rest);
  random_.PushIndex(11, 20);
  const int draws = random_.draws;
  form_->Command2.Click();
  EXPECT_EQ(random_.draws - draws, kCells + 4 + 1);
  EXPECT_EQ(form_->CellOrder[0], 5);
  EXPECT_EQ(form_->CellOrder[1], 3);
  EXPECT_EQ(form_->CellOrder[2], 0);
  EXPECT_EQ(form_->CellOrder[3], 35);
  std::set<int> all(form_->CellOrder.begin(), form_->CellOrder.end());
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kCells));
  EXPECT_EQ(kit::PicturePath(form_->Window()), dir_.Str() + "/Pic/11.jpg");
}

}  // namespace
}  // namespace match_test
