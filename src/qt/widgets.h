// The widgets the binding makes that behave beyond what Qt's own widgets do: the top-level
// window (background picture, close and move reported to the model), the push button
// (keyboard play: arrows ask to walk to the nearest button, Enter clicks, the focus clearly
// drawn) and both buttons and fixed labels drawing their captions fitted to their size.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "qt/caption_layout.h"
#include "ui/focus.h"
#include "ui/window.h"

namespace qtbind {

class FormWidget : public QWidget {
 public:
  explicit FormWidget(const ui::Window& model);

  // The user asks to close the window (title bar); Qt's own close is refused.
  std::function<void()> on_close_request;
  // The window now stands at this frame position (logical pixels).
  std::function<void(QPoint)> on_moved;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  const ui::Window& model_;
};

// Runs `filter` for every event of the object it is installed on (a child of that object).
class EventHook : public QObject {
 public:
  EventHook(QObject* watched, std::function<bool(QEvent*)> filter);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool(QEvent*)> filter_;
};

class ButtonWidget : public QPushButton {
 public:
  explicit ButtonWidget(QWidget* parent) : QPushButton(parent) {}

  // An arrow key: the binding walks the focus to the neighbour that way.
  std::function<void(ui::Direction)> on_arrow;

  // The caption as drawn now: its lines, where they go and the font (made on demand).
  const CaptionLayout& Caption();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  FittedCaption caption_;
};

// A label; one of fixed size (not sized to its caption) fits its caption as a button does.
class LabelWidget : public QLabel {
 public:
  explicit LabelWidget(QWidget* parent) : QLabel(parent) {}

  // The caption as drawn now while the label has a fixed size (it wraps).
  const CaptionLayout& Caption();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  FittedCaption caption_;
};

}  // namespace qtbind
