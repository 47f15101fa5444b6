// The progress window's description, without a window: what it says of an empty, a full and
// a backlogged journal, the scale of its charts, the share of Good, the days it names, and its
// lists.
#include "progress/page/page.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "overview_samples.h"

namespace {

using progresspage::Day;
using progresspage::Describe;
using progresspage::Facts;
using progresspage::Page;

using overview_samples::Sample;

const Facts kOn{overview_samples::kToday, true, {}};

progress::Overview Backlog() {
  progress::Overview overview = Sample();
  overview.due_now = 300;
  overview.due_today = 300;
  overview.due_per_day[0] = 300;  // words left overdue for weeks
  return overview;
}

// The bars' values from a few days' values, the others zero.
std::array<int, progress::kChartDays> Days(const std::map<int, int>& values, int rest = 0) {
  std::array<int, progress::kChartDays> days;
  days.fill(rest);
  for (auto [day, value] : values) days[day] = value;
  return days;
}

TEST(ProgressPage, DescribesAnEmptyAFullAndABackloggedJournal) {
  struct Row {
    const char* name;
    progress::Overview overview;
    bool empty;
    const char* due_today;  // the figure as said, which the due chart's first bar counts too
    const char* good_share;
    const char *reviews, *due;  // the charts' summaries
    int due_scale, cut;         // the due chart's scale and its cut bar
    std::size_t missed;
  };
  const Row rows[] = {
      {"empty",
       {},
       true,
       "今天到期：0 个",
       "近 30 天没有复习，还算不出答对率。",
       "近 30 天没有复习。",
       "未来 30 天没有单词到期。",
       0,
       -1,
       0},
      {"full", Sample(), false, "今天到期：23 个",
       "近 30 天答对率：85%（复习 412 次，答对 350 次）",
       "共复习 8 次；最多的一天是11月9日，5 次；今天 3 次。",
       "共 63 个单词到期；最多的一天是12月15日，40 个；今天 23 个。", 40, -1, 3},
      {"backlog", Backlog(), false, "今天到期：300 个", "近 30 天答对率：85%",
       "共复习 8 次；最多的一天是11月9日，5 次；今天 3 次。",
       "共 340 个单词到期；最多的一天是今天，300 个；今天 300 个。", 40, 0, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Page page = Describe(row.overview, kOn);
    EXPECT_EQ(page.title, "学习记录");
    EXPECT_EQ(page.header, "");
    EXPECT_EQ(page.empty, row.empty);
    ASSERT_EQ(page.figures.size(), 4u);
    EXPECT_EQ(page.figures[1].spoken, row.due_today);
    EXPECT_EQ(page.figures[1].value, page.charts.at(1).bars.at(0).value);
    EXPECT_EQ(page.good_share.rfind(row.good_share, 0), 0u) << page.good_share;
    ASSERT_EQ(page.charts.size(), 2u);
    EXPECT_EQ(page.charts[0].summary, row.reviews);
    EXPECT_EQ(page.charts[1].summary, row.due);
    EXPECT_EQ(page.charts[1].scale, row.due_scale);
    for (int i = 0; i < progress::kChartDays; ++i)
      EXPECT_EQ(page.charts[1].bars[i].cut, i == row.cut) << i;
    ASSERT_EQ(page.lists.size(), 1u);
    EXPECT_EQ(page.lists[0].rows.size(), row.missed);
  }
}

TEST(ProgressPage, OneBarFarTallerThanTheOthersIsCutAndTheOthersSetTheScale) {
  struct Row {
    std::array<int, progress::kChartDays> values;
    int scale, cut;
    const char* summary;  // of the reviews chart, today its last bar
  };
  const Row rows[] = {
      {Days({}), 0, -1, "近 30 天没有复习。"},
      {Days({}, -5), 0, -1, "近 30 天没有复习。"},
      {Days({{0, 80}, {1, 40}}), 80, -1, "共复习 120 次；最多的一天是11月9日，80 次；今天 0 次。"},
      {Days({{0, 81}, {1, 40}}), 40, 0, "共复习 121 次"},
      {Days({{3, 7}}), 7, -1, "共复习 7 次"},  // alone: nothing else to read
      {Days({{5, 100}, {0, 10}, {9, 10}}), 10, 5, "共复习 120 次"},
      {Days({{29, INT_MAX}}, 1), 1, 29,
       "共复习 2147483676 次；最多的一天是今天，2147483647 次；今天 2147483647 次。"},
      {Days({}, INT_MAX), INT_MAX, -1, "共复习 64424509410 次；最多的一天是11月9日"},
  };
  for (const Row& row : rows) {
    progress::Overview overview = Sample();
    overview.reviews_per_day = row.values;
    const progresspage::Chart chart = Describe(overview, kOn).charts[0];
    EXPECT_EQ(chart.scale, row.scale) << row.summary;
    for (int i = 0; i < progress::kChartDays; ++i) {
      EXPECT_EQ(chart.bars[i].cut, i == row.cut) << row.summary << " " << i;
      EXPECT_GE(chart.bars[i].value, 0);
    }
    EXPECT_EQ(chart.summary.rfind(row.summary, 0), 0u) << chart.summary;
  }
}

TEST(ProgressPage, TheShareOfGoodSays100OnlyWhenAllWereGoodAnd0OnlyWhenNone) {
  struct Row {
    int good, reviews;
    const char* share;
  };
  for (const Row& row : {Row{350, 412, "近 30 天答对率：85%（复习 412 次，答对 350 次）"},
                         Row{411, 412, "近 30 天答对率：99%"}, Row{1, 1000, "近 30 天答对率：1%"},
                         Row{500, 412, "近 30 天答对率：100%"}, Row{-3, 10, "近 30 天答对率：0%"},
                         Row{0, 0, "近 30 天没有复习，还算不出答对率。"}}) {
    progress::Overview overview = Sample();
    overview.good_last_30_days = row.good;
    overview.reviews_last_30_days = row.reviews;
    const std::string share = Describe(overview, kOn).good_share;
    EXPECT_EQ(share.rfind(row.share, 0), 0u) << share;
  }
}

TEST(ProgressPage, NamesTheDaysFromTheLocalDay) {
  struct Local {
    std::int64_t now;
    int offset;
    Day day;
  };
  for (const Local& row :
       {Local{0, 0, {1970, 1, 1}}, Local{-1, 0, {1969, 12, 31}}, Local{86399, 1, {1970, 1, 2}},
        Local{1709164800, 0, {2024, 2, 29}}, Local{1709164800, -1, {2024, 2, 28}},
        Local{951868800 - 3600, 8 * 3600, {2000, 3, 1}}, Local{4107542400 - 1, 0, {2100, 2, 28}}}) {
    const Day day = progresspage::LocalDay(row.now, row.offset);
    EXPECT_EQ(std::vector<int>({day.year, day.month, day.day}),
              std::vector<int>({row.day.year, row.day.month, row.day.day}))
        << row.now << " " << row.offset;
  }
  struct Named {
    Day today;
    int chart, bar;
    const char* day;
  };
  for (const Named& row :
       {Named{{2024, 1, 1}, 0, 29, "今天"}, Named{{2024, 1, 1}, 0, 28, "昨天"},
        Named{{2024, 1, 1}, 0, 0, "12月3日"}, Named{{2024, 1, 1}, 1, 1, "明天"},
        Named{{2024, 1, 1}, 1, 29, "1月30日"}, Named{{2024, 2, 27}, 1, 2, "2月29日"},
        Named{{2023, 2, 27}, 1, 2, "3月1日"}}) {
    const Page page = Describe(Sample(), {row.today, true, {}});
    EXPECT_EQ(page.charts[row.chart].bars[row.bar].day, row.day);
  }
  // Every seventh day from today is named under the axis; the tip says the day and value.
  const Page page = Describe(Sample(), kOn);
  for (auto [chart, named] : {std::pair{0, std::vector<int>{1, 8, 15, 22, 29}},
                              std::pair{1, std::vector<int>{0, 7, 14, 21, 28}}}) {
    std::vector<int> got;
    for (int i = 0; i < progress::kChartDays; ++i)
      if (page.charts[chart].bars[i].named) got.push_back(i);
    EXPECT_EQ(got, named);
  }
  EXPECT_EQ(page.charts[1].bars[7].tip, "12月15日：40个");
  EXPECT_EQ(page.charts[0].bars[29].tip, "今天：3次");
}

TEST(ProgressPage, ListsTheWordsMissedMostOnOneLineEachAndTheBooksPractised) {
  progress::Overview overview = Sample();
  overview.most_missed = {{"  take\n into\taccount ", "考\u3000\u3000虑到\r\n", 9},
                          {"long", std::string(250, 'x'), 8}};
  overview.most_missed.resize(25, {"w", "词", 1});
  Page page = Describe(overview, kOn);
  const progresspage::List& missed = page.lists[0];
  EXPECT_EQ(missed.caption, "最常答错的单词");
  ASSERT_EQ(missed.rows.size(), std::size_t{progress::kMostMissedCount});
  EXPECT_EQ(missed.rows[0].cells, (std::vector<std::string>{"take into account", "考 虑到", "9"}));
  EXPECT_EQ(missed.rows[0].spoken, "  take\n into\taccount ") << "F2 says the word as recorded";
  EXPECT_EQ(missed.rows[1].cells[1], std::string(200, 'x') + "…");
  EXPECT_TRUE(missed.columns[2].numeric);

  page = Describe(overview, {{2026, 12, 8}, false, {{"《初中英语》(第一册)(304)", 36, 304}}});
  EXPECT_EQ(page.header, "记录学习进度已关闭");
  ASSERT_EQ(page.lists.size(), 2u);
  ASSERT_EQ(page.lists[1].rows.size(), 1u);
  EXPECT_EQ(page.lists[1].rows[0].cells,
            std::vector<std::string>{"《初中英语》(第一册)(304)：已学 36 / 304"});
  EXPECT_EQ(page.lists[1].rows[0].spoken, "");
}

}  // namespace
