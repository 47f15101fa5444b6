// The progress window with a full overview (30 days in each chart, 20 missed words): opened
// (made, shown and painted for the first time), and refreshed with a new overview while open.
// The journal's own query is measured with the journal.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <memory>
#include <string>

#include "qt/progress/progress_window.h"
#include "qt/widgets.h"

namespace {

progress::Overview FullOverview(int seed) {
  progress::Overview overview;
  overview.practised = 30000;
  overview.due_now = 412 + seed;
  overview.due_within_week = 2380;
  overview.learned = 9120;
  overview.reviews_last_30_days = 0;
  for (int day = 0; day < progress::kChartDays; ++day) {
    overview.reviews_per_day[day] = (day * 37 + seed) % 120 + 1;
    overview.due_per_day[day] = (day * 53 + seed) % 300 + 1;
    if (day == 0) overview.due_today = overview.due_per_day[0];
    overview.reviews_last_30_days += overview.reviews_per_day[day];
  }
  overview.good_last_30_days = overview.reviews_last_30_days * 4 / 5;
  for (int i = 0; i < progress::kMostMissedCount; ++i)
    overview.most_missed.push_back({"misremembered word " + std::to_string(i + seed),
                                    "第" + std::to_string(i) + "个常错的词：意思，用法和例子",
                                    progress::kMostMissedCount - i + 3});
  return overview;
}

// Counts the paints of a window's charts, to show that the first paint is in what was
// measured.
struct ChartPaints {
  int count = 0;
  explicit ChartPaints(QWidget& window) {
    for (const char* chart : {"reviews_chart", "due_chart"})
      new qtbind::EventHook(window.findChild<QWidget*>(chart), [this](QEvent* event) {
        count += event->type() == QEvent::Paint;
        return false;
      });
  }
};

void BmProgressWindowOpens(benchmark::State& state) {
  const progress::Overview overview = FullOverview(0);
  int paints = 0;
  for (auto _ : state) {
    auto window = std::make_unique<qtprogress::ProgressWindow>(nullptr);
    ChartPaints painted(*window);
    window->Open(progresspage::Describe(overview, {}));
    QCoreApplication::processEvents();
    state.PauseTiming();  // closing and freeing it is not opening it
    paints += painted.count;
    window.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["chart_paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BmProgressWindowOpens)->Unit(benchmark::kMillisecond);

// Opened again with a new overview while it is still open.
void BmProgressWindowRefreshes(benchmark::State& state) {
  const progress::Overview overviews[2] = {FullOverview(1), FullOverview(2)};
  qtprogress::ProgressWindow window(nullptr);
  window.Open(progresspage::Describe(overviews[0], {}));
  QCoreApplication::processEvents();
  ChartPaints painted(window);
  int k = 0;
  for (auto _ : state) {
    window.Open(progresspage::Describe(overviews[k ^= 1], {}));
    QCoreApplication::processEvents();
  }
  state.counters["chart_paints"] =
      benchmark::Counter(painted.count, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BmProgressWindowRefreshes)->Unit(benchmark::kMillisecond);

}  // namespace
