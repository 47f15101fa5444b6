#include "win32/binder.h"

#include "win32/win32_platform.h"

namespace win32 {

Binder::~Binder() {
  Retire();
}

void Binder::Make(HWND parent) {
  handle_ = Create(parent);
}

void Binder::Retire() {
  if (!handle_) return;
  HWND gone = handle_;
  handle_ = nullptr;
  DestroyWindow(gone);
}

void Binder::Deliver(const std::function<void()>& action) {
  host_.Platform().Deliver(action);
}

bool Binder::ByUser() const {
  return !host_.Applying() && host_.Platform().Accepting();
}

HWND Binder::Child(HWND parent, const wchar_t* kind, DWORD style, DWORD ex_style) const {
  // Hidden until the binding shows it; siblings never draw over one another.
  return CreateWindowExW(ex_style, kind, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                         parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Binder::SetText(const std::wstring& text) const {
  const int length = GetWindowTextLengthW(handle_);
  std::wstring now(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(handle_, now.data(), length + 1);
  now.resize(static_cast<std::size_t>(length));
  if (now != text) SetWindowTextW(handle_, text.c_str());
}

std::unique_ptr<Binder> Binder::For(ui::Control& control, BinderHost& host) {
  if (auto* button = dynamic_cast<ui::Button*>(&control)) return MakeButtonBinder(*button, host);
  if (auto* label = dynamic_cast<ui::Label*>(&control)) return MakeLabelBinder(*label, host);
  if (auto* list = dynamic_cast<ui::ListBox*>(&control)) return MakeListBinder(*list, host);
  if (auto* box = dynamic_cast<ui::TextBox*>(&control)) return MakeEditBinder(*box, host);
  if (auto* timer = dynamic_cast<ui::Timer*>(&control)) return MakeTimerBinder(*timer, host);
  return nullptr;
}

}  // namespace win32
