// Mirrors one ui::Window and its controls into real widgets and forwards the user's actions
// back. The model holds the truth: every change notification updates only what changed, and
// what the user does reaches the model through the platform's single dispatcher.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qt/widgets.h"
#include "ui/control.h"
#include "ui/window.h"

namespace qtbind {

class QtPlatform;

class WindowBinding : public ui::ControlObserver {
 public:
  // Observes the window and every control it holds (and, when it is first shown, those added
  // since); the widgets are made when the window is first shown, the timers at once (a timer
  // may run before its window shows).
  WindowBinding(QtPlatform& platform, ui::Window& window);
  ~WindowBinding() override;
  WindowBinding(const WindowBinding&) = delete;
  WindowBinding& operator=(const WindowBinding&) = delete;

  void Changed(ui::Control& control, ui::Property what) override;

  const ui::Window& Model() const { return window_; }
  ui::Window& Model() { return window_; }
  // The top-level widget, null until the window is first shown.
  QWidget* Form() const { return form_.get(); }
  // The widget of the named control, null while the window has not been shown.
  QWidget* Widget(std::string_view control_name) const;

  // The end of the program: the timers stop and the window goes away.
  void Shut();
  // The model stops reporting to this binding (which is about to go while the model stays).
  void Detach();

  // After a delivered event: the focus leaves a control that cannot hold it (hidden,
  // disabled, or none at all); with `to_next` (the window opens, or a message was answered) it
  // goes to the control the user acts on next wherever it stood.
  void SettleFocus(bool to_next);

  // The control whose widget holds the window's focus; null when the window itself (or
  // nothing) holds it.
  const ui::Control* FocusHolder() const;

 private:
  enum class Kind { Button, Label, ListBox, TextBox, Timer, Other };
  struct Bound {
    ui::Control* model = nullptr;
    Kind kind = Kind::Other;
    QPointer<QWidget> widget;  // null for timers and before the window is built
    std::unique_ptr<QTimer> timer;
  };

  // Observes the window's controls that are not observed yet.
  void Adopt();
  void Build();
  void MakeWidget(Bound& bound);
  void ApplyAll(Bound& bound);
  void Apply(Bound& bound, ui::Property what);
  void ApplyWindow(ui::Property what);
  void ApplyLabelLook(Bound& bound);
  void SyncItems(Bound& bound);
  void SyncSelection(Bound& bound);
  void SyncText(Bound& bound);
  void SyncTimer(Bound& bound);
  // Puts every label beneath every button.
  void Restack();
  // Tab walks the controls in the order the eye reads them.
  void OrderTabs();

  QWidget* WidgetOf(const ui::Control* control) const;
  // Gives the focus to the control that takes it when `from` cannot keep it, or else to the
  // window itself.
  void MoveFocus(const ui::Control* from);
  // Keys reach no hidden or disabled control; the focus leaves such a control at once.
  void GuardInput(QWidget* widget, const ui::Control& model);
  // Delivers the character keys typed in `widget` to `press`; Enter also stops there when
  // `take_enter` is set.
  void ForwardKeys(QWidget* widget, std::function<void(int key_code)> press, bool take_enter);

  // A change the user made to the model's own state (a selection, typed text, the window's
  // position): delivered without echoing it back to the widget.
  void UserChange(ui::Control& control, const std::function<void()>& change);

  QtPlatform& platform_;
  ui::Window& window_;
  std::vector<Bound> bound_;  // in the window's drawing order
  std::unordered_map<const ui::Control*, std::size_t> index_;
  std::unique_ptr<FormWidget> form_;
  bool applying_ = false;              // model -> widget: widget signals are not user actions
  const ui::Control* echo_ = nullptr;  // user -> model: this control's notification is ours
};

}  // namespace qtbind
