#include "qt/progress/bar_chart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace qtprogress {

namespace {

constexpr int kGap = 6;              // between the scale's or the days' names and the bars
constexpr int kCutGap = 3;           // the break across a cut bar
constexpr double kAxisPoints = 9.0;  // the names along the axes, a little smaller than the text

QFont AxisFont(const QWidget& widget) {
  QFont font = widget.font();
  font.setPointSizeF(kAxisPoints);
  return font;
}

}  // namespace

BarChart::BarChart(QColor colour, QWidget* parent) : QWidget(parent), colour_(colour) {
  setFocusPolicy(Qt::TabFocus);  // reached by Tab, so that a screen reader reads its summary
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BarChart::SetChart(progresspage::Chart chart) {
  chart_ = std::move(chart);
  setAccessibleName(QString::fromStdString(chart_.caption));
  setAccessibleDescription(QString::fromStdString(chart_.summary));
  setToolTip(QString::fromStdString(chart_.note));
  update();
}

QSize BarChart::sizeHint() const {
  return {460, 150};
}

QSize BarChart::minimumSizeHint() const {
  return {220, 90};
}

BarChart::Frame BarChart::Place() const {
  const QFontMetrics metrics(AxisFont(*this));
  // The scale is as wide for every value below 10000, so that charts above one another align.
  const int scale = std::max(metrics.horizontalAdvance(QString::number(chart_.scale)),
                             metrics.horizontalAdvance(QStringLiteral("9999"))) +
                    kGap;
  const QRect area =
      rect().adjusted(scale, metrics.height() / 2 + 2, -4, -(metrics.height() + kGap));
  const progresspage::BarFrame bars = progresspage::PlaceBars(chart_.bars.size(), area.width());
  Frame frame;
  frame.slot = bars.slot;
  frame.bar = bars.bar;
  frame.plot = QRect(area.left(), area.top(), bars.width, std::max(1, area.height()));
  return frame;
}

int BarChart::BarAt(int x) const {
  const Frame frame = Place();
  if (x < frame.plot.left()) return -1;
  const int bar = (x - frame.plot.left()) / frame.slot;
  return bar < static_cast<int>(chart_.bars.size()) ? bar : -1;
}

// The top of the scale and zero at its foot, or the empty chart's note.
void BarChart::PaintScale(QPainter& painter, const Frame& frame) const {
  const QFontMetrics metrics(painter.font());
  const QRect& plot = frame.plot;
  const int base = plot.top() + plot.height();  // the row under the bars
  const QColor faint = palette().color(QPalette::Mid);
  painter.setPen(faint);
  painter.drawLine(plot.left(), base, plot.left() + plot.width() - 1, base);
  if (chart_.scale == 0) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromStdString(chart_.empty_note));
    return;
  }
  painter.setPen(QPen(faint, 1, Qt::DotLine));
  painter.drawLine(plot.left(), plot.top(), plot.left() + plot.width() - 1, plot.top());
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect scale(0, 0, plot.left() - kGap / 2, metrics.height());
  painter.drawText(scale.translated(0, plot.top() - metrics.height() / 2),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(chart_.scale));
  painter.drawText(scale.translated(0, base - metrics.height() / 2),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
}

// A bar taller than the scale fills the chart's height and is cut a little below its top,
// where its value is written.
void BarChart::PaintBars(QPainter& painter, const Frame& frame) const {
  if (chart_.scale == 0) return;
  const QRect& plot = frame.plot;
  const int base = plot.top() + plot.height();
  for (std::size_t i = 0; i < chart_.bars.size(); ++i) {
    const progresspage::Bar& bar = chart_.bars[i];
    const int height = progresspage::BarHeight(chart_, bar, plot.height());
    if (height == 0) continue;
    const int left = plot.left() + progresspage::BarLeft({frame.slot, frame.bar, 0}, i);
    const QRect drawn(left, base - height, frame.bar, height);
    const bool today = static_cast<int>(i) == chart_.today;
    painter.fillRect(drawn, today ? colour_.darker(150) : colour_);
    if (bar.cut) PaintCut(painter, drawn, bar.value, plot);
  }
}

// A cut bar's value, in a box at the top of the chart above a break across the bar; the box
// stays right of the scale and inside the widget.
void BarChart::PaintCut(QPainter& painter, const QRect& bar, int value, const QRect& plot) const {
  const QFontMetrics metrics(painter.font());
  const QString text = QString::number(value);
  const int width = metrics.horizontalAdvance(text) + 4;
  const int left = plot.left();
  const QRect label(
      std::clamp(bar.center().x() - width / 2, left, std::max(left, this->width() - width)),
      bar.top() + 1, width, metrics.height());
  painter.fillRect(QRect(bar.left(), label.bottom() + 2, bar.width(), kCutGap),
                   palette().color(QPalette::Window));
  painter.fillRect(label, palette().color(QPalette::Base));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(label.adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(label, Qt::AlignCenter, text);
}

// The named days under their bars, each kept inside the widget; one that would touch the name
// before it is left out.
void BarChart::PaintDays(QPainter& painter, const Frame& frame) const {
  const QFontMetrics metrics(painter.font());
  const QRect& plot = frame.plot;
  const int base = plot.top() + plot.height();
  painter.setPen(palette().color(QPalette::WindowText));
  const auto names = progresspage::PlaceDayNames(
      chart_, {frame.slot, frame.bar, plot.width()}, plot.left(), width(),
      metrics.averageCharWidth(), [&metrics](const std::string& name) {
        return metrics.horizontalAdvance(QString::fromStdString(name));
      });
  for (const progresspage::DayLabel& name : names)
    painter.drawText(name.left, base + kGap / 2 + metrics.ascent(),
                     QString::fromStdString(chart_.bars[name.bar].day));
}

void BarChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(AxisFont(*this));
  const Frame frame = Place();
  PaintScale(painter, frame);
  PaintBars(painter, frame);
  PaintDays(painter, frame);
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

bool BarChart::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const int bar = BarAt(help->pos().x());
  if (bar < 0) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  QToolTip::showText(help->globalPos(), QString::fromStdString(chart_.bars[bar].tip), this);
  return true;
}

}  // namespace qtprogress
