// A chart of the progress window drawn with QPainter: the bars left to right, the top of the
// scale named, a few days named under the axis, today's bar drawn stronger, a bar taller than
// the scale cut with its value written on it. A chart of nothing but zeros shows its note
// instead of bars. Assistive technology sees a chart (its role), named by its caption,
// described by its summary; the mouse shows each bar's day and value.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "progress/page/page.h"

namespace qtprogress {

class BarChart : public QWidget {
 public:
  BarChart(QColor colour, QWidget* parent);

  // The chart to draw, with its name, summary and note.
  void SetChart(progresspage::Chart chart);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Where the bars stand, in logical pixels, for the widget's present size.
  struct Frame {
    QRect plot;    // the area the bars grow in, their base on its bottom edge
    int slot = 1;  // the width each bar's day takes
    int bar = 1;   // the width of a bar, centred in its slot
  };
  Frame Place() const;
  // The bar under `x`, or -1.
  int BarAt(int x) const;
  void PaintScale(QPainter& painter, const Frame& frame) const;
  void PaintBars(QPainter& painter, const Frame& frame) const;
  void PaintCut(QPainter& painter, const QRect& bar, int value, const QRect& plot) const;
  void PaintDays(QPainter& painter, const Frame& frame) const;

  QColor colour_;
  progresspage::Chart chart_;
};

}  // namespace qtprogress
