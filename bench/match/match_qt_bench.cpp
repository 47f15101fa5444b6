// One tick of the match game's clock through the Qt binding (offscreen): the model's tick and
// the widget it moves, then the same with the repaint it causes, counting what gets painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "match/round.h"
#include "program/program.h"
#include "qt/qt_platform.h"
#include "round_setup.h"

namespace {

// Counts paint events and the painted area of the window and of its cells.
class PaintCounter : public QObject {
 public:
  int window_paints = 0;
  int cell_paints = 0;
  long long window_area = 0;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    const QString name = receiver->objectName();
    if (name.startsWith(QLatin1String("cells_"))) {
      ++cell_paints;
    } else if (auto* w = qobject_cast<QWidget*>(receiver); w && w->isWindow()) {
      ++window_paints;
      const QRect r = static_cast<QPaintEvent*>(event)->rect();
      window_area += static_cast<long long>(r.width()) * r.height();
    }
    return false;
  }
};

// The real program on the offscreen platform, a round of group 1 running over a picture.
struct Playing {
  kit::TempDir dir;
  qtbind::QtPlatform platform;
  ui::ClockRandom random;
  program::Program program{platform, random};
  std::optional<kit::Controls> match;

  Playing() {
    bench::WriteMatchBook(dir.Path());
    std::filesystem::create_directories(dir.Path() / "Pic");
    QImage picture(800, 570, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), QLinearGradient(0, 0, 800, 570));
    painter.end();
    for (int n = 0; n < 20; ++n)
      picture.save(
          QString::fromStdString((dir.Path() / "Pic" / (std::to_string(n) + ".jpg")).string()));
    platform.SetProgramDirectory(dir.Str());
    platform.Deliver([this] { match = bench::DealGroupOne(program); });
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }

  void Tick() {
    platform.DeliverTick([this] { match->Clock().Tick(); });
  }

  // Keeps the bar from running out (which would open the time-out message): a new deal.
  void RefillBar(benchmark::State& state) {
    if (match->TimeBar().Height() > 1000) return;
    state.PauseTiming();
    platform.Deliver([this] { bench::DealAgain(*match); });
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
};

// The tick and the widget change it makes, without painting.
void BmClockTickThroughBinding(benchmark::State& state) {
  Playing p;
  for (auto _ : state) {
    p.Tick();
    p.RefillBar(state);
  }
}
BENCHMARK(BmClockTickThroughBinding);

// The tick and the repaint it causes on screen.
void BmClockTickAndPaint(benchmark::State& state) {
  Playing p;
  PaintCounter counter;
  qApp->installEventFilter(&counter);
  for (auto _ : state) {
    p.Tick();
    QCoreApplication::processEvents();
    p.RefillBar(state);
  }
  qApp->removeEventFilter(&counter);
  const auto n = static_cast<double>(state.iterations());
  state.counters["window_paints_per_tick"] = counter.window_paints / n;
  state.counters["window_px_per_tick"] = static_cast<double>(counter.window_area) / n;
  state.counters["cell_paints_per_tick"] = counter.cell_paints / n;
}
BENCHMARK(BmClockTickAndPaint);

}  // namespace
