#include "win32/window_binding.h"

#include "ui/focus.h"
#include "view/dispatcher.h"
#include "win32/accessibility.h"
#include "win32/convert.h"
#include "win32/win32_platform.h"
#include "win32/window_menu.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"VantleWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

void RegisterWindowClass() {
  static const bool kRegistered = [] {
    WNDCLASSEXW kind{};
    kind.cbSize = sizeof kind;
    kind.lpfnWndProc = DefWindowProcW;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    kind.hIcon = LoadIconW(kind.hInstance, MAKEINTRESOURCEW(1));
    kind.lpszClassName = kWindowClass;
    return RegisterClassExW(&kind) != 0;
  }();
  static_cast<void>(kRegistered);
}

}  // namespace

WindowBinding::WindowBinding(Win32Platform& platform, ui::Window& window)
    : platform_(platform), window_(window) {
  window_.SetObserver(this);
  Adopt();
}

WindowBinding::~WindowBinding() {
  // The windows go first; the platform no longer accepts events at this point. The model
  // itself may be gone already: it is not touched here.
  for (auto& b : binders_) b->Stop();
  binders_.clear();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void WindowBinding::Adopt() {
  for (ui::Control* control : window_.Controls()) {
    if (index_.count(control)) continue;
    control->SetObserver(this);
    std::unique_ptr<Binder> binder = Binder::For(*control, *this);
    index_[control] = binder.get();
    if (binder) binders_.push_back(std::move(binder));
  }
}

void WindowBinding::Detach() {
  for (ui::Control* control : window_.Controls())
    if (index_.count(control)) control->SetObserver(nullptr);
  window_.SetObserver(nullptr);
}

FontCache& WindowBinding::Fonts() {
  return platform_.Fonts();
}

HWND WindowBinding::HandleOf(const ui::Control* control) const {
  auto it = index_.find(control);
  return it == index_.end() || !it->second ? nullptr : it->second->Handle();
}

Binder* WindowBinding::BinderOf(HWND child) const {
  if (!child) return nullptr;
  for (const auto& b : binders_)
    if (b->Handle() == child) return b.get();
  return nullptr;
}

const ui::Control* WindowBinding::FocusHolder() const {
  const Binder* b = BinderOf(GetFocus());
  return b ? &b->Model() : nullptr;
}

ui::Attention WindowBinding::Attention() const {
  ui::Attention attention;
  attention.focus = FocusHolder();
  for (const auto& b : binders_) {
    if (!b->Handle() || !dynamic_cast<const ui::TextBox*>(&b->Model())) continue;
    DWORD from = 0, to = 0;
    SendMessageW(b->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    if (to <= from) continue;
    const int length = GetWindowTextLengthW(b->Handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(b->Handle(), text.data(), length + 1);
    std::wstring selected = text.substr(from, to - from);
    for (std::size_t at; (at = selected.find(L"\r\n")) != std::wstring::npos;)
      selected.erase(at, 1);
    attention.selections.emplace_back(&b->Model(), Narrow(selected));
  }
  return attention;
}

void WindowBinding::MoveFocus(const ui::Control* from) {
  HWND target = HandleOf(ui::NextFocus(window_, from));
  SetFocus(target ? target : hwnd_);
}

void WindowBinding::SettleFocus(bool to_next) {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
  const ui::Control* holder = FocusHolder();
  if (to_next)
    MoveFocus(nullptr);
  else if (!holder || !holder->Acts())
    MoveFocus(holder);
}

void WindowBinding::Shut() {
  for (auto& b : binders_) b->Stop();
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void WindowBinding::Changed(ui::Control& control, ui::Property what) {
  if (echo_ == &control) return;
  if (&control == &window_) return ApplyWindow(what);
  auto it = index_.find(&control);
  if (it == index_.end() || !it->second) return;
  Binder& b = *it->second;
  if (b.MakesWindow() && !b.Handle()) return;  // made from the model when first shown
  view::FlagScope applying(applying_);
  Apply(b, what);
  if (what == ui::Property::Look) Describe(b.Handle(), b.Model());
}

void WindowBinding::PlaceWindow() {
  RECT frame{0, 0, ToPixels(window_.Width(), dpi_), ToPixels(window_.Height(), dpi_)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, ToPixels(window_.Left(), dpi_), ToPixels(window_.Top(), dpi_),
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowBinding::ApplyWindow(ui::Property what) {
  if (what == ui::Property::Visible) {
    if (window_.Visible()) {
      if (!hwnd_) Build();
      ShowWindow(hwnd_, SW_SHOW);
      SetForegroundWindow(hwnd_);
      // A window that opens gives the focus to the control the user acts on next.
      SettleFocus(true);
    } else if (hwnd_) {
      ShowWindow(hwnd_, SW_HIDE);
    }
    return;
  }
  if (!hwnd_) return;  // built from the model when first shown
  view::FlagScope applying(applying_);
  if (what == ui::Property::Geometry) PlaceWindow();
  if (what == ui::Property::Caption) SetWindowTextW(hwnd_, Widen(window_.Caption()).c_str());
  if (what == ui::Property::Look) InvalidateRect(hwnd_, nullptr, TRUE);
}

void WindowBinding::Build() {
  Adopt();  // controls the window added after the attach, as it loaded
  RegisterWindowClass();
  view::FlagScope applying(applying_);
  hwnd_ = CreateWindowExW(0, kWindowClass, Widen(window_.Caption()).c_str(), kStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBinding::Proc));
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  PlaceWindow();
  for (auto& b : binders_) {
    if (!b->MakesWindow()) continue;
    b->Make(hwnd_);
    ApplyAll(*b);
    Describe(b->Handle(), b->Model());
  }
  Restack();
}

void WindowBinding::Remake(Binder& b) {
  b.Make(hwnd_);
  ApplyAll(b);
  Describe(b.Handle(), b.Model());
  Restack();
}

void WindowBinding::Walk(const ui::Button& from, ui::Direction direction) {
  if (HWND next = HandleOf(ui::Neighbour(window_, from, direction))) SetFocus(next);
}

void WindowBinding::Step(int direction) {
  std::vector<HWND> order;
  for (const ui::Control* control : ui::TabOrder(window_))
    if (HWND h = HandleOf(control); h && control->Acts()) order.push_back(h);
  if (order.empty()) return;
  const HWND focus = GetFocus();
  const int count = static_cast<int>(order.size());
  int at = direction > 0 ? -1 : 0;
  for (int i = 0; i < count; ++i)
    if (order[static_cast<std::size_t>(i)] == focus) at = i;
  SetFocus(order[static_cast<std::size_t>((at + direction + count) % count)]);
}

void WindowBinding::ApplyAll(Binder& b) {
  for (ui::Property what :
       {ui::Property::Look, ui::Property::Geometry, ui::Property::Caption, ui::Property::Items,
        ui::Property::Text, ui::Property::Enabled, ui::Property::Visible})
    Apply(b, what);
}

void WindowBinding::Apply(Binder& b, ui::Property what) {
  HWND w = b.Handle();
  if (!w) return b.Apply(what);  // a timer
  if (what == ui::Property::Visible || what == ui::Property::Enabled) return ApplyShown(b, what);
  if (what == ui::Property::Geometry) {
    const RECT at = PixelRect(b.Model(), dpi_);
    SetWindowPos(w, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  b.Apply(what);
}

void WindowBinding::ApplyShown(Binder& b, ui::Property what) {
  // The focus never rests on a hidden or disabled control, and a control coming back takes
  // it from the window when the window holds it for want of one.
  const ui::Control& model = b.Model();
  const bool live = IsWindowVisible(hwnd_);
  const bool held = live && FocusHolder() == &model;
  if (what == ui::Property::Visible)
    ShowWindow(b.Handle(), model.Visible() ? SW_SHOWNA : SW_HIDE);
  else
    EnableWindow(b.Handle(), model.Enabled());
  if (held && !model.Acts())
    MoveFocus(&model);
  else if (live && model.Acts() && model.TakesFocus() && !FocusHolder())
    MoveFocus(nullptr);
}

void WindowBinding::Restack() {
  constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (auto it = binders_.rbegin(); it != binders_.rend(); ++it)
    if ((*it)->Stacking() == Binder::Layer::Bottom && (*it)->Handle())
      SetWindowPos((*it)->Handle(), HWND_BOTTOM, 0, 0, 0, 0, kKeep);
  for (auto& b : binders_)
    if (b->Stacking() == Binder::Layer::Top && b->Handle())
      SetWindowPos(b->Handle(), HWND_TOP, 0, 0, 0, 0, kKeep);
}

void WindowBinding::UserChange(ui::Control& control, const std::function<void()>& change) {
  const ui::Control* saved = echo_;
  echo_ = &control;
  platform_.Deliver(change);
  echo_ = saved;
}

}  // namespace win32
