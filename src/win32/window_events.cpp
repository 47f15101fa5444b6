// What the window binding hears from Windows: its window's messages and the keys the message
// loop shows it before dispatching them.
#include <windowsx.h>

#include "view/dispatcher.h"
#include "win32/convert.h"
#include "win32/media/picture.h"
#include "win32/win32_platform.h"
#include "win32/window_binding.h"
#include "win32/window_menu.h"

namespace win32 {
namespace {

bool Down(int key) {
  return GetKeyState(key) < 0;
}

// Where a menu asked for from the keyboard opens: below the top-left corner of what holds
// the focus.
POINT KeyboardMenuPoint(HWND focus) {
  RECT area{};
  GetWindowRect(focus, &area);
  return {area.left + 4, area.top + 4};
}

}  // namespace

LRESULT CALLBACK WindowBinding::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<WindowBinding*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT WindowBinding::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (Binder* b = BinderOf(reinterpret_cast<HWND>(lparam))) b->Command(HIWORD(wparam));
      return 0;
    case WM_DRAWITEM:
      if (Binder* b = BinderOf(reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)->hwndItem))
        return b->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (Binder* b = BinderOf(reinterpret_cast<HWND>(lparam)))
        if (HBRUSH brush = b->Colour(reinterpret_cast<HDC>(wparam)))
          return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_CLOSE:
      // The model decides: the form's unload ends the program, which hides every window.
      platform_.Deliver([this] { window_.Close(); });
      return 0;
    case WM_MOVE:
      MovedByUser();
      break;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (at.x == -1 && at.y == -1) at = KeyboardMenuPoint(GetFocus());
      OpenWindowMenu(*this, platform_, at);
      return 0;
    }
    case WM_ACTIVATE:
      // The keys go back to the control that had them when the window was left.
      if (LOWORD(wparam) == WA_INACTIVE) {
        if (BinderOf(GetFocus())) last_focus_ = GetFocus();
      } else if (const Binder* b = BinderOf(last_focus_); b && b->Model().Acts()) {
        SetFocus(last_focus_);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void WindowBinding::Paint(HDC dc) {
  // From the top-left corner of the client area, over the window's own colour, at its size in
  // the window's twips (scaled with the window's dpi).
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (const ui::Picture* picture = Background()) DrawPicture(dc, *picture, 0, 0, dpi_);
}

void WindowBinding::MovedByUser() {
  if (applying_ || !platform_.Accepting() || !IsWindowVisible(hwnd_)) return;
  RECT frame{};
  GetWindowRect(hwnd_, &frame);
  if (frame.left == ToPixels(window_.Left(), dpi_) && frame.top == ToPixels(window_.Top(), dpi_))
    return;
  UserChange(window_, [this, frame] {
    window_.Move(ToTwips(frame.left, dpi_), ToTwips(frame.top, dpi_), window_.Width(),
                 window_.Height());
  });
}

void WindowBinding::DpiChanged(int dpi, const RECT& suggested) {
  // The window moved to a monitor of another density: everything is laid out again there.
  dpi_ = dpi;
  {
    view::FlagScope applying(applying_);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (auto& b : binders_) {
    if (!b->Handle()) continue;
    view::FlagScope applying(applying_);
    Apply(*b, ui::Property::Look);
    Apply(*b, ui::Property::Geometry);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

bool WindowBinding::PreTranslate(const MSG& message) {
  if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) return KeyDown(message);
  if (message.message == WM_CHAR) {
    const auto code = static_cast<int>(message.wParam);
    if (code >= 0xD800 && code <= 0xDFFF) return false;
    return Character(code);
  }
  return false;
}

bool WindowBinding::Shortcut(UINT key) {
  const bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT), alt = Down(VK_MENU);
  const ui::Control* holder = FocusHolder();
  // A one-line box keeps its own Ctrl keys (undo, copy, paste).
  const auto* box = dynamic_cast<const ui::TextBox*>(holder);
  if (ctrl && box && !box->MultiLine()) return false;
  for (const ui::Window::Shortcut& shortcut : window_.shortcuts) {
    if (!MatchesKey(shortcut.key, key, ctrl, shift, alt)) continue;
    const ui::Attention attention = Attention();
    platform_.Deliver(
        [this, &shortcut, &attention] { window_.PressShortcut(shortcut.key, attention); });
    return true;
  }
  if (key == VK_F2 && !ctrl && !shift && !alt && window_.Speaks() && platform_.SpeechUsable()) {
    const ui::Attention attention = Attention();
    platform_.Deliver([this, &attention] { window_.RequestSpeech(attention); });
    return true;
  }
  return false;
}

bool WindowBinding::KeyDown(const MSG& message) {
  const auto key = static_cast<UINT>(message.wParam);
  const ui::Control* holder = FocusHolder();
  // Keys reach no hidden or disabled control; the focus leaves such a control at once.
  if (holder && !holder->Acts()) {
    SettleFocus(false);
    return true;
  }
  if (key == VK_APPS || (key == VK_F10 && Down(VK_SHIFT))) {
    OpenWindowMenu(*this, platform_, KeyboardMenuPoint(GetFocus()));
    return true;
  }
  if (Shortcut(key)) return true;
  if (key == VK_TAB && !Down(VK_CONTROL) && !Down(VK_MENU)) {
    Step(Down(VK_SHIFT) ? -1 : 1);
    return true;
  }
  const auto* button = dynamic_cast<const ui::Button*>(holder);
  if (!button) return false;
  switch (key) {
    case VK_LEFT:
      return Walk(*button, ui::Direction::Left), true;
    case VK_RIGHT:
      return Walk(*button, ui::Direction::Right), true;
    case VK_UP:
      return Walk(*button, ui::Direction::Up), true;
    case VK_DOWN:
      return Walk(*button, ui::Direction::Down), true;
    case VK_RETURN: {
      auto* pressed = const_cast<ui::Button*>(button);
      if (!(message.lParam & (1 << 30))) platform_.Deliver([pressed] { pressed->Click(); });
      return true;
    }
    default:
      return false;
  }
}

bool WindowBinding::Character(int code) {
  ui::Control* holder = const_cast<ui::Control*>(FocusHolder());
  if (auto* list = dynamic_cast<ui::ListBox*>(holder)) {
    // Enter presses the button beside the list; the other keys also move within it.
    platform_.Deliver([list, code] { list->KeyPress(code); });
    return !platform_.Accepting() || code == ui::kEnterKey;
  }
  if (auto* box = dynamic_cast<ui::TextBox*>(holder)) {
    // Every character reaches the box before it takes it; Enter, and every key in a box that
    // only shows text, go on to the window.
    platform_.Deliver([box, code] { box->KeyPress(code); });
    if (!platform_.Accepting()) return true;
    if (code != ui::kEnterKey && !box->MultiLine()) return false;
  } else if (code == ' ' && holder) {
    return false;  // the button presses itself
  }
  platform_.Deliver([this, code] { window_.KeyPress(code); });
  return true;
}

}  // namespace win32
