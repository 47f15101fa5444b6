#include "qt/widgets.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <cstdlib>
#include <limits>

#include "qt/convert.h"

namespace qtbind {

FormWidget::FormWidget(const ui::Window& model) : model_(model) {
  setObjectName(QString::fromStdString(model.Name()));
}

void FormWidget::paintEvent(QPaintEvent*) {
  // Unscaled from the top-left corner of the client area; nothing when cleared.
  const auto* picture = dynamic_cast<const QtPicture*>(model_.GetPicture().get());
  if (!picture || picture->Pixmap().isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture->Pixmap());
}

void FormWidget::closeEvent(QCloseEvent* event) {
  // The model decides: the form's unload ends the program, which hides every window.
  event->ignore();
  if (OnCloseRequest) OnCloseRequest();
}

void FormWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (OnMoved) OnMoved(pos());
}

EventHook::EventHook(QObject* watched, std::function<bool(QEvent*)> filter)
    : QObject(watched), filter_(std::move(filter)) {
  watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject*, QEvent* event) {
  return filter_(event);
}

ButtonWidget* ButtonWidget::Neighbour(Direction direction) const {
  if (!parentWidget()) return nullptr;
  const bool horizontal = direction == Direction::Left || direction == Direction::Right;
  const int sign = direction == Direction::Left || direction == Direction::Up ? -1 : 1;
  const QRect from = geometry();
  ButtonWidget* best = nullptr;
  bool best_in_line = false;
  long best_score = std::numeric_limits<long>::max();
  for (QObject* child : parentWidget()->children()) {
    auto* candidate = dynamic_cast<ButtonWidget*>(child);
    if (!candidate || candidate == this || candidate->group_ != group_ || !candidate->isVisible() ||
        !candidate->isEnabled())
      continue;
    const QRect to = candidate->geometry();
    const QPoint delta = to.center() - from.center();
    const long along = sign * (horizontal ? delta.x() : delta.y());
    const long across = std::labs(horizontal ? delta.y() : delta.x());
    if (along <= 0) continue;
    // Buttons in the same row (or column) come first, so that a walk along a row skips the
    // cleared cells; otherwise the nearest, sideways distance weighing double.
    const bool in_line = horizontal ? to.top() < from.bottom() && from.top() < to.bottom()
                                    : to.left() < from.right() && from.left() < to.right();
    const long score = along + 2 * across;
    if ((in_line && !best_in_line) || (in_line == best_in_line && score < best_score)) {
      best = candidate;
      best_in_line = in_line;
      best_score = score;
    }
  }
  return best;
}

void ButtonWidget::keyPressEvent(QKeyEvent* event) {
  auto go = [this](Direction d) {
    if (ButtonWidget* next = Neighbour(d)) next->setFocus(Qt::TabFocusReason);
  };
  switch (event->key()) {
    case Qt::Key_Left:
      return go(Direction::Left);
    case Qt::Key_Right:
      return go(Direction::Right);
    case Qt::Key_Up:
      return go(Direction::Up);
    case Qt::Key_Down:
      return go(Direction::Down);
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!event->isAutoRepeat()) click();
      return;
    default:
      QPushButton::keyPressEvent(event);
  }
}

namespace {

// Two pixels of air beside a fitted caption, so that no character touches the edge.
QRectF WithAir(const QRect& area) {
  return QRectF(area).adjusted(2, 0, -2, 0);
}

}  // namespace

const CaptionLayout& ButtonWidget::Caption() {
  // The binding doubles "&" so that Qt makes no mnemonic of it; drawn, it is one "&" again.
  QString caption = text();
  caption.replace(QLatin1String("&&"), QLatin1String("&"));
  QStyleOptionButton option;
  initStyleOption(&option);
  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  return caption_.For(caption, font(), WithAir(area), Qt::AlignCenter);
}

void ButtonWidget::paintEvent(QPaintEvent*) {
  // The bevel from the style, then the caption fitted to the button.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  DrawCaption(painter, Caption());
  if (!hasFocus()) return;
  QPen pen(QColor(0, 0, 139), 3);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

const CaptionLayout& LabelWidget::Caption() {
  return caption_.For(text(), font(), WithAir(contentsRect()), alignment());
}

void LabelWidget::paintEvent(QPaintEvent* event) {
  if (!wordWrap()) return QLabel::paintEvent(event);
  QPainter painter(this);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  DrawCaption(painter, Caption());
}

}  // namespace qtbind
