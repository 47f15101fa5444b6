// A button: a push button whose caption may take several lines, drawn in the largest font
// that fits it whole.
#include <windows.h>

#include "win32/binder.h"
#include "win32/caption_fit.h"
#include "win32/convert.h"

namespace win32 {
namespace {

// The border and two pixels of air on each side of a button's caption.
constexpr int kSideInset = 5;
constexpr int kEndInset = 3;

// A button caption shows every character as it is: "&" is no mnemonic here.
std::wstring ButtonText(const std::string& caption) {
  std::wstring text;
  for (const wchar_t c : ShownText(caption)) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

class ButtonBinder : public Binder {
 public:
  ButtonBinder(ui::Button& model, BinderHost& host) : Binder(model, host), model_(model) {}

  Layer Stacking() const override { return Layer::Top; }

  HWND Create(HWND parent) override {
    return Child(parent, L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP);
  }

  void Command(WORD code) override {
    if (code == BN_CLICKED && ByUser()) Deliver([this] { model_.Click(); });
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Caption) SetText(ButtonText(model_.Caption()));
    if (what == ui::Property::Caption || what == ui::Property::Look ||
        what == ui::Property::Geometry)
      Fit();
  }

 private:
  // The caption's font: the model's, or the same smaller where the caption does not fit.
  void Fit() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const SIZE area{client.right - 2 * kSideInset, client.bottom - 2 * kEndInset};
    HDC dc = GetDC(Handle());
    const FittedCaption fitted =
        FitCaption(dc, host_.Fonts(), model_.Caption(), model_.GetFont(), area, host_.Dpi());
    ReleaseDC(Handle(), dc);
    if (reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)) != fitted.font)
      SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fitted.font), TRUE);
  }

  ui::Button& model_;
};

}  // namespace

std::unique_ptr<Binder> MakeButtonBinder(ui::Button& button, BinderHost& host) {
  return std::make_unique<ButtonBinder>(button, host);
}

}  // namespace win32
