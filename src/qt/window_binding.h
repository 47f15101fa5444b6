// Mirrors one ui::Window and its controls into real widgets and forwards the user's actions
// back. The model holds the truth: every change notification updates only what changed, and
// what the user does reaches the model through the platform's single dispatcher.
#pragma once

#include <QWidget>
#include <memory>
#include <unordered_map>
#include <vector>

#include "qt/binders.h"
#include "qt/widgets.h"
#include "ui/control.h"
#include "ui/window.h"

namespace qtbind {

class QtPlatform;

class WindowBinding : public BinderHost {
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
  // The top-level widget, null until the window is first shown. Its children are the
  // controls' widgets, named as the controls ("cells_5", "book_list").
  QWidget* Form() const { return form_.get(); }

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
  // What the binders ask of their window.
  QtPlatform& Platform() override { return platform_; }
  bool Applying() const override { return applying_; }
  void UserChange(ui::Control& control, const std::function<void()>& change) override;
  void ForwardKeys(QWidget* widget, std::function<void(int key_code)> press,
                   bool take_enter) override;
  void Remake(Binder& binder) override;
  void Walk(const ui::Button& from, ui::Direction direction) override;

  // Observes the window's controls that are not observed yet.
  void Adopt();
  void Build();
  void MakeWidget(Binder& binder);
  void ApplyAll(Binder& binder);
  void Apply(Binder& binder, ui::Property what);
  void ApplyWindow(ui::Property what);
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

  QtPlatform& platform_;
  ui::Window& window_;
  std::vector<std::unique_ptr<Binder>> binders_;  // in the window's drawing order
  std::unordered_map<const ui::Control*, Binder*> index_;
  std::unique_ptr<FormWidget> form_;   // goes before the binders its widgets call
  bool applying_ = false;              // model -> widget: widget signals are not user actions
  const ui::Control* echo_ = nullptr;  // user -> model: this control's notification is ours
};

}  // namespace qtbind
