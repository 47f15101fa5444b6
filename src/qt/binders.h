// One binder per kind of control: it makes the control's widget and keeps the widget's own
// properties (caption, look, rows, text, a timer's run) in step with the model, and hands what
// the user does to that widget back to the model. What every widget shares (place, shown,
// enabled, and with them the keyboard focus) is the window binding's.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/control.h"
#include "ui/focus.h"

namespace qtbind {

class QtPlatform;

// What a binder may ask of the window binding it belongs to. Changed() applies the model's
// value again (a user change the model refused is undone that way).
class BinderHost : public ui::ControlObserver {
 public:
  virtual QtPlatform& Platform() = 0;
  // True while a model change is being applied: widget signals then are no user actions.
  virtual bool Applying() const = 0;
  // A change the user made to the model's own state, delivered without echoing it back.
  virtual void UserChange(ui::Control& control, const std::function<void()>& change) = 0;
  // Delivers the character keys typed in `widget` to `press`; Enter also stops there when
  // `take_enter` is set.
  virtual void ForwardKeys(QWidget* widget, std::function<void(int key_code)> press,
                           bool take_enter) = 0;
  // The binder dropped its widget for a new kind of one: make it and apply everything.
  virtual void Remake(class Binder& binder) = 0;
  // An arrow key pressed on the button: the focus walks to its neighbour that way.
  virtual void Walk(const ui::Button& from, ui::Direction direction) = 0;

 protected:
  ~BinderHost() override = default;
};

class Binder {
 public:
  // The binder for the control's kind; null for a kind the binding does not show.
  static std::unique_ptr<Binder> For(ui::Control& control, BinderHost& host);
  virtual ~Binder();
  Binder(const Binder&) = delete;
  Binder& operator=(const Binder&) = delete;

  ui::Control& Model() const { return control_; }
  // The widget; null before Make(), and always for a control shown by none (a timer).
  QWidget* Widget() const { return widget_; }
  virtual bool MakesWidget() const { return true; }
  // Makes the widget as a child of `parent`, named as the control.
  void Make(QWidget* parent);
  // Drops the widget (it goes once control returns to the event loop).
  void Retire();

  // Brings the widget up to date with the model's `what`, for what only this kind has; a
  // binder that makes a widget is asked only once it has one.
  virtual void Apply(ui::Property what) = 0;
  // Labels lie beneath everything, buttons above everything.
  enum class Layer { Bottom, Middle, Top };
  virtual Layer Stacking() const { return Layer::Middle; }
  // The end of the program: nothing of this control runs any more.
  virtual void Stop() {}

 protected:
  Binder(ui::Control& control, BinderHost& host) : host_(host), control_(control) {}
  virtual QWidget* Create(QWidget* parent) = 0;
  // Runs a user's action on the model through the platform's one door.
  void Deliver(const std::function<void()>& action);
  // True when a widget signal is the user's doing (not an applied change, not after the end).
  bool ByUser() const;

  BinderHost& host_;

 private:
  ui::Control& control_;
  QPointer<QWidget> widget_;
};

}  // namespace qtbind
