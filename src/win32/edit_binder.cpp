// A text box: a one-line edit control the user types in, or a multi-line one that only shows
// text; a box that changes between the two gets a new control.
#include <windows.h>

#include "win32/binder.h"
#include "win32/convert.h"
#include "win32/fonts.h"

namespace win32 {
namespace {

std::wstring WindowText(HWND handle) {
  const int length = GetWindowTextLengthW(handle);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(handle, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

class EditBinder : public Binder {
 public:
  EditBinder(ui::TextBox& model, BinderHost& host) : Binder(model, host), model_(model) {}

  HWND Create(HWND parent) override {
    multi_line_ = model_.MultiLine();
    const DWORD style =
        multi_line_ ? ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    return Child(parent, L"EDIT", style | WS_TABSTOP, WS_EX_CLIENTEDGE);
  }

  void Command(WORD code) override {
    if (code != EN_CHANGE || !ByUser()) return;
    bool taken = false;
    host_.UserChange(model_, [this, text = ModelText(WindowText(Handle())), &taken] {
      taken = model_.Edit(text);
    });
    if (!taken) host_.Changed(model_, ui::Property::Text);
  }

  // A box that only shows text keeps the white of one that takes it.
  HBRUSH Colour(HDC dc) override {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Look) {
      if (model_.MultiLine() != multi_line_) {
        Retire();
        return host_.Remake(*this);
      }
      HFONT font = host_.Fonts().Get(model_.GetFont(), model_.Text(), host_.Dpi());
      SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (what == ui::Property::Text) SetText(ShownText(model_.Text()));
  }

 private:
  ui::TextBox& model_;
  bool multi_line_ = false;
};

}  // namespace

std::unique_ptr<Binder> MakeEditBinder(ui::TextBox& box, BinderHost& host) {
  return std::make_unique<EditBinder>(box, host);
}

}  // namespace win32
