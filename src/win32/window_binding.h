// Mirrors one ui::Window and its controls into a top-level window and its child controls,
// and forwards the user's actions back. The model holds the truth: every change notification
// updates only what changed, and what the user does reaches the model through the platform's
// single dispatcher. 15 twips make a pixel at 96 dpi; the window follows its monitor's dpi.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "ui/control.h"
#include "ui/window.h"
#include "win32/binder.h"

namespace win32 {

class Win32Platform;

class WindowBinding : public BinderHost {
 public:
  // Observes the window and every control it holds (and, when it is first shown, those added
  // since); the windows are made when it is first shown, the timers at once.
  WindowBinding(Win32Platform& platform, ui::Window& window);
  ~WindowBinding() override;
  WindowBinding(const WindowBinding&) = delete;
  WindowBinding& operator=(const WindowBinding&) = delete;

  void Changed(ui::Control& control, ui::Property what) override;

  const ui::Window& Model() const { return window_; }
  ui::Window& Model() { return window_; }
  // The top-level window, null until first shown.
  HWND Handle() const { return hwnd_; }
  // The child window showing `control`, null when there is none (yet).
  HWND HandleOf(const ui::Control* control) const;

  // The end of the program: the timers stop and the window goes away.
  void Shut();
  // The model stops reporting to this binding (which is about to go while the model stays).
  void Detach();
  // After a delivered event: the focus leaves a control that cannot hold it; with `to_next`
  // it goes to the control the user acts on next wherever it stood.
  void SettleFocus(bool to_next);
  // The control whose window holds the keyboard focus; null when the window itself (or
  // nothing) holds it.
  const ui::Control* FocusHolder() const;
  // What the learner points at: the focus and the text selected in each text box.
  ui::Attention Attention() const;

  // Keys for this window, seen in the message loop before they are dispatched: the
  // shortcuts, Tab, the arrows on the board, Enter, the menu key and the characters the
  // model takes. True when the message is used up.
  bool PreTranslate(const MSG& message);

 private:
  // What the binders ask of their window.
  Win32Platform& Platform() override { return platform_; }
  bool Applying() const override { return applying_; }
  void UserChange(ui::Control& control, const std::function<void()>& change) override;
  void Remake(Binder& binder) override;
  void Walk(const ui::Button& from, ui::Direction direction) override;
  int Dpi() const override { return dpi_; }
  FontCache& Fonts() override;
  const ui::Picture* Background() const override { return window_.GetPicture().get(); }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  Binder* BinderOf(HWND child) const;
  void Paint(HDC dc);
  void MovedByUser();
  void DpiChanged(int dpi, const RECT& suggested);

  void Adopt();
  void Build();
  void ApplyAll(Binder& binder);
  void Apply(Binder& binder, ui::Property what);
  void ApplyWindow(ui::Property what);
  void ApplyShown(Binder& binder, ui::Property what);
  void PlaceWindow();
  // Puts every label beneath every button.
  void Restack();
  void MoveFocus(const ui::Control* from);
  // Tab and Shift+Tab: the next (or previous) control that acts, in reading order.
  void Step(int direction);
  bool KeyDown(const MSG& message);
  bool Character(int code);
  bool Shortcut(UINT key);

  Win32Platform& platform_;
  ui::Window& window_;
  std::vector<std::unique_ptr<Binder>> binders_;  // in the window's drawing order
  std::unordered_map<const ui::Control*, Binder*> index_;
  HWND hwnd_ = nullptr;
  HWND last_focus_ = nullptr;  // the child that held the focus when the window was left
  int dpi_ = 96;
  bool applying_ = false;              // model -> window: notifications are not user actions
  const ui::Control* echo_ = nullptr;  // user -> model: this control's notification is ours
};

}  // namespace win32
