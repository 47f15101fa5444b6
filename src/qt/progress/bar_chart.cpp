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
constexpr int kShortestBar = 2;      // a value above zero never draws thinner than this
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

void BarChart::SetBars(DayBars bars) {
  bars_ = std::move(bars);
  update();
}

QSize BarChart::sizeHint() const {
  return {460, 150};
}

QSize BarChart::minimumSizeHint() const {
  return {220, 90};
}

int BarChart::Largest() const {
  int largest = 0;
  for (int value : bars_.values) largest = std::max(largest, value);
  return largest;
}

BarChart::Frame BarChart::Place() const {
  const QFontMetrics metrics(AxisFont(*this));
  // The scale is as wide for every value below 10000, so that charts above one another align.
  const int scale = std::max(metrics.horizontalAdvance(QString::number(Largest())),
                             metrics.horizontalAdvance(QStringLiteral("9999"))) +
                    kGap;
  const QRect area =
      rect().adjusted(scale, metrics.height() / 2 + 2, -4, -(metrics.height() + kGap));
  const int count = std::max<int>(1, static_cast<int>(bars_.values.size()));
  Frame frame;
  frame.slot = std::max(1, area.width() / count);
  // A third of each slot is air between the bars; bars too thin for air fill their slot.
  frame.bar = frame.slot >= 3 ? std::max(1, frame.slot * 2 / 3) : frame.slot;
  frame.plot = QRect(area.left(), area.top(), frame.slot * count, std::max(1, area.height()));
  return frame;
}

int BarChart::BarAt(int x) const {
  const Frame frame = Place();
  if (x < frame.plot.left()) return -1;
  const int bar = (x - frame.plot.left()) / frame.slot;
  return bar < static_cast<int>(bars_.values.size()) ? bar : -1;
}

void BarChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFont font = AxisFont(*this);
  const QFontMetrics metrics(font);
  painter.setFont(font);
  const QColor ink = palette().color(QPalette::WindowText);
  const QColor faint = palette().color(QPalette::Mid);
  const Frame frame = Place();
  const QRect& plot = frame.plot;
  const int base = plot.top() + plot.height();  // the row under the bars
  const int largest = Largest();

  painter.setPen(faint);
  painter.drawLine(plot.left(), base, plot.left() + plot.width() - 1, base);
  const QRect scale(0, 0, plot.left() - kGap / 2, metrics.height());
  if (largest == 0) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, bars_.empty_note);
  } else {
    // The largest value at the top of the scale, zero at its foot.
    painter.setPen(QPen(faint, 1, Qt::DotLine));
    painter.drawLine(plot.left(), plot.top(), plot.left() + plot.width() - 1, plot.top());
    painter.setPen(ink);
    painter.drawText(scale.translated(0, plot.top() - metrics.height() / 2),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(largest));
    painter.drawText(scale.translated(0, base - metrics.height() / 2),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    for (std::size_t i = 0; i < bars_.values.size(); ++i) {
      if (bars_.values[i] <= 0) continue;
      const double share = static_cast<double>(bars_.values[i]) / largest;
      const int height =
          std::max(kShortestBar, static_cast<int>(std::lround(share * plot.height())));
      const int left =
          plot.left() + static_cast<int>(i) * frame.slot + (frame.slot - frame.bar) / 2;
      const bool today = static_cast<int>(i) == bars_.today;
      painter.fillRect(QRect(left, base - height, frame.bar, height),
                       today ? colour_.darker(150) : colour_);
    }
  }

  // The named days under their bars, each kept inside the widget; one that would touch the
  // name before it is left out.
  painter.setPen(ink);
  int free_from = 0;
  for (int day : bars_.named) {
    if (day < 0 || day >= static_cast<int>(bars_.days.size())) continue;
    const QString& name = bars_.days[day];
    const int width = metrics.horizontalAdvance(name);
    const int centre = plot.left() + day * frame.slot + frame.slot / 2;
    const int left = std::clamp(centre - width / 2, 0, std::max(0, this->width() - width));
    if (left < free_from) continue;
    painter.drawText(left, base + kGap / 2 + metrics.ascent(), name);
    free_from = left + width + metrics.averageCharWidth();
  }

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
  if (bar < 0 || bar >= static_cast<int>(bars_.days.size())) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  QToolTip::showText(help->globalPos(),
                     bars_.days[bar] + QStringLiteral("：") +
                         QString::number(std::max(0, bars_.values[bar])) + bars_.unit,
                     this);
  return true;
}

}  // namespace qtprogress
