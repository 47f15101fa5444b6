#include <gtest/gtest.h>

#include "kit/kit.h"
#include "ui/control.h"
#include "ui/random.h"
#include "text/text.h"
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

TEST(TextTest, CountsAndCutsByCharactersNotBytes) {
  struct Row {
    std::string text;
    std::size_t count;
  } rows[] = {{"", 0}, {"abc", 3}, {"苹果", 2}, {"a苹b", 3}, {"\xFF\xFE", 2}, {"\xE8\x8B", 1}};
  for (const auto& row : rows) EXPECT_EQ(text::CharCount(row.text), row.count) << row.text;
  EXPECT_EQ(text::CharOffset("一心一意", 2), 6u);
  EXPECT_EQ(text::CharOffset("ab", 5), 2u);
}

struct Recorder : ui::ControlObserver {
  std::vector<ui::Property> seen;
  void Changed(ui::Control&, ui::Property what) override { seen.push_back(what); }
};

TEST(ControlTest, ClicksReachHandlersOnlyOnShownEnabledControls) {
  ui::ButtonArray cells("Command1", 3);
  int clicked = -1;
  cells.OnClick = [&](int i) { clicked = i; };
  cells[2].Click();
  EXPECT_EQ(clicked, 2);
  EXPECT_EQ(cells[2].Name(), "Command1_2");
  clicked = -1;
  cells[1].SetEnabled(false);
  cells[1].Click();
  cells[0].SetVisible(false);
  cells[0].Click();
  EXPECT_EQ(clicked, -1);

  ui::Timer timer("Timer1");
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.Tick();
  EXPECT_EQ(ticks, 0) << "a timer starts disabled";
  timer.SetEnabled(true);
  timer.Tick();
  EXPECT_EQ(ticks, 1);
}

TEST(ControlTest, ObserversHearOnlyRealChanges) {
  ui::Label label("Label2");
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
  ui::Window window("Form2", platform);
  ui::Label label("Label1");
  label.SetFont({"宋体", 14.25, false});
  label.SetAutoSize(true);
  window.Add(label);
  label.SetCaption("苹果树");
  EXPECT_EQ(label.Width(), 3 * 285);
  label.SetCaption("");
  EXPECT_EQ(label.Width(), 0);
}

TEST(ControlTest, ListBoxTextIsTheSelectedRowOrEmpty) {
  ui::ListBox list("List2");
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

}  // namespace
