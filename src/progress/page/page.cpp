#include "progress/page/page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string_view>

#include "text/text.h"

namespace progresspage {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kLongestCell = 200;  // characters of a word or meaning shown in a list

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// Days since 1 January 1970 and back, in the proleptic Gregorian calendar (H. Hinnant's
// algorithms, eras of 400 years).
std::int64_t DaysFromCivil(const Day& date) {
  const std::int64_t year = date.year - (date.month <= 2);
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year =
      (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

Day CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;  // 0 is March
  Day date;
  date.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  date.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  date.year = static_cast<int>(year_of_era + era * 400 + (date.month <= 2));
  return date;
}

// The day `offset` days from `today`: 今天, 昨天, 明天, else its month and day.
std::string DayName(std::int64_t today, int offset) {
  switch (offset) {
    case 0:
      return "今天";
    case -1:
      return "昨天";
    case 1:
      return "明天";
    default:
      break;
  }
  const Day day = CivilFromDays(today + offset);
  return text::Concat({std::to_string(day.month), "月", std::to_string(day.day), "日"});
}

// Whitespace as the lists treat it: ASCII's, and Unicode's separators.
bool IsSpace(char32_t c) {
  return (c >= U'\t' && c <= U'\r') || c == U' ' || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// A journal's word or meaning for one line of a list: cut to a sane length, each run of
// whitespace made one space, none at either end.
std::string Cell(std::string_view utf8) {
  const std::size_t end = text::CharOffset(utf8, kLongestCell);
  std::string cell;
  bool space = false;
  for (std::size_t i = 0; i < end;) {
    const char32_t c = text::NextCodePoint(utf8, i);
    if (IsSpace(c)) {
      space = !cell.empty();
      continue;
    }
    if (space) cell += ' ';
    space = false;
    text::AppendUtf8(cell, c);
  }
  if (end < utf8.size()) cell += "…";
  return cell;
}

// The share of Good answers over the last 30 days, as a whole percentage that says 100 only
// when every answer was Good and 0 only when none was.
std::string GoodShare(const progress::Overview& overview) {
  const int reviews = overview.reviews_last_30_days;
  if (reviews <= 0) return "近 30 天没有复习，还算不出答对率。";
  const int good = std::clamp(overview.good_last_30_days, 0, reviews);
  long percent = std::lround(100.0 * good / reviews);
  if (good < reviews) percent = std::min(percent, 99L);
  if (good > 0) percent = std::max(percent, 1L);
  return text::Concat({"近 30 天答对率：", std::to_string(percent), "%（复习 ",
                       std::to_string(reviews), " 次，答对 ", std::to_string(good), " 次）"});
}

std::vector<Figure> Figures(const progress::Overview& overview) {
  static_assert(progress::kLearnedStabilityDays == 21, "已掌握's meaning names the days");
  // What is due today is the due chart's first bar, counted the same way; how many of those
  // a review takes now is said with it.
  std::vector<Figure> figures = {
      {"practised", "练过的单词", overview.practised, "", ""},
      {"due_today", "今天到期", overview.due_today,
       text::Concat(
           {"今天结束前到期的单词，已经过期的也算在内，与到期图中今天的一栏相同；其中现在到期 ",
            std::to_string(overview.due_now), " 个，在连连看或英汉互译的窗口按 F3 复习"}),
       ""},
      {"due_within_week", "7 天内到期", overview.due_within_week, "今天到期的单词也算在内", ""},
      {"learned", "已掌握", overview.learned, "记忆稳定期达到 21 天或更长的单词", ""},
  };
  for (Figure& figure : figures)
    figure.spoken = text::Concat({figure.caption, "：", std::to_string(figure.value), " 个"});
  return figures;
}

// The top of the scale, and the one bar cut by it when it is more than twice the others.
void SetScale(Chart& chart) {
  int tallest = -1;
  int top = 0;
  int second = 0;
  for (std::size_t i = 0; i < chart.bars.size(); ++i) {
    const int value = chart.bars[i].value;
    if (value > top) {
      second = top;
      top = value;
      tallest = static_cast<int>(i);
    } else {
      second = std::max(second, value);
    }
  }
  const bool cut = second > 0 && top > 2 * static_cast<std::int64_t>(second);
  chart.scale = cut ? second : top;
  if (cut) chart.bars[tallest].cut = true;
}

// What a chart shows, said in words: the total, the busiest day and today's value.
std::string Summary(const Chart& chart, std::string_view unit,
                    const std::array<std::string_view, 2>& total_words) {
  std::int64_t total = 0;
  std::size_t busiest = 0;
  for (std::size_t i = 0; i < chart.bars.size(); ++i) {
    total += chart.bars[i].value;
    if (chart.bars[i].value > chart.bars[busiest].value) busiest = i;
  }
  if (total == 0) return text::Concat({chart.empty_note, "。"});
  return text::Concat({total_words[0], std::to_string(total), total_words[1], "；最多的一天是",
                       chart.bars[busiest].day, "，", std::to_string(chart.bars[busiest].value),
                       " ", unit, "；今天 ", std::to_string(chart.bars[chart.today].value), " ",
                       unit, "。"});
}

// What differs between the two charts.
struct ChartKind {
  const char* id;
  const char* caption;
  const char* note;
  const char* unit;  // written after a value
  const char* empty_note;
  std::array<std::string_view, 2> total_words;  // around the total in the summary
  int today_index;
};

// One bar per day of `values`, [kind.today_index] being today; every seventh day back and
// forth from today named under the axis.
Chart MakeChart(const ChartKind& kind, std::span<const int, progress::kChartDays> values,
                std::int64_t today) {
  Chart chart{kind.id, kind.caption, kind.note, "", kind.empty_note, {}, kind.today_index, 0};
  for (int i = 0; i < progress::kChartDays; ++i) {
    Bar bar;
    bar.value = std::max(0, values[i]);
    bar.day = DayName(today, i - kind.today_index);
    bar.tip = text::Concat({bar.day, "：", std::to_string(bar.value), kind.unit});
    bar.named = (i - kind.today_index) % 7 == 0;
    chart.bars.push_back(std::move(bar));
  }
  SetScale(chart);
  chart.summary = Summary(chart, kind.unit, kind.total_words);
  return chart;
}

std::vector<Chart> Charts(const progress::Overview& overview, const Day& today) {
  const std::int64_t day = DaysFromCivil(today);
  const ChartKind reviews = {
      "reviews_chart",    "近 30 天每天复习的次数", "", "次", "近 30 天没有复习",
      {"共复习 ", " 次"}, progress::kChartDays - 1};
  const ChartKind due = {"due_chart",
                         "未来 30 天每天到期的单词数",
                         "今天的一栏是今天到期的单词，含已经过期的，与“今天到期”相同",
                         "个",
                         "未来 30 天没有单词到期",
                         {"共 ", " 个单词到期"},
                         0};
  return {MakeChart(reviews, overview.reviews_per_day, day),
          MakeChart(due, overview.due_per_day, day)};
}

List MissedList(const progress::Overview& overview) {
  List list{"most_missed",
            "最常答错的单词",
            "选中一个单词，按 F2 朗读",
            {{"单词", false, false}, {"释义", true, false}, {"答错", false, true}},
            {},
            "no_misses",
            "还没有答错过的单词。"};
  const std::size_t rows =
      std::min(overview.most_missed.size(), std::size_t{progress::kMostMissedCount});
  for (const progress::MissedWord& word : std::span(overview.most_missed).first(rows))
    list.rows.push_back(
        {{Cell(word.english), Cell(word.chinese), std::to_string(word.misses)}, word.english});
  return list;
}

List BooksList(const std::vector<BookLearned>& books) {
  List list{"books", "练过的词库", "", {{"", true, false}}, {}, "no_books", "还没有练过的词库。"};
  for (const BookLearned& book : books)
    list.rows.push_back({{text::Concat({Cell(book.name), "：已学 ", std::to_string(book.learned),
                                        " / ", std::to_string(book.words)})},
                         ""});
  return list;
}

}  // namespace

Day LocalDay(std::int64_t now, int utc_offset_seconds) {
  return CivilFromDays(FloorDiv(now + utc_offset_seconds, kSecondsPerDay));
}

Page Describe(const progress::Overview& overview, const Facts& facts) {
  Page page;
  page.title = "学习记录";
  if (!facts.recording) page.header = "记录学习进度已关闭";
  page.empty = overview.practised <= 0;
  page.empty_hint = "还没有学习记录：玩一局连连看或英汉互译，每个单词都会记下来。";
  page.figures = Figures(overview);
  page.good_share = GoodShare(overview);
  page.charts = Charts(overview, facts.today);
  page.lists.push_back(MissedList(overview));
  if (!facts.books.empty()) page.lists.push_back(BooksList(facts.books));
  page.speak_caption = "朗读 (F2)";
  return page;
}

BarFrame PlaceBars(std::size_t bars, int width) {
  const int count = std::max<int>(1, static_cast<int>(bars));
  BarFrame frame;
  frame.slot = std::max(1, width / count);
  frame.bar = frame.slot >= 3 ? std::max(1, frame.slot * 2 / 3) : frame.slot;
  frame.width = frame.slot * count;
  return frame;
}

int BarLeft(const BarFrame& frame, std::size_t i) {
  return static_cast<int>(i) * frame.slot + (frame.slot - frame.bar) / 2;
}

int BarHeight(const Chart& chart, const Bar& bar, int height) {
  constexpr int kShortestBar = 2;
  if (bar.value <= 0 || chart.scale <= 0) return 0;
  const double share = bar.cut ? 1.0 : static_cast<double>(bar.value) / chart.scale;
  return std::max(kShortestBar, static_cast<int>(std::lround(share * height)));
}

std::vector<DayLabel> PlaceDayNames(const Chart& chart, const BarFrame& frame, int plot_left,
                                    int width, int space,
                                    const std::function<int(const std::string&)>& width_of) {
  std::vector<DayLabel> names;
  int free_from = 0;
  for (std::size_t day = 0; day < chart.bars.size(); ++day) {
    if (!chart.bars[day].named) continue;
    const int name_width = width_of(chart.bars[day].day);
    const int centre = plot_left + static_cast<int>(day) * frame.slot + frame.slot / 2;
    const int left = std::clamp(centre - name_width / 2, 0, std::max(0, width - name_width));
    if (left < free_from) continue;
    names.push_back({day, left});
    free_from = left + name_width + space;
  }
  return names;
}

}  // namespace progresspage
