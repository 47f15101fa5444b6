#include "win32/progress/progress_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "win32/convert.h"
#include "win32/progress/bar_chart.h"

namespace win32 {

namespace {

constexpr double kTextPoints = 10.5;    // the window's text, a little larger than the games'
constexpr double kFigurePoints = 20.0;  // the figures
constexpr double kHintPoints = 12.0;    // the empty journal's hint
constexpr int kMargin = 16;             // around the content and between its columns
constexpr int kWidth = 920;             // the first size, in pixels at 96 dpi
constexpr int kHeight = 580;
constexpr int kFigureId = 100;  // the figures' control ids, one after another
constexpr int kSpeakCommand = 1;

// The charts' colours, in the page's order: reviews done blue, words coming due amber.
constexpr COLORREF kChartColours[] = {RGB(70, 120, 190), RGB(225, 145, 45)};

void Place(HWND child, int left, int top, int width, int height, bool shown = true) {
  MoveWindow(child, left, top, std::max(0, width), std::max(0, height), TRUE);
  ShowWindow(child, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

struct ProgressWindow::ListView {
  HWND heading = nullptr;
  HWND list = nullptr;
  HWND empty = nullptr;  // shown instead of an empty list
  progresspage::List data;
  std::vector<int> widths;  // each column's, the stretching one's the room left
  RECT captions{};          // where the columns' captions are written, if any
};

ProgressWindow::ProgressWindow(HWND owner, SpeakFunction speak, DeliverFunction deliver)
    : speak_(std::move(speak)), deliver_(std::move(deliver)) {
  RegisterWindowClass(kProgressWindowClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  window_ = CreateWindowExW(0, kProgressWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
  RECT frame{0, 0, Scaled(kWidth), Scaled(kHeight)};
  AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0, Dpi());
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  header_ = Label("", kTextPoints, true);
  empty_hint_ = Label("", kHintPoints, false, SS_CENTER);
  good_share_ = Label("", kTextPoints, false);
}

ProgressWindow::~ProgressWindow() {
  for (HWND window : disabled_) EnableWindow(window, TRUE);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

int ProgressWindow::Dpi() const {
  const UINT dpi = GetDpiForWindow(window_);
  return dpi ? static_cast<int>(dpi) : kBaseDpi;
}

int ProgressWindow::Scaled(int pixels) const {
  return MulDiv(pixels, Dpi(), kBaseDpi);
}

HFONT ProgressWindow::Font(const std::string& text, double points, bool bold) {
  ui::Font font;
  font.bold = bold;
  return fonts_.Get(font, text, Dpi(), points);
}

HWND ProgressWindow::Label(const std::string& text, double points, bool bold, DWORD style) {
  HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_NOPREFIX | style, 0, 0, 0, 0,
                               window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetLabel(label, text, points, bold);
  return label;
}

void ProgressWindow::SetLabel(HWND label, const std::string& text, double points, bool bold) {
  SetWindowTextW(label, Widen(text).c_str());
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(Font(text, points, bold)), FALSE);
}

int ProgressWindow::TextHeight(HWND label, int width) const {
  const int length = GetWindowTextLengthW(label);
  if (length == 0) return 0;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(label, text.data(), length + 1);
  HDC dc = GetDC(label);
  const SelectedFont font(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT rect{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), length, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ReleaseDC(label, dc);
  return rect.bottom;
}

void ProgressWindow::Open(const progresspage::Page& page, std::function<void()> closed) {
  SetPage(page);
  if (closed && disabled_.empty()) {
    // Held as a message holds them: every other enabled window of the program.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM self) -> BOOL {
          auto* progress = reinterpret_cast<ProgressWindow*>(self);
          if (window != progress->window_ && IsWindowVisible(window) && IsWindowEnabled(window))
            progress->disabled_.push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
  }
  closed_ = std::move(closed);
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
}

void ProgressWindow::Close() {
  // The held windows come back before this one hides, so that one of them takes the focus.
  for (HWND window : std::exchange(disabled_, {})) EnableWindow(window, TRUE);
  ShowWindow(window_, SW_HIDE);
  if (std::function<void()> closed = std::exchange(closed_, nullptr)) {
    if (deliver_)
      deliver_(closed);
    else
      closed();
  }
}

void ProgressWindow::SetPage(const progresspage::Page& page) {
  page_ = page;
  SetWindowTextW(window_, Widen(page.title).c_str());
  SetLabel(header_, page.header, kTextPoints, true);
  SetLabel(empty_hint_, page.empty_hint, kHintPoints);
  SetLabel(good_share_, page.good_share, kTextPoints);
  ShowFigures(page.figures);
  ShowCharts(page.charts);
  ShowLists(page.lists);
  Layout();
  // Where the keys go first: a list with rows, so that F2 and the arrows work at once; else a
  // chart; else the window.
  HWND first = page.empty || charts_.empty() ? window_ : charts_.front().second->Handle();
  for (std::size_t i = page.lists.size(); !page.empty && i-- > 0;)
    if (!page.lists[i].rows.empty()) first = lists_[i]->list;
  SetFocus(first);
}

void ProgressWindow::ShowFigures(const std::vector<progresspage::Figure>& figures) {
  while (figures_.size() < figures.size()) {
    const auto id = static_cast<INT_PTR>(kFigureId + figures_.size());
    figures_.push_back(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW, 0, 0, 0, 0,
                                       window_, reinterpret_cast<HMENU>(id),
                                       GetModuleHandleW(nullptr), nullptr));
  }
  for (std::size_t i = 0; i < figures.size(); ++i) {
    // Its text is what it says whole, "今天到期：23 个": the name assistive technology reads.
    SetWindowTextW(figures_[i], Widen(figures[i].spoken).c_str());
    InvalidateRect(figures_[i], nullptr, TRUE);
  }
}

void ProgressWindow::ShowCharts(const std::vector<progresspage::Chart>& charts) {
  while (charts_.size() < charts.size()) {
    const COLORREF colour = kChartColours[charts_.size() % std::size(kChartColours)];
    charts_.emplace_back(Label("", kTextPoints, true),
                         std::make_unique<BarChart>(window_, colour, fonts_,
                                                    [this](WPARAM key) { return Key(key); }));
  }
  for (std::size_t i = 0; i < charts.size(); ++i) {
    SetLabel(charts_[i].first, charts[i].caption, kTextPoints, true);
    charts_[i].second->SetChart(charts[i]);
  }
}

ProgressWindow::ListView& ProgressWindow::List(std::size_t i) {
  while (lists_.size() <= i) {
    auto view = std::make_unique<ListView>();
    // The heading comes just before its list, so that the list is named by it.
    view->heading = Label("", kTextPoints, true);
    view->list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                 WS_CHILD | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                 0, 0, 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(view->list, ListProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    view->empty = Label("", kTextPoints, false);
    lists_.push_back(std::move(view));
  }
  return *lists_[i];
}

void ProgressWindow::ShowLists(const std::vector<progresspage::List>& lists) {
  for (std::size_t i = 0; i < lists.size(); ++i) {
    ListView& view = List(i);
    view.data = lists[i];
    SetLabel(view.heading, lists[i].caption, kTextPoints, true);
    SetLabel(view.empty, lists[i].empty_note, kTextPoints);
    SendMessageW(view.list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(view.list, LB_RESETCONTENT, 0, 0);
    for (const progresspage::Row& row : lists[i].rows) {
      // The cells one after another: what assistive technology reads for the row.
      std::string line;
      for (const std::string& cell : row.cells) line += (line.empty() ? "" : "  ") + cell;
      SendMessageW(view.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
    }
    if (!lists[i].rows.empty()) SendMessageW(view.list, LB_SETCURSEL, 0, 0);
    SendMessageW(view.list, WM_SETREDRAW, TRUE, 0);
  }
}

static int LineHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  const int height = TextExtent(dc, font, L"").cy;
  ReleaseDC(window, dc);
  return height;
}

// A list's rows, with air above and below the text.
int ProgressWindow::RowHeight() {
  return LineHeight(window_, Font("单词", kTextPoints)) + Scaled(6);
}

void ProgressWindow::Layout() {
  RECT client;
  GetClientRect(window_, &client);
  const int margin = Scaled(kMargin);
  const int width = static_cast<int>(client.right) - 2 * margin;
  int top = margin;
  const int header = page_.header.empty() ? 0 : TextHeight(header_, width);
  Place(header_, margin, top, width, header, header > 0);
  if (header > 0) top += header + margin / 2;
  const int hint = TextHeight(empty_hint_, width);
  Place(empty_hint_, margin, std::max<int>(top, (top + client.bottom - hint) / 2), width, hint,
        page_.empty);
  const int left_width = (width - margin) * 3 / 5;
  const int bottom = static_cast<int>(client.bottom) - margin;
  LayoutLeft(top, margin, left_width, bottom);
  LayoutRight(top, 2 * margin + left_width, width - left_width - margin, bottom);
  InvalidateRect(window_, nullptr, TRUE);
}

// The figures in a row, the share of Good answers under them, then the charts one above
// another in the room left.
int ProgressWindow::LayoutLeft(int top, int left, int width, int bottom) {
  const bool shown = !page_.empty;
  const int gap = Scaled(6);
  const int margin = Scaled(kMargin);
  const int count = static_cast<int>(page_.figures.size());
  const int figure_height = LineHeight(window_, Font("0", kFigurePoints, true)) +
                            LineHeight(window_, Font("今天", kTextPoints)) + 2 * gap;
  const int figure_width = count > 0 ? (width - (count - 1) * gap) / count : 0;
  for (int i = 0; i < static_cast<int>(figures_.size()); ++i)
    Place(figures_[i], left + i * (figure_width + gap), top, figure_width, figure_height,
          shown && i < count);
  int y = top + (count > 0 ? figure_height + margin / 2 : 0);
  const int share = TextHeight(good_share_, width);
  Place(good_share_, left, y, width, share, shown);
  y += share + margin / 2;
  const std::size_t charts = page_.charts.size();
  for (std::size_t i = 0; i < charts_.size(); ++i) {
    const bool here = shown && i < charts;
    const int room = here ? (bottom - y) / static_cast<int>(charts - i) : 0;
    const int heading = TextHeight(charts_[i].first, width);
    Place(charts_[i].first, left, y, width, heading, here);
    Place(charts_[i].second->Handle(), left, y + heading + gap / 2, width,
          room - heading - gap / 2 - margin / 2, here);
    y += room;
  }
  return y;
}

// Each column's width in `list`: what its widest cell (or caption) needs, and the room left
// for the column that stretches.
static std::vector<int> ColumnWidths(const progresspage::List& list, int width, int pad,
                                     const std::function<int(const std::string&)>& width_of) {
  std::vector<int> widths;
  int used = 0;
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    int widest = width_of(list.columns[c].caption);
    for (const progresspage::Row& row : list.rows)
      if (c < row.cells.size()) widest = std::max(widest, width_of(row.cells[c]));
    widths.push_back(list.columns[c].stretch ? 0 : widest + 2 * pad);
    used += widths.back();
  }
  for (std::size_t c = 0; c < list.columns.size(); ++c)
    if (list.columns[c].stretch) widths[c] = std::max(2 * pad, width - used);
  return widths;
}

// The lists one under another, each under its heading and its columns' captions.
void ProgressWindow::LayoutRight(int top, int left, int width, int bottom) {
  const bool shown = !page_.empty;
  const int gap = Scaled(6);
  const std::size_t lists = page_.lists.size();
  HDC dc = GetDC(window_);
  int y = top;
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    ListView& view = *lists_[i];
    const bool here = shown && i < lists;
    const bool any = !view.data.rows.empty();
    const int room = here ? (bottom - y) / static_cast<int>(lists - i) : 0;
    const int heading = TextHeight(view.heading, width);
    Place(view.heading, left, y, width, heading, here);
    const bool captions = any && std::any_of(view.data.columns.begin(), view.data.columns.end(),
                                             [](const auto& c) { return !c.caption.empty(); });
    const int caption_height = captions ? LineHeight(window_, Font("单词", kTextPoints)) : 0;
    view.captions = {left, y + heading + gap / 2, left + width,
                     y + heading + gap / 2 + caption_height};
    const int list_top = static_cast<int>(view.captions.bottom);
    Place(view.list, left, list_top, width, y + room - list_top - gap, here && any);
    Place(view.empty, left, list_top, width, TextHeight(view.empty, width), here && !any);
    RECT inside{};
    GetClientRect(view.list, &inside);
    view.widths = ColumnWidths(view.data, inside.right, gap, [&](const std::string& cell) {
      return TextExtent(dc, Font(cell, kTextPoints), Widen(cell)).cx;
    });
    y += room;
  }
  ReleaseDC(window_, dc);
}

// A figure: its value large over its caption, in a box.
void ProgressWindow::DrawFigure(const DRAWITEMSTRUCT& item) {
  const std::size_t i = item.CtlID - kFigureId;
  if (i >= page_.figures.size()) return;
  const progresspage::Figure& figure = page_.figures[i];
  RECT box = item.rcItem;
  FillRect(item.hDC, &box, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNSHADOW));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_WINDOWTEXT));
  const std::string value = std::to_string(figure.value);
  HFONT large = Font(value, kFigurePoints, true);
  HFONT small = Font(figure.caption, kTextPoints);
  const int value_height = TextExtent(item.hDC, large, L"").cy;
  const int caption_height = TextExtent(item.hDC, small, L"").cy;
  RECT line = box;
  line.top = (box.top + box.bottom - value_height - caption_height) / 2;
  line.bottom = line.top + value_height;
  const UINT centred = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX;
  {
    const SelectedFont font(item.hDC, large);
    DrawTextW(item.hDC, Widen(value).c_str(), -1, &line, centred);
  }
  line.top = line.bottom;
  line.bottom = line.top + caption_height;
  const SelectedFont font(item.hDC, small);
  DrawTextW(item.hDC, Widen(figure.caption).c_str(), -1, &line, centred | DT_END_ELLIPSIS);
}

// The columns' captions above each list that has them.
void ProgressWindow::PaintColumnCaptions(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const int pad = Scaled(6);
  for (std::size_t i = 0; i < lists_.size() && i < page_.lists.size() && !page_.empty; ++i) {
    const ListView& view = *lists_[i];
    int x = view.captions.left + GetSystemMetricsForDpi(SM_CXEDGE, Dpi());
    for (std::size_t c = 0; c < view.widths.size(); ++c) {
      const progresspage::Column& column = view.data.columns[c];
      RECT cell{x + pad, view.captions.top, x + view.widths[c] - pad, view.captions.bottom};
      x += view.widths[c];
      if (view.captions.bottom <= view.captions.top || column.caption.empty()) continue;
      const SelectedFont font(dc, Font(column.caption, kTextPoints));
      DrawTextW(dc, Widen(column.caption).c_str(), -1, &cell,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (column.numeric ? DT_RIGHT : 0));
    }
  }
}

// A list's row, its cells in their columns, each in the face its text needs; a cell cut off
// ends in an ellipsis.
void ProgressWindow::DrawRow(const DRAWITEMSTRUCT& item) {
  const auto view = std::find_if(lists_.begin(), lists_.end(),
                                 [&](const auto& v) { return v->list == item.hwndItem; });
  if (view == lists_.end()) return;
  const progresspage::List& list = (*view)->data;
  const bool selected = item.itemState & ODS_SELECTED;
  RECT row = item.rcItem;
  const int shade = static_cast<int>(item.itemID % 2) * 10;
  const COLORREF plain = GetSysColor(COLOR_WINDOW);
  SetBkColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHT)
                                : RGB(GetRValue(plain) - shade, GetGValue(plain) - shade,
                                      GetBValue(plain) - shade / 2));
  ExtTextOutW(item.hDC, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
  if (item.itemID < list.rows.size()) {
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::vector<std::string>& cells = list.rows[item.itemID].cells;
    const int pad = Scaled(6);
    int x = row.left;
    for (std::size_t c = 0; c < cells.size() && c < (*view)->widths.size(); ++c) {
      RECT cell{x + pad, row.top, x + (*view)->widths[c] - pad, row.bottom};
      x += (*view)->widths[c];
      const SelectedFont font(item.hDC, Font(cells[c], kTextPoints));
      DrawTextW(item.hDC, Widen(cells[c]).c_str(), -1, &cell,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                    (list.columns[c].numeric ? DT_RIGHT : 0));
    }
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &row);
}

LRESULT CALLBACK ProgressWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT ProgressWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_DPICHANGED: {
      // Moved to a screen of another density: the fonts and row heights are made anew for it.
      const RECT& suggested = *reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      for (const auto& view : lists_) SendMessageW(view->list, LB_SETITEMHEIGHT, 0, RowHeight());
      SetPage(progresspage::Page(page_));
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = RowHeight();
      return TRUE;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      item.CtlType == ODT_STATIC ? DrawFigure(item) : DrawRow(item);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintColumnCaptions(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_COMMAND:
      if (HIWORD(w) == LBN_DBLCLK) SpeakCurrentWord(reinterpret_cast<HWND>(l));
      if (LOWORD(w) == IDCANCEL) Close();
      return 0;
    case WM_KEYDOWN:
      if (Key(w)) return 0;
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

LRESULT CALLBACK ProgressWindow::ListProcedure(HWND list, UINT message, WPARAM w, LPARAM l,
                                               UINT_PTR id, DWORD_PTR self) {
  auto* window = reinterpret_cast<ProgressWindow*>(self);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (window->Key(w)) return 0;
      break;
    case WM_CONTEXTMENU:
      window->ContextMenu(list, l);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, ListProcedure, id);
      break;
  }
  return DefSubclassProc(list, message, w, l);
}

// The window's keys, wherever the focus is in it.
bool ProgressWindow::Key(WPARAM key) {
  switch (key) {
    case VK_ESCAPE:
      Close();
      return true;
    case VK_F2:
    case VK_RETURN:
      SpeakCurrentWord(GetFocus());
      return true;
    case VK_TAB:
      MoveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
  }
  return false;
}

// Tab: the charts, then the lists shown.
void ProgressWindow::MoveFocus(bool back) {
  std::vector<HWND> stops;
  for (const auto& chart : charts_)
    if (IsWindowVisible(chart.second->Handle())) stops.push_back(chart.second->Handle());
  for (const auto& view : lists_)
    if (IsWindowVisible(view->list)) stops.push_back(view->list);
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), GetFocus());
  const std::size_t n = stops.size();
  std::size_t next = at == stops.end() ? 0 : static_cast<std::size_t>(at - stops.begin());
  if (at != stops.end()) next = back ? (next + n - 1) % n : (next + 1) % n;
  SetFocus(stops[next]);
}

// Says the word of the selected row of `list` (else of the first list), if it has one.
void ProgressWindow::SpeakCurrentWord(HWND list) {
  if (!speak_ || lists_.empty() || page_.empty) return;
  const ListView* view = lists_.front().get();
  for (const auto& v : lists_)
    if (v->list == list) view = v.get();
  const LRESULT row = SendMessageW(view->list, LB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<std::size_t>(row) >= view->data.rows.size()) return;
  const std::string& word = view->data.rows[static_cast<std::size_t>(row)].spoken;
  if (!word.empty()) speak_(word);
}

// A list's menu: the entry that says its word.
void ProgressWindow::ContextMenu(HWND list, LPARAM where) {
  POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  if (at.x == -1 && at.y == -1) {
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, SendMessageW(list, LB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(&row));
    at = {row.left, row.bottom};
    ClientToScreen(list, &at);
  }
  HMENU menu = CreatePopupMenu();
  const bool usable = speak_ && SendMessageW(list, LB_GETCURSEL, 0, 0) >= 0;
  AppendMenuW(menu, MF_STRING | (usable ? 0 : MF_GRAYED), kSpeakCommand,
              Widen(page_.speak_caption).c_str());
  const int chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  DestroyMenu(menu);
  if (chosen == kSpeakCommand) SpeakCurrentWord(list);
}

std::function<void(const progresspage::Page&, std::function<void()>)> ProgressWindowShower(
    std::function<HWND()> owner, std::function<void(const std::string&)> speak,
    std::function<void(const std::function<void()>&)> deliver) {
  auto window = std::make_shared<std::unique_ptr<ProgressWindow>>();
  return [window, owner = std::move(owner), speak = std::move(speak), deliver = std::move(deliver)](
             const progresspage::Page& page, std::function<void()> closed) {
    if (!*window)
      *window = std::make_unique<ProgressWindow>(owner ? owner() : nullptr, speak, deliver);
    (*window)->Open(page, std::move(closed));
  };
}

}  // namespace win32
