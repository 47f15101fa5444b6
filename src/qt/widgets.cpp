#include "qt/widgets.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

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
  if (on_close_request) on_close_request();
}

void FormWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (on_moved) on_moved(pos());
}

EventHook::EventHook(QObject* watched, std::function<bool(QEvent*)> filter)
    : QObject(watched), filter_(std::move(filter)) {
  watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject*, QEvent* event) {
  return filter_(event);
}

void ButtonWidget::keyPressEvent(QKeyEvent* event) {
  auto go = [this](ui::Direction d) {
    if (on_arrow) on_arrow(d);
  };
  switch (event->key()) {
    case Qt::Key_Left:
      return go(ui::Direction::Left);
    case Qt::Key_Right:
      return go(ui::Direction::Right);
    case Qt::Key_Up:
      return go(ui::Direction::Up);
    case Qt::Key_Down:
      return go(ui::Direction::Down);
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
