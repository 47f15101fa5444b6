#include <gtest/gtest.h>

#include "kit/kit.h"
#include "ui/control.h"
#include "ui/focus.h"
#include "ui/random.h"
#include "ui/window.h"

namespace {

class AlmostOne : public ui::Random {
 public:
  double Next() override { return 0x1.fffffffffffffp-1; }  // the largest double below 1
  void Reseed(std::uint64_t) override {}
};

TEST(RandomTest, BelowNeverReachesItsBoundEvenForTheLargestFraction) {
  AlmostOne r;
  for (int n : {1, 3, 4, 18, 20, 36, 17508, 30000, 1 << 30}) EXPECT_EQ(r.Below(n), n - 1) << n;
}

TEST(RandomTest, ClockRandomStaysInTheHalfOpenUnitIntervalAndRepeatsForASeed) {
  ui::ClockRandom a, b;
  a.Reseed(7);
  b.Reseed(7);
  for (int i = 0; i < 10000; ++i) {
    double r = a.Next();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    ASSERT_EQ(r, b.Next());
  }
}

struct Recorder : ui::ControlObserver {
  std::vector<ui::Property> seen;
  void Changed(ui::Control&, ui::Property what) override { seen.push_back(what); }
};

TEST(ControlTest, ClicksReachHandlersOnlyOnShownEnabledControls) {
  ui::ButtonArray cells("cells", 3);
  int clicked = -1;
  cells.on_click = [&](int i) { clicked = i; };
  cells[2].Click();
  EXPECT_EQ(clicked, 2);
  EXPECT_EQ(cells[2].Name(), "cells_2");
  clicked = -1;
  cells[1].SetEnabled(false);
  cells[1].Click();
  cells[0].SetVisible(false);
  cells[0].Click();
  EXPECT_EQ(clicked, -1);

  ui::Timer timer("timer");
  int ticks = 0;
  timer.on_timer = [&] { ++ticks; };
  timer.Tick();
  EXPECT_EQ(ticks, 0) << "a timer starts disabled";
  timer.SetEnabled(true);
  timer.Tick();
  EXPECT_EQ(ticks, 1);
}

TEST(ControlTest, ObserversHearOnlyRealChanges) {
  ui::Label label("bar");
  Recorder r;
  label.SetObserver(&r);
  label.Move(1, 2, 3, 4);
  label.Move(1, 2, 3, 4);
  label.SetTop(2);
  label.SetCaption("x");
  label.SetCaption("x");
  label.SetVisible(true);
  EXPECT_EQ(r.seen, (std::vector<ui::Property>{ui::Property::Geometry, ui::Property::Caption}));
}

TEST(ControlTest, AutoSizeLabelFollowsItsCaptionAndFont) {
  kit::FakePlatform platform;
  ui::Window window("probe_window", platform);
  ui::Label label("note");
  label.SetFont({"宋体", 14.25, false});
  label.SetAutoSize(true);
  window.Add(label);
  label.SetCaption("苹果树");
  EXPECT_EQ(label.Width(), 3 * 285);
  label.SetCaption("");
  EXPECT_EQ(label.Width(), 0);
}

TEST(ControlTest, ListBoxTextIsTheSelectedRowOrEmpty) {
  ui::ListBox list("list");
  list.AddItem("0");
  list.AddItem("1");
  EXPECT_EQ(list.Text(), "");
  list.SetListIndex(1);
  EXPECT_EQ(list.Text(), "1");
  list.SetListIndex(5);
  EXPECT_EQ(list.ListIndex(), -1);
  list.SetListIndex(0);
  list.Clear();
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.Text(), "");
}

// A window laid out like the program's: a board of 3 x 3 touching cells, a list and a
// one-line text box, a button of its own and a multi-line box.
class FocusTest : public ::testing::Test {
 protected:
  FocusTest() {
    window_.Add(button_);
    window_.Add(text_area_);
    window_.Add(cells_);
    window_.Add(line_box_);
    window_.Add(list_);
    for (int i = 0; i < cells_.Count(); ++i)
      cells_[i].Move(3300 + (i % 3) * 1110, 200 + (i / 3) * 1290, 1110, 1290);
    button_.Move(500, 1300, 975, 375);
    text_area_.SetMultiLine(true);
  }
  // The name of the control NextFocus picks, "" for the window itself.
  std::string Next(const ui::Control* from) {
    const ui::Control* c = ui::NextFocus(window_, from);
    return c ? c->Name() : "";
  }

  kit::FakePlatform platform_;
  ui::Window window_{"probe_window", platform_};
  ui::Button button_{"button"};
  ui::TextBox text_area_{"text_area"};
  ui::ButtonArray cells_{"cells", 9};
  ui::TextBox line_box_{"line_box"};
  ui::ListBox list_{"list"};
};

TEST_F(FocusTest, ALostFocusGoesToTheNearestCellInItsRowThenTheControlActedOnNext) {
  struct Row {
    std::vector<int> hidden;  // cells hidden (the one losing the focus among them)
    int from;                 // -1: no control holds the focus
    bool list, text;          // whether list and line_box are shown
    const char* next;
  } rows[] = {
      {{4}, 4, false, false, "cells_5"},           // its row, the later one at equal distance
      {{4, 5}, 4, false, false, "cells_3"},        // its row, before it
      {{3, 4, 5}, 4, false, false, "cells_7"},     // no cell left in the row: the row below
      {{0, 3, 4, 5}, 3, false, false, "cells_6"},  // the nearest row, then the nearest column
      {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 8, true, true, "list"},
      {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 8, false, true, "line_box"},
      {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 8, false, false, ""},  // the window holds it
      {{}, -1, true, true, "list"},                        // nothing held it: the list comes first
      {{0, 1}, -1, false, false, "cells_2"},               // then the first shown cell
  };
  for (const Row& row : rows) {
    for (int i = 0; i < cells_.Count(); ++i) cells_[i].SetVisible(true);
    for (int i : row.hidden) cells_[i].SetVisible(false);
    list_.SetVisible(row.list);
    line_box_.SetVisible(row.text);
    const ui::Control* from = row.from >= 0 ? &cells_[row.from] : nullptr;
    EXPECT_EQ(Next(from), row.next) << "from " << row.from;
  }
  // A disabled control is passed over like a hidden one; a button of its own and a
  // multi-line box never take the focus this way.
  list_.SetVisible(true);
  list_.SetEnabled(false);
  line_box_.SetVisible(false);
  for (int i = 0; i < cells_.Count(); ++i) cells_[i].SetVisible(false);
  EXPECT_EQ(Next(&button_), "");
  cells_[7].SetVisible(true);
  EXPECT_EQ(Next(&list_), "cells_7");
}

TEST_F(FocusTest, AnArrowWalksToTheNearestButtonOfItsOwnKindThatWay) {
  using D = ui::Direction;
  struct Row {
    std::vector<int> hidden;
    int disabled;  // -1: none
    int from;      // -1: button, the button of its own
    D direction;
    const char* lands_on;  // "": the focus stays
  } rows[] = {
      {{4}, -1, 3, D::Right, "cells_5"},        // over the cleared cell, along the row
      {{4}, -1, 1, D::Down, "cells_7"},         // over the cleared cell, down the column
      {{4}, -1, 7, D::Up, "cells_1"},           // and back up
      {{}, -1, 5, D::Right, ""},                // nothing that way
      {{}, -1, 3, D::Left, ""},                 // button lies that way, but is no cell
      {{1, 2}, -1, 0, D::Right, "cells_4"},     // row empty that way: the nearest beyond it
      {{1, 2, 4}, -1, 0, D::Right, "cells_5"},  // 7 is nearer along, but further aside
      {{4, 5}, -1, 3, D::Right, "cells_7"},     // 1 and 7 as near: the one after it
      {{4}, 5, 3, D::Right, "cells_7"},         // a disabled cell is passed over
      {{}, -1, -1, D::Right, ""},               // a button of its own walks to no cell
  };
  for (const Row& row : rows) {
    for (int i = 0; i < cells_.Count(); ++i) {
      cells_[i].SetVisible(true);
      cells_[i].SetEnabled(i != row.disabled);
    }
    for (int i : row.hidden) cells_[i].SetVisible(false);
    const ui::Button& from = row.from >= 0 ? cells_[row.from] : button_;
    const ui::Button* to = ui::Neighbour(window_, from, row.direction);
    EXPECT_EQ(to ? to->Name() : "", row.lands_on)
        << from.Name() << " direction " << static_cast<int>(row.direction);
  }
}

}  // namespace
