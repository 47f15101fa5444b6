// A whole match round on a real X display: a catalogue book from beside the program, every
// cell clicked with the real mouse (the partners found through the model), photographed when
// dealt and when half cleared; a round with a mistake, an error-free one, and the farewell.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "e2e/driver.h"
#include "kit/kit.h"
#include "match/form1.h"
#include "shell/shell.h"

namespace {

using shell::Mode;

constexpr std::string_view kBook = "《大学英语1-4级词汇》(上)(2303)";

class MatchOnScreen : public ::testing::Test {
 protected:
  // The button that shows cell `cell` in this round.
  int ButtonOf(int cell) const {
    const auto& order = form->CellOrder;
    return static_cast<int>(std::find(order.begin(), order.end(), cell) - order.begin());
  }
  bool ClickCell(int cell) {
    return driver.Click("Form1", "Command1_" + std::to_string(ButtonOf(cell)));
  }
  bool CellShown(int cell) const {
    QWidget* w = driver.Widget("Form1", "Command1_" + std::to_string(ButtonOf(cell)));
    return w && w->isVisible();
  }

  e2e::Driver driver;
  match::Form1* form = nullptr;
};

TEST_F(MatchOnScreen, AWholeRoundIsPlayedWithRealClicks) {
  ASSERT_TRUE(driver.Start());
  form = driver.Model<match::Form1>(Mode::Match);
  ASSERT_NE(form, nullptr);

  const int book = kit::RowOf(form->List1, kBook);
  ASSERT_GE(book, 0);
  ASSERT_TRUE(driver.ClickRow("Form1", "List1", book));
  ASSERT_TRUE(driver.Click("Form1", "Command3"));
  ASSERT_EQ(form->Book.WordCount, 2303) << "the sample books beside the program";
  ASSERT_TRUE(driver.ClickRow("Form1", "List2", 1));
  ASSERT_TRUE(driver.Click("Form1", "Command2"));
  ASSERT_TRUE(driver.WaitUntil([&] { return CellShown(0) && CellShown(35); }));
  EXPECT_EQ(driver.Window("Form1")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - " + std::string(kBook) + " - 1");
  EXPECT_TRUE(form->Timer1.Enabled());
  EXPECT_FALSE(driver.Screenshot("Form1", "match-dealt").empty());

  // A wrong pair first: both cells stay on the board.
  ASSERT_TRUE(ClickCell(0));
  ASSERT_TRUE(ClickCell(3));
  EXPECT_EQ(form->Mistakes, 1);
  EXPECT_TRUE(CellShown(0) && CellShown(3));

  for (int k = 0; k < 9; ++k) {
    ASSERT_TRUE(ClickCell(2 * k));
    ASSERT_TRUE(ClickCell(2 * k + 1));
    ASSERT_EQ(form->MatchedPairs, k + 1);
    EXPECT_FALSE(CellShown(2 * k) || CellShown(2 * k + 1)) << "pair " << k;
  }
  ASSERT_TRUE(ClickCell(2 * 9));  // the marker shows in the photograph
  EXPECT_TRUE(driver.Widget("Form1", "Label1")->isVisible());
  EXPECT_FALSE(driver.Screenshot("Form1", "match-half-cleared").empty());

  ASSERT_TRUE(ClickCell(2 * 9 + 1));
  for (int k = 10; k < 18; ++k) {
    ASSERT_TRUE(ClickCell(2 * k));
    if (k == 17) driver.AnswerMessages(1);
    ASSERT_TRUE(ClickCell(2 * k + 1));
  }
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.Messages().size() == 1; }));
  const std::string report = driver.Messages().front();
  EXPECT_EQ(report.rfind("本局共 18 个单词\n您共错了 1 次\n本局用时 ", 0), 0u) << report;
  EXPECT_EQ(form->BestTime, 10000) << "a round with a mistake";

  // The next round deals the same texts again; played without a mistake it sets the best time.
  ASSERT_TRUE(driver.WaitUntil([&] { return CellShown(0) && CellShown(35); }));
  EXPECT_EQ(form->MatchedPairs, 0);
  EXPECT_TRUE(form->Timer1.Enabled());
  for (int k = 0; k < 18; ++k) {
    ASSERT_TRUE(ClickCell(2 * k));
    if (k == 17) driver.AnswerMessages(1);
    ASSERT_TRUE(ClickCell(2 * k + 1));
  }
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.Messages().size() == 2; }));
  EXPECT_EQ(driver.Messages().back().rfind("本局共 18 个单词\n您共错了 0 次\n本局用时 ", 0), 0u);
  ASSERT_LT(form->BestTime, 10000);
  const std::string best = shell::TimeText(form->BestTime);

  driver.AnswerMessages(1);
  driver.Platform().Deliver([&] { form->Window().Close(); });
  ASSERT_EQ(driver.Messages().size(), 3u);
  EXPECT_EQ(driver.Messages().back(), "本次连连看\n最好成绩为 " + best + " 秒\nGood-Bye!");
  EXPECT_TRUE(driver.Ended());
}

}  // namespace
