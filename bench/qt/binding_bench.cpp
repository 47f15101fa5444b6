// Costs of the binding itself: a dictionary-sized result text into the multi-line box, and
// the per-tick move of a time-bar label.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QWidget>
#include <string>

#include "qt/qt_platform.h"
#include "ui/control.h"
#include "ui/window.h"

namespace {

// 30000 lines of about 34 bytes each (an English entry, a tab and its meaning): about 1 MB.
std::string ResultText(char variant) {
  std::string text;
  text.reserve(1100000);
  for (int i = 0; i < 30000; ++i) {
    text += "entry";
    text += std::to_string(i);
    text += variant;
    text += "\t释义，含义和用法\r\n";
  }
  return text;
}

struct Shown {
  qtbind::QtPlatform platform;
  ui::Window window{"bench_window", platform};
  ui::TextBox text_area{"text_area"};
  ui::Label bar{"bar"};

  Shown() {
    window.Add(text_area);
    window.Add(bar);
    window.Move(0, 0, 12000, 8550);
    text_area.Move(2700, 2000, 7500, 5000);
    text_area.SetMultiLine(true);
    bar.Move(3000, 300, 6000, 200);
    bar.SetBackColor(ui::Rgb(0, 0, 255));
    platform.Attach(window);
    window.Show();
    QCoreApplication::processEvents();
  }
};

// The text is set and the box painted once, as the user would see it.
void BmMultiLineBoxTakes30000Lines(benchmark::State& state) {
  Shown shown;
  const std::string texts[2] = {ResultText('a'), ResultText('b')};
  QWidget* box = shown.platform.WindowWidget("bench_window")->findChild<QWidget*>("text_area");
  int k = 0;
  for (auto _ : state) {
    shown.text_area.SetText(texts[k ^= 1]);
    box->repaint();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(texts[0].size()));
}
BENCHMARK(BmMultiLineBoxTakes30000Lines)->Unit(benchmark::kMillisecond);

// One tick of the time bar: the label shrinks by 6 twips and its widget follows.
void BmTimeBarLabelMove(benchmark::State& state) {
  Shown shown;
  for (auto _ : state) {
    int width = shown.bar.Width() - 6;
    if (width < 0) width = 6000;
    shown.bar.SetWidth(width);
  }
}
BENCHMARK(BmTimeBarLabelMove);

// The same tick including the repaint it causes on screen.
void BmTimeBarLabelMoveAndPaint(benchmark::State& state) {
  Shown shown;
  for (auto _ : state) {
    int width = shown.bar.Width() - 6;
    if (width < 0) width = 6000;
    shown.bar.SetWidth(width);
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BmTimeBarLabelMoveAndPaint);

}  // namespace
