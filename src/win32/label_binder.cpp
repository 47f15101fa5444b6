// A label: a static control the binding draws itself, so that a transparent one shows the
// window's picture through it and a fixed one fits its caption as a button does. Its text is
// also the static control's own, which is what assistive technology reads.
#include <windows.h>

#include "win32/binder.h"
#include "win32/caption_fit.h"
#include "win32/convert.h"
#include "win32/media/picture.h"

namespace win32 {
namespace {

// Two pixels of air beside a caption, so that no character touches the edge.
constexpr int kAir = 2;

UINT HorizontalFormat(ui::Alignment alignment) {
  switch (alignment) {
    case ui::Alignment::Center:
      return DT_CENTER;
    case ui::Alignment::Right:
      return DT_RIGHT;
    default:
      return DT_LEFT;
  }
}

class LabelBinder : public Binder {
 public:
  LabelBinder(ui::Label& model, BinderHost& host) : Binder(model, host), model_(model) {}

  Layer Stacking() const override { return Layer::Bottom; }

  HWND Create(HWND parent) override { return Child(parent, L"STATIC", SS_OWNERDRAW); }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Caption) SetText(ShownText(model_.Caption()));
    if (what == ui::Property::Caption || what == ui::Property::Look)
      InvalidateRect(Handle(), nullptr, FALSE);
  }

  bool Draw(const DRAWITEMSTRUCT& item) override {
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    PaintBackground(dc, area);
    if (model_.Caption().empty()) return true;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(Handle()) ? ToColorRef(model_.ForeColor())
                                               : GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = ShownText(model_.Caption());
    RECT box{area.left + kAir, area.top, area.right - kAir, area.bottom};
    UINT format = HorizontalFormat(model_.Alignment()) | DT_NOPREFIX | DT_EXPANDTABS;
    HFONT font = nullptr;
    if (model_.AutoSize()) {
      // A label sized to its caption never wraps.
      font = host_.Fonts().Get(model_.GetFont(), model_.Caption(), host_.Dpi());
    } else {
      const SIZE room{box.right - box.left, box.bottom - box.top};
      const FittedCaption fitted =
          FitCaption(dc, host_.Fonts(), model_.Caption(), model_.GetFont(), room, host_.Dpi());
      font = fitted.font;
      format |= fitted.format;
      // A centred label centres its lines in both directions, as a button does.
      if (model_.Alignment() == ui::Alignment::Center && fitted.height < room.cy)
        box.top += (room.cy - fitted.height) / 2;
    }
    const SelectedFont selected(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    return true;
  }

 private:
  // The label's colour, or for a transparent one what lies beneath it: the window's picture
  // where there is one, else the window's own colour.
  void PaintBackground(HDC dc, const RECT& area) {
    if (!model_.Transparent()) {
      HBRUSH brush = CreateSolidBrush(ToColorRef(model_.BackColor()));
      FillRect(dc, &area, brush);
      DeleteObject(brush);
      return;
    }
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const ui::Picture* picture = host_.Background();
    if (!picture) return;
    POINT origin{0, 0};
    MapWindowPoints(Handle(), GetParent(Handle()), &origin, 1);
    DrawPicture(dc, *picture, -origin.x, -origin.y, host_.Dpi());
  }

  ui::Label& model_;
};

}  // namespace

std::unique_ptr<Binder> MakeLabelBinder(ui::Label& label, BinderHost& host) {
  return std::make_unique<LabelBinder>(label, host);
}

}  // namespace win32
