// The progress window on the offscreen platform: what it shows of an overview, F2 and Esc,
// the empty journal's hint, and charts of extreme values.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <climits>

#include "qt/progress/bar_chart.h"
#include "qt/progress/progress_window.h"
#include "qt/qt_harness.h"

namespace {

using qtharness::Settle;

const QDate kToday(2026, 12, 8);

progress::Overview Sample() {
  progress::Overview overview;
  overview.practised = 486;
  overview.due_now = 23;
  overview.due_within_week = 118;
  overview.learned = 137;
  overview.good_last_30_days = 350;
  overview.reviews_last_30_days = 412;
  overview.reviews_per_day[0] = 5;  // 29 days ago
  overview.reviews_per_day[29] = 3;
  overview.due_per_day[0] = 23;
  overview.due_per_day[7] = 40;
  overview.most_missed = {
      {"enormous", "巨大的", 7}, {"take into account", "考虑到", 4}, {"refrain", "克制，抑制", 2}};
  return overview;
}

class ProgressWindowTest : public ::testing::Test {
 protected:
  void Show(const progress::Overview& overview) {
    window_.SetOverview(overview, kToday);
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
  struct Row {
    int good, reviews;
    const char* share;
  };
  for (const Row& row : {Row{350, 412, "近 30 天答对率：85%（复习 412 次，答对 350 次）"},
                         Row{411, 412, "：99%"}, Row{1, 1000, "：1%"}, Row{500, 412, "：100%"},
                         Row{0, 0, "近 30 天没有复习，还算不出答对率。"}}) {
    progress::Overview overview = Sample();
    overview.good_last_30_days = row.good;
    overview.reviews_last_30_days = row.reviews;
    Show(overview);
    EXPECT_TRUE(Find<QLabel>("good_share")->text().contains(QString::fromUtf8(row.share)))
        << Find<QLabel>("good_share")->text().toStdString();
  }
  for (auto [name, figure] : {std::pair{"practised", "练过的单词：486 个"},
                              {"due_now", "现在到期：23 个"},
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
  window_.Open(Sample());
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
  window_.Open(Sample());
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
    Show(row.overview);
    EXPECT_EQ(Find("empty_hint")->isVisible(), row.hint);
    EXPECT_EQ(Find("due_chart")->isVisible(), row.charts);
    EXPECT_EQ(Find("most_missed")->isVisible(), row.list);
    EXPECT_EQ(Find("no_misses")->isVisible(), row.charts && !row.list);
  }
  EXPECT_TRUE(Find<QLabel>("empty_hint")->text().startsWith("还没有学习记录"));
}

TEST(ProgressChart, ExtremeValuesPaintAtAnySize) {
  struct Row {
    std::vector<int> values;
    const char* summary;
  };
  const Row rows[] = {
      {std::vector<int>(30, 0), "近 30 天没有复习。"},
      {std::vector<int>(30, -5), "近 30 天没有复习。"},
      {[] {
         std::vector<int> v(30, 1);
         v[29] = INT_MAX;
         return v;
       }(),
       "共复习 2147483676 次；最多的一天是今天，2147483647 次；今天 2147483647 次。"},
      {std::vector<int>(30, INT_MAX), "共复习 64424509410 次；最多的一天是11月9日"},
  };
  for (const Row& row : rows) {
    qtprogress::ProgressWindow window(nullptr);
    progress::Overview overview = Sample();
    std::copy(row.values.begin(), row.values.end(), overview.reviews_per_day.begin());
    std::copy(row.values.begin(), row.values.end(), overview.due_per_day.begin());
    window.SetOverview(overview, kToday);
    auto* chart = window.findChild<qtprogress::BarChart*>("reviews_chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->accessibleDescription().startsWith(QString::fromUtf8(row.summary)))
        << chart->accessibleDescription().toStdString();
    for (const QSize size : {QSize(1, 1), QSize(40, 30), QSize(2000, 400)}) {
      chart->resize(size);
      EXPECT_FALSE(chart->grab().isNull()) << size.width();
    }
  }
}

}  // namespace
