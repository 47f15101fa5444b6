// A list box: one choice, a double click on a row, and a click on the empty space below the
// rows that leaves the choice as it is.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "win32/binder.h"
#include "win32/convert.h"
#include "win32/fonts.h"

namespace win32 {
namespace {

// The row under a mouse message's point, or -1 below the rows.
int RowAt(HWND list, LPARAM point) {
  const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, point);
  return HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
}

class ListBinder : public Binder {
 public:
  ListBinder(ui::ListBox& model, BinderHost& host) : Binder(model, host), model_(model) {}

  HWND Create(HWND parent) override {
    HWND list = Child(parent, L"LISTBOX",
                      LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP);
    SetWindowSubclass(list, &ListBinder::Proc, 0, reinterpret_cast<DWORD_PTR>(this));
    return list;
  }

  void Command(WORD code) override {
    if (code != LBN_SELCHANGE || !ByUser()) return;
    const int row = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    // A list box keeps its choice, and a hidden or disabled one takes none.
    bool taken = false;
    if (row >= 0) host_.UserChange(model_, [this, row, &taken] { taken = model_.Choose(row); });
    if (!taken) host_.Changed(model_, ui::Property::Selection);
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Look) {
      HFONT font = host_.Fonts().Get(ui::Font{}, "词", host_.Dpi());
      SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (what == ui::Property::Items) SyncItems();
    if (what == ui::Property::Items || what == ui::Property::Selection) SyncSelection();
  }

 private:
  static LRESULT CALLBACK Proc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR self) {
    auto* binder = reinterpret_cast<ListBinder*>(self);
    if (message == WM_LBUTTONDOWN && RowAt(list, lparam) < 0) {
      SetFocus(list);
      return 0;
    }
    if (message == WM_LBUTTONDBLCLK) {
      // A double click on a row chooses it first; below the rows it does nothing.
      const int row = RowAt(list, lparam);
      if (row >= 0 && binder->ByUser()) {
        binder->Deliver([binder, row] {
          if (binder->model_.Choose(row)) binder->model_.DblClick();
        });
      }
      return 0;
    }
    return DefSubclassProc(list, message, wparam, lparam);
  }

  std::wstring Row(int index) const {
    const auto length = SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
    std::wstring row(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(row.data()));
    row.resize(static_cast<std::size_t>(length));
    return row;
  }

  // Whether the control's row `index` shows `item`.
  bool RowIs(int index, const std::string& item) const {
    const std::wstring shown = ShownText(item);
    const std::wstring row = Row(index);
    return row == shown;
  }

  void SyncItems() {
    // A list box only grows by appending or empties at once, so the control keeps its rows
    // and takes the new ones; anything else rebuilds it.
    const auto& items = model_.Items();
    int have = static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
    if (static_cast<std::size_t>(have) > items.size() ||
        (have > 0 && !RowIs(have - 1, items[static_cast<std::size_t>(have - 1)]))) {
      SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
      have = 0;
    }
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    for (std::size_t k = static_cast<std::size_t>(have); k < items.size(); ++k)
      SendMessageW(Handle(), LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(ShownText(items[k]).c_str()));
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }

  void SyncSelection() {
    const int row = model_.ListIndex();
    if (SendMessageW(Handle(), LB_GETCURSEL, 0, 0) != row)
      SendMessageW(Handle(), LB_SETCURSEL, row, 0);
  }

  ui::ListBox& model_;
};

}  // namespace

std::unique_ptr<Binder> MakeListBinder(ui::ListBox& list, BinderHost& host) {
  return std::make_unique<ListBinder>(list, host);
}

}  // namespace win32
