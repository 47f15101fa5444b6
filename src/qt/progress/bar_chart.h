// A bar chart of one value per day, drawn with QPainter: the bars left to right, the largest
// value named at the top of the scale, a few days named under the axis, today's bar drawn
// stronger. A chart of nothing but zeros shows a note instead of bars. Assistive technology
// sees a chart (its role), named by its caption, described by its summary; the mouse shows
// each bar's day and value.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

namespace qtprogress {

struct DayBars {
  std::vector<int> values;    // one bar per day, left to right; below zero counts as zero
  std::vector<QString> days;  // each bar's day, as named under the axis and in its tooltip
  std::vector<int> named;     // the bars whose day is written under the axis
  int today = -1;             // the bar drawn stronger
  QString unit;               // written after a value ("次", "个")
  QString empty_note;         // drawn in place of the bars when every value is zero
};

class BarChart : public QWidget {
 public:
  BarChart(QColor colour, QWidget* parent);

  // The bars to draw; the widget's accessible name and description are the caller's.
  void SetBars(DayBars bars);

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
  int Largest() const;
  // The bar under `x`, or -1.
  int BarAt(int x) const;

  QColor colour_;
  DayBars bars_;
};

}  // namespace qtprogress
