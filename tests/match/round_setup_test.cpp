// Dealing a board: the window's layout and screens, the records of a group, the cell order.
#include <gtest/gtest.h>

#include <set>

#include "match_fixture.h"

namespace match_test {
namespace {

TEST_F(MatchTest, LoadLaysTheBoardOutFromItsFirstCell) {
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之连连看V3.6");
  EXPECT_EQ(random_.reseeds, 1);
  struct Cell {
    int index, left, top;
  } cells[] = {
      {0, match::kBoardLeft, match::kBoardTop},
      {5, match::kBoardLeft + 5 * match::kCellWidth, match::kBoardTop},
      {6, match::kBoardLeft, match::kBoardTop + match::kCellHeight},
      {35, match::kBoardLeft + 5 * match::kCellWidth, match::kBoardTop + 5 * match::kCellHeight}};
  for (const Cell& c : cells) {
    const ui::Button& b = ui_.Cell(c.index);
    EXPECT_EQ(b.Left(), c.left) << c.index;
    EXPECT_EQ(b.Top(), c.top) << c.index;
    EXPECT_EQ(b.Width(), 1110);
    EXPECT_EQ(b.Height(), 1290);
    EXPECT_EQ(b.GetFont(), (ui::Font{"宋体", 10.5}));
  }
  EXPECT_EQ(cells[1].left, 8850);
  EXPECT_EQ(cells[3].top, 6650);
  EXPECT_EQ(ui_.Marker().Width(), 1110);
  EXPECT_EQ(ui_.Marker().Height(), 1290);
  EXPECT_EQ(ui_.Marker().BackColor(), ui::Rgb(192, 255, 255));
  EXPECT_EQ(ui_.Marker().GetFont(), (ui::Font{"宋体", 10.5}));
  EXPECT_EQ(ui_.TimeBar().Left(), 2400);
  EXPECT_EQ(ui_.TimeBar().Width(), 100);
  EXPECT_EQ(ui_.TimeBar().BackColor(), ui::Rgb(255, 192, 192));
  EXPECT_EQ(ui_.TimeBar().Caption(), "");
  EXPECT_FALSE(ui_.ModeButton(0).Enabled()) << "the own mode's button";
  EXPECT_EQ(ui_.Clock().Interval(), 100);
}

// Every screen shows exactly its controls (the cells are counted apart), and the clock runs
// only in play.
TEST_F(MatchTest, EachScreenShowsExactlyItsControlsAndRunsTheClockOnlyInPlay) {
  using Names = std::set<std::string>;
  const Names book = {"book_list", "choose_book_button"};
  const Names group = {"group_list", "choose_group_button"};
  const Names play = {"time_bar",       "change_group_button", "change_book_button",
                      "mode_buttons_0", "mode_buttons_1",      "mode_buttons_2",
                      "mode_buttons_3"};
  Names marked = play;
  marked.insert("marker");
  struct Step {
    const char* what;
    std::function<void()> act;
    Names shown;
    int cells;
    bool clock;
  } steps[] = {
      {"load", [] {}, book, 0, false},
      {"选书", [&] { LoadOwnBook(36); }, group, 0, false},
      {"选组", [&] { Deal(1); }, play, 36, true},
      {"first choice", [&] { ui_.Cell(0).Click(); }, marked, 35, true},
      {"换组词", [&] { ui_.ChangeGroupButton().Click(); }, group, 0, false},
      {"选组 again",
       [&] {
         ScriptDeal();
         ui_.ChooseGroupButton().Click();
       },
       play, 36, true},
      {"换本书", [&] { ui_.ChangeBookButton().Click(); }, book, 0, false},
      {"选书 again", [&] { SelectBook(books::kOwnBookLabel); }, group, 0, false},
  };
  for (Step& step : steps) {
    step.act();
    Names shown;
    for (const std::string& name : ui_.ShownNames())
      if (name.rfind("cells_", 0) != 0) shown.insert(name);
    EXPECT_EQ(shown, step.shown) << step.what;
    EXPECT_EQ(ShownCells(), step.cells) << step.what;
    EXPECT_EQ(ui_.Clock().Enabled(), step.clock) << step.what;
  }
}

TEST_F(MatchTest, GroupChoiceWithoutASelectedGroupIsIgnored) {
  LoadOwnBook(36);
  const int draws = random_.draws;
  ui_.ChooseGroupButton().Click();
  ui_.GroupList().DblClick();
  EXPECT_EQ(random_.draws, draws);
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之连连看V3.6");
  EXPECT_TRUE(ui_.GroupList().Visible());
  EXPECT_TRUE(ui_.ChooseGroupButton().Visible());
  EXPECT_EQ(ShownCells(), 0);
  EXPECT_FALSE(ui_.Clock().Enabled());
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(MatchTest, EnterInTheBookAndGroupListsPressesTheButtonBesideOnlyWithARowChosen) {
  std::vector<kit::Record> book;
  for (int i = 1; i <= 36; ++i) book.emplace_back(English(i), Chinese(i));
  kit::WriteOwnBook(dir_.Path(), book);
  constexpr int kEnter = 13;
  ui_.BookList().KeyPress(kEnter);
  EXPECT_TRUE(ui_.BookList().Visible()) << "no book chosen: Enter does nothing";
  EXPECT_TRUE(platform_.messages.empty());
  ui_.BookList().SetListIndex(kit::RowOf(ui_.BookList(), books::kOwnBookLabel));
  ui_.BookList().KeyPress('a');
  EXPECT_TRUE(ui_.BookList().Visible());
  ui_.BookList().KeyPress(kEnter);
  ASSERT_TRUE(ui_.GroupList().Visible());
  EXPECT_EQ(ui_.GroupList().ListCount(), 3) << "36 records: groups 0 to 2";

  ui_.GroupList().KeyPress(kEnter);
  EXPECT_TRUE(ui_.GroupList().Visible()) << "no group chosen: Enter does nothing";
  ui_.BookList().KeyPress(kEnter);  // the hidden book list takes no key
  EXPECT_TRUE(ui_.GroupList().Visible());
  ui_.GroupList().SetListIndex(1);
  random_.PushOrder(Identity());
  random_.PushIndex(0, 20);
  ui_.GroupList().KeyPress(kEnter);
  EXPECT_EQ(ShownCells(), 36);
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 1");
}

TEST_F(MatchTest, GroupChoiceNamesBookAndGroupInTheTitle) {
  LoadOwnBook(36);
  for (int k = 0; k < 18; ++k) random_.PushIndex(k, 36);  // group 0's records
  Deal(0);
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 0");
  ui_.ChangeGroupButton().Click();
  ui_.GroupList().SetListIndex(2);
  ScriptDeal();
  ui_.GroupList().DblClick();
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 2");
  ui_.ChangeBookButton().Click();
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 2")
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
    // Reversed: cell 35 - 2k shows pair k's entry, cell 34 - 2k its meaning.
    std::vector<std::string> expected(kCells);
    for (std::size_t k = 0; k < 18; ++k) {
      const int record = row.picks[k];
      expected[kCells - 1 - 2 * k] = record ? English(record) : "";
      expected[kCells - 2 - 2 * k] = record ? Chinese(record) : "";
    }
    EXPECT_EQ(Captions(), expected);
    EXPECT_EQ(ShownCells(), kCells);
    EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/4.jpg");
    ui_.ChangeBookButton().Click();
  }
}

TEST_F(MatchTest, GroupZeroDrawsEighteenIndependentRecordsBeforeTheOrder) {
  LoadOwnBook(91);
  const std::vector<int> draws = {90, 0, 45, 45, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0};
  for (int d : draws) random_.PushIndex(d, 91);
  Deal(0, Identity(), 19);
  EXPECT_EQ(random_.Remaining(), 0u);
  for (int k = 0; k < 18; ++k) {
    EXPECT_EQ(ui_.Cell(2 * k).Caption(), English(draws[k] + 1));
    EXPECT_EQ(ui_.Cell(2 * k + 1).Caption(), Chinese(draws[k] + 1));
  }
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/19.jpg");

  // "换组词" and "选组" again: group 0 draws anew, a numbered group keeps its records.
  ui_.ChangeGroupButton().Click();
  for (int k = 0; k < 18; ++k) random_.PushIndex(k + 50, 91);
  Deal(0);
  EXPECT_EQ(ui_.Cell(0).Caption(), English(51));
  EXPECT_EQ(ui_.Cell(34).Caption(), English(68));
}

TEST_F(MatchTest, GroupZeroDrawingOneRecordEveryTimeDealsItEighteenTimes) {
  LoadOwnBook(2);
  for (int k = 0; k < 18; ++k) random_.Push(0.499);  // record 1 of 2, every draw
  Deal(0, Reversed());
  const std::vector<std::string> captions = Captions();
  EXPECT_EQ(std::count(captions.begin(), captions.end(), English(1)), 18);
  EXPECT_EQ(std::count(captions.begin(), captions.end(), Chinese(1)), 18);
  // The same texts still pair across records: any entry with any meaning.
  ui_.Cell(1).Click();
  ui_.Cell(30).Click();
  EXPECT_FALSE(ui_.Cell(1).Visible());
  EXPECT_FALSE(ui_.Cell(30).Visible());
  EXPECT_EQ(platform_.beeps, 0);
}

TEST_F(MatchTest, CellOrderRedrawsEveryValueAlreadyGiven) {
  LoadOwnBook(36);
  ui_.GroupList().SetListIndex(1);
  // Cell 0 takes 5; cell 1 draws 5 twice before 3; cell 2 draws 3 and 5 before 0.
  for (int text : {5, 5, 5, 3, 3, 5, 0}) random_.PushIndex(text, kCells);
  std::vector<int> rest;
  for (int c = 0; c < kCells; ++c)
    if (c != 5 && c != 3 && c != 0) rest.push_back(c);
  std::reverse(rest.begin(), rest.end());
  random_.PushOrder(rest);
  random_.PushIndex(11, 20);
  const int draws = random_.draws;
  ui_.ChooseGroupButton().Click();
  EXPECT_EQ(random_.draws - draws, kCells + 4 + 1);
  // Text 5 is pair 2's meaning, text 3 pair 1's, text 0 pair 0's entry, text 35 pair 17's.
  EXPECT_EQ(ui_.Cell(0).Caption(), Chinese(3));
  EXPECT_EQ(ui_.Cell(1).Caption(), Chinese(2));
  EXPECT_EQ(ui_.Cell(2).Caption(), English(1));
  EXPECT_EQ(ui_.Cell(3).Caption(), Chinese(18));
  std::vector<std::string> all = Captions();
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::unique(all.begin(), all.end()), all.end()) << "every text on one cell";
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/11.jpg");
}

}  // namespace
}  // namespace match_test
