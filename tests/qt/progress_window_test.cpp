// The progress window on the offscreen platform: what it shows of its page, F2 and Esc, the
// empty journal's hint, the header and a second list, and charts of extreme values.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <climits>

#include "progress/overview_samples.h"
#include "qt/progress/bar_chart.h"
#include "qt/progress/progress_window.h"
#include "qt/qt_harness.h"

namespace {

using qtharness::Settle;

using overview_samples::kToday;
using overview_samples::Sample;

progresspage::Page PageOf(const progress::Overview& overview, bool recording = true,
                          std::vector<progresspage::BookLearned> books = {}) {
  return progresspage::Describe(overview, {kToday, recording, std::move(books)});
}

class ProgressWindowTest : public ::testing::Test {
 protected:
  void Show(const progresspage::Page& page) {
    window_.SetPage(page);
    window_.show();
    Settle();
  }
  template <class W = QWidget>
  W* Find(const char* name) {
    auto* widget = window_.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QAccessible::Role RoleOf(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->role();
  }

  std::vector<std::string> spoken_;
  qtprogress::ProgressWindow window_{[this](const std::string& word) { spoken_.push_back(word); }};
};

TEST_F(ProgressWindowTest, ShowsTheFiguresTheShareOfGoodAndTheChartsInWords) {
  Show(PageOf(Sample()));
  EXPECT_EQ(Find<QLabel>("good_share")->text().toStdString(),
            "近 30 天答对率：85%（复习 412 次，答对 350 次）");
  EXPECT_TRUE(Find<QLabel>("due_today")->text().contains("今天到期"));
  EXPECT_TRUE(Find("due_today")->toolTip().contains("其中现在到期 21 个")) << "what F3 takes now";
  EXPECT_EQ(Find("due_within_week")->toolTip(), "今天到期的单词也算在内");
  for (auto [name, figure] : {std::pair{"practised", "练过的单词：486 个"},
                              {"due_today", "今天到期：23 个"},
                              {"due_within_week", "7 天内到期：118 个"},
                              {"learned", "已掌握：137 个"}})
    EXPECT_EQ(Find(name)->accessibleName().toStdString(), figure);
  // Days are named from the given today: 29 days before 8 December, and a week after it.
  EXPECT_EQ(Find("reviews_chart")->accessibleDescription().toStdString(),
            "共复习 8 次；最多的一天是11月9日，5 次；今天 3 次。");
  EXPECT_EQ(Find("due_chart")->accessibleDescription().toStdString(),
            "共 63 个单词到期；最多的一天是12月15日，40 个；今天 23 个。");
  EXPECT_EQ(Find("reviews_chart")->accessibleName(), "近 30 天每天复习的次数");
  EXPECT_EQ(RoleOf(Find("reviews_chart")), QAccessible::Chart);
  EXPECT_EQ(RoleOf(&window_), QAccessible::Window);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&window_)->text(QAccessible::Name), "学习记录");
}

TEST_F(ProgressWindowTest, ListsTheMissedWordsInOrderAndF2SaysTheSelectedOne) {
  window_.Open(PageOf(Sample()));
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  EXPECT_EQ(window_.windowModality(), Qt::NonModal);
  auto* list = Find<QTreeWidget>("most_missed");
  ASSERT_EQ(list->topLevelItemCount(), 3);
  const char* rows[][3] = {{"enormous", "巨大的", "7"},
                           {"take into account", "考虑到", "4"},
                           {"refrain", "克制，抑制", "2"}};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      EXPECT_EQ(list->topLevelItem(row)->text(column).toStdString(), rows[row][column]);
  EXPECT_EQ(QApplication::focusWidget(), list) << "the keys go to the list at once";
  QTest::keyClick(list, Qt::Key_F2);
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_F2);
  list->clearSelection();
  QTest::keyClick(list, Qt::Key_F2);  // nothing selected: nothing said
  EXPECT_EQ(spoken_, (std::vector<std::string>{"enormous", "take into account"}));
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(window_.isVisible());
  window_.Open(PageOf(Sample()));
  EXPECT_TRUE(window_.isVisible());
}

TEST_F(ProgressWindowTest, AnEmptyJournalShowsAHintAndNoMissesSaySo) {
  progress::Overview none_missed = Sample();
  none_missed.most_missed.clear();
  struct Row {
    progress::Overview overview;
    bool hint, charts, list;
  };
  for (const Row& row : {Row{{}, true, false, false}, Row{Sample(), false, true, true},
                         Row{none_missed, false, true, false}}) {
    Show(PageOf(row.overview));
    EXPECT_EQ(Find("empty_hint")->isVisible(), row.hint);
    EXPECT_EQ(Find("due_chart")->isVisible(), row.charts);
    EXPECT_EQ(Find("most_missed")->isVisible(), row.list);
    EXPECT_EQ(Find("no_misses")->isVisible(), row.charts && !row.list);
  }
  EXPECT_TRUE(Find<QLabel>("empty_hint")->text().startsWith("还没有学习记录"));
}

TEST_F(ProgressWindowTest, TheHeaderAndTheBooksListShowWhenThePageHasThem) {
  Show(PageOf(Sample(), false, {{"《初中英语》(第一册)(304)", 36, 304}}));
  EXPECT_EQ(Find<QLabel>("header")->text(), "记录学习进度已关闭");
  EXPECT_TRUE(Find("header")->isVisible());
  auto* books = Find<QTreeWidget>("books");
  ASSERT_EQ(books->topLevelItemCount(), 1);
  EXPECT_EQ(books->topLevelItem(0)->text(0), "《初中英语》(第一册)(304)：已学 36 / 304");
  EXPECT_TRUE(books->isVisible());
  EXPECT_TRUE(books->isHeaderHidden());
  EXPECT_EQ(books->accessibleName(), "练过的词库");
  books->setFocus();
  QTest::keyClick(books, Qt::Key_F2);  // a book is not a word: nothing said
  EXPECT_TRUE(spoken_.empty());
  Show(PageOf(Sample()));
  EXPECT_FALSE(Find("header")->isVisible());
  EXPECT_FALSE(books->isVisible());
  EXPECT_TRUE(Find("most_missed")->isVisible());
}

// Opened over a round in play the window holds the program, as a message does, until it is
// closed; opened from anywhere else it holds nothing up.
TEST_F(ProgressWindowTest, OverARoundInPlayItHoldsTheProgramUntilClosedAndSaysSoOnce) {
  int closed = 0;
  window_.Open(PageOf(Sample()), [&closed] { ++closed; });
  Settle();
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(window_.windowModality(), Qt::ApplicationModal);
  QTest::keyClick(&window_, Qt::Key_Escape);
  Settle();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(closed, 1);
  window_.Open(PageOf(Sample()));
  Settle();
  EXPECT_EQ(window_.windowModality(), Qt::NonModal);
  window_.close();
  Settle();
  EXPECT_EQ(closed, 1) << "only the opening that asked for it is told";
}

TEST(ProgressChart, ExtremeValuesPaintAtAnySize) {
  const std::vector<int> rows[] = {
      std::vector<int>(30, 0),
      std::vector<int>(30, -5),
      [] {
        std::vector<int> v(30, 1);
        v[29] = INT_MAX;
        return v;
      }(),
      std::vector<int>(30, INT_MAX),
      [] {  // a backlog on the first day, cut with its value written on it
        std::vector<int> v(30, 3);
        v[0] = 9999;
        return v;
      }(),
  };
  for (const std::vector<int>& values : rows) {
    qtprogress::ProgressWindow window(nullptr);
    progress::Overview overview = Sample();
    std::copy(values.begin(), values.end(), overview.reviews_per_day.begin());
    std::copy(values.begin(), values.end(), overview.due_per_day.begin());
    const progresspage::Page page = PageOf(overview);
    window.SetPage(page);
    for (const char* name : {"reviews_chart", "due_chart"}) {
      auto* chart = window.findChild<qtprogress::BarChart*>(name);
      ASSERT_NE(chart, nullptr);
      EXPECT_EQ(chart->accessibleDescription().toStdString(),
                page.charts[std::string(name) == "due_chart"].summary);
      for (const QSize size : {QSize(1, 1), QSize(40, 30), QSize(2000, 400)}) {
        chart->resize(size);
        EXPECT_FALSE(chart->grab().isNull()) << size.width();
      }
    }
  }
}

}  // namespace
