// Whole match rounds on a real X display: a catalogue book from beside the program, every
// cell clicked with the real mouse (the partners found through the model), photographed when
// dealt and when half cleared; a round with a mistake, an error-free one, and the farewell.
// A round played by keys alone, and the keys pressed while a list is hidden.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QWidget>
#include <algorithm>
#include <deque>
#include <map>
#include <string>

#include "e2e/driver.h"
#include "kit/kit.h"
#include "match/form1.h"
#include "shell/shell.h"
#include "ui/focus.h"

namespace {

using shell::Mode;

constexpr std::string_view kBook = "《大学英语1-4级词汇》(上)(2303)";

class MatchOnScreen : public ::testing::Test {
 protected:
  explicit MatchOnScreen(const std::filesystem::path& program_dir = e2e::ProgramDir())
      : driver(program_dir) {}

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

// A program folder of its own: an own book of 36 words, and pictures.
struct OwnFolder {
  OwnFolder() {
    std::vector<kit::Record> book;
    for (int i = 1; i <= 36; ++i)
      book.emplace_back("word" + std::to_string(i), "词" + std::to_string(i) + "义");
    kit::WriteOwnBook(dir.Path(), book);
    e2e::WritePictures(dir.Path());
  }
  kit::TempDir dir;
};

class MatchByKeys : private OwnFolder, public MatchOnScreen {
 protected:
  MatchByKeys() : MatchOnScreen(dir.Path()) {}

  // The control holding the match window's focus (it gets the keys once the window is
  // active again, which the driver sees to before every key).
  QWidget* FocusedWidget() const {
    QWidget* window = driver.Window("Form1");
    return window ? window->focusWidget() : nullptr;
  }
  QString Focused() const {
    QWidget* w = FocusedWidget();
    return w ? w->objectName() : QString();
  }

  // The shortest run of arrow keys that walks the focus from the focused cell to `button`,
  // found by trying the arrows as the board's model answers them.
  std::string PathTo(int button) {
    using D = ui::Direction;
    const ui::Button* from = nullptr;
    for (int i = 0; i < form->Command1.Count(); ++i)
      if (Focused() == QString::fromStdString(form->Command1[i].Name())) from = &form->Command1[i];
    const ui::Button* target = &form->Command1[button];
    std::map<const ui::Button*, std::string> path{{from, ""}};
    std::deque<const ui::Button*> open{from};
    while (from && !open.empty() && !path.count(target)) {
      const ui::Button* at = open.front();
      open.pop_front();
      for (auto [d, name] : {std::pair{D::Left, "Left "}, std::pair{D::Right, "Right "},
                             std::pair{D::Up, "Up "}, std::pair{D::Down, "Down "}}) {
        const ui::Button* next = ui::Neighbour(form->Window(), *at, d);
        if (!next || path.count(next)) continue;
        path[next] = path[at] + name;
        open.push_back(next);
      }
    }
    EXPECT_TRUE(path.count(target)) << "no way to button " << button;
    return path[target];
  }
  // Chooses a cell by keys: the arrows to it, then Enter.
  bool PressCell(int cell) { return driver.Key(PathTo(ButtonOf(cell)) + "Return"); }
};

TEST_F(MatchByKeys, AWholeRoundIsPlayedWithKeysAloneAndEnterNeverLeavesTheGame) {
  ASSERT_TRUE(driver.Start());
  form = driver.Model<match::Form1>(Mode::Match);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Focused(), "List1");
  ASSERT_TRUE(driver.Key("Return"));
  EXPECT_TRUE(form->List1.Visible()) << "Enter with no book chosen does nothing";
  ASSERT_TRUE(driver.Key("Down"));
  ASSERT_EQ(form->List1.Text(), books::kOwnBookLabel);
  ASSERT_TRUE(driver.Key("Return"));
  ASSERT_EQ(form->Book.WordCount, 36);
  EXPECT_EQ(Focused(), "List2");
  ASSERT_TRUE(driver.Key("Down Down"));
  ASSERT_EQ(form->List2.Text(), "1");
  ASSERT_TRUE(driver.Key("Return"));
  ASSERT_TRUE(driver.WaitUntil([&] { return Focused() == "Command1_0"; }));
  EXPECT_EQ(driver.Window("Form1")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - 《My词库》 - 1");

  form = driver.Model<match::Form1>(Mode::Match);
  for (int k = 0; k < 18; ++k) {
    ASSERT_TRUE(PressCell(2 * k));
    ASSERT_EQ(form->SelectedCell, ButtonOf(2 * k)) << "pair " << k;
    if (k == 17) driver.AnswerMessages(1);
    ASSERT_TRUE(PressCell(2 * k + 1));
    ASSERT_EQ(form->MatchedPairs, k == 17 ? 0 : k + 1) << "pair " << k;
  }
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.Messages().size() == 1; }));
  EXPECT_EQ(driver.Messages()[0].rfind("本局共 18 个单词\n您共错了 0 次\n本局用时 ", 0), 0u)
      << driver.Messages()[0];
  EXPECT_LT(form->BestTime, 10000);

  // The next deal has the focus on its first cell, in the window active again; Enter there
  // chooses it, nothing else.
  ASSERT_TRUE(driver.WaitUntil([&] {
    return QApplication::focusWidget() && QApplication::focusWidget()->objectName() == "Command1_0";
  }));
  ASSERT_TRUE(driver.Key("Return"));
  EXPECT_EQ(form->SelectedCell, 0);
  EXPECT_TRUE(driver.OnScreen("Form1"));
  EXPECT_EQ(driver.Model<shell::ModeWindow>(Mode::Quiz), nullptr);
  EXPECT_FALSE(driver.Screenshot("Form1", "match-by-keys").empty());
}

TEST_F(MatchByKeys, KeysPressedWhileTheBookListIsHiddenLeaveTheChosenBook) {
  ASSERT_TRUE(driver.Start());
  form = driver.Model<match::Form1>(Mode::Match);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(driver.ClickRow("Form1", "List1", kit::RowOf(form->List1, books::kOwnBookLabel)));
  ASSERT_TRUE(driver.Click("Form1", "Command3"));
  // A double-click below the group rows, with none chosen, does nothing.
  auto* groups = dynamic_cast<QListWidget*>(driver.Widget("Form1", "List2"));
  ASSERT_NE(groups, nullptr);
  QWidget* below = groups->viewport();
  ASSERT_TRUE(driver.ClickAt(below->mapToGlobal(QPoint(10, below->height() - 5)), 2));
  EXPECT_TRUE(form->List2.Visible());
  EXPECT_EQ(form->List2.ListIndex(), -1);

  ASSERT_TRUE(driver.Key("Down"));
  EXPECT_EQ(form->List1.Text(), books::kOwnBookLabel);
  ASSERT_TRUE(driver.ClickRow("Form1", "List2", 1));
  ASSERT_TRUE(driver.Click("Form1", "Command2"));
  EXPECT_EQ(driver.Window("Form1")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - 《My词库》 - 1");
  EXPECT_EQ(form->List1.Text(), books::kOwnBookLabel);
  EXPECT_TRUE(driver.Messages().empty());
}

}  // namespace
