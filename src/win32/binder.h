// One binder per kind of control: it makes the control's child window and keeps that
// window's own properties (caption, look, rows, text, a timer's run) in step with the model,
// and hands what the user does to it back to the model. What every control shares (place,
// shown, enabled, and with them the keyboard focus) is the window binding's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/control.h"
#include "ui/focus.h"
#include "ui/window.h"

namespace win32 {

class FontCache;
class Win32Platform;
class Binder;

// What a binder may ask of the window binding it belongs to. Changed() applies the model's
// value again (a user change the model refused is undone that way).
class BinderHost : public ui::ControlObserver {
 public:
  virtual Win32Platform& Platform() = 0;
  // True while a model change is being applied: control notifications then are no user
  // actions.
  virtual bool Applying() const = 0;
  // A change the user made to the model's own state, delivered without echoing it back.
  virtual void UserChange(ui::Control& control, const std::function<void()>& change) = 0;
  // The binder dropped its window for a new kind of one: make it and apply everything.
  virtual void Remake(Binder& binder) = 0;
  // An arrow key pressed on the button: the focus walks to its neighbour that way.
  virtual void Walk(const ui::Button& from, ui::Direction direction) = 0;
  // The window's dots per inch now, and the fonts to draw in.
  virtual int Dpi() const = 0;
  virtual FontCache& Fonts() = 0;
  // The window's background picture (transparent labels show it), null when none.
  virtual const ui::Picture* Background() const = 0;

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
  // The child window; null before Make(), and always for a control shown by none (a timer).
  HWND Handle() const { return handle_; }
  virtual bool MakesWindow() const { return true; }
  // Makes the child window of `parent`, named as the control.
  void Make(HWND parent);
  // Destroys the child window.
  void Retire();

  // Brings the window up to date with the model's `what`, for what only this kind has; a
  // binder that makes a window is asked only once it has one.
  virtual void Apply(ui::Property what) = 0;
  // Labels lie beneath everything, buttons above everything.
  enum class Layer { Bottom, Middle, Top };
  virtual Layer Stacking() const { return Layer::Middle; }
  // The end of the program: nothing of this control runs any more.
  virtual void Stop() {}

  // What the parent window hears of its child: a notification (WM_COMMAND), a request to
  // draw it (WM_DRAWITEM; false when the binder draws nothing itself) and to colour it
  // (WM_CTLCOLOR*; null for the system's colours).
  virtual void Command(WORD) {}
  virtual bool Draw(const DRAWITEMSTRUCT&) { return false; }
  virtual HBRUSH Colour(HDC) { return nullptr; }

 protected:
  Binder(ui::Control& control, BinderHost& host) : host_(host), control_(control) {}
  virtual HWND Create(HWND parent) = 0;
  // Runs a user's action on the model through the platform's one door.
  void Deliver(const std::function<void()>& action);
  // True when a notification is the user's doing (not an applied change, not after the end).
  bool ByUser() const;
  // A child window of `parent` of the system class `kind`.
  HWND Child(HWND parent, const wchar_t* kind, DWORD style, DWORD ex_style = 0) const;
  // Sets the child window's text when it differs (every set would redraw it).
  void SetText(const std::wstring& text) const;

  BinderHost& host_;

 private:
  ui::Control& control_;
  HWND handle_ = nullptr;
};

// The binders of each kind (one file each).
std::unique_ptr<Binder> MakeButtonBinder(ui::Button& button, BinderHost& host);
std::unique_ptr<Binder> MakeLabelBinder(ui::Label& label, BinderHost& host);
std::unique_ptr<Binder> MakeListBinder(ui::ListBox& list, BinderHost& host);
std::unique_ptr<Binder> MakeEditBinder(ui::TextBox& box, BinderHost& host);
std::unique_ptr<Binder> MakeTimerBinder(ui::Timer& timer, BinderHost& host);

}  // namespace win32
