#include "win32/progress/bar_chart.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "win32/convert.h"

namespace win32 {

namespace {

constexpr wchar_t kClass[] = L"VantleProgressChart";
constexpr int kGap = 6;              // between the scale's or the days' names and the bars
constexpr int kCutGap = 3;           // the break across a cut bar
constexpr double kAxisPoints = 9.0;  // the names along the axes, a little smaller than the text

COLORREF Darker(COLORREF colour) {
  return RGB(GetRValue(colour) * 2 / 3, GetGValue(colour) * 2 / 3, GetBValue(colour) * 2 / 3);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Line(HDC dc, int x0, int x1, int y, COLORREF colour, int style) {
  HPEN pen = CreatePen(style, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y, nullptr);
  LineTo(dc, x1, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

int Width(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

void RegisterWindowClass(const wchar_t* name, HBRUSH background) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  RegisterClassW(&window_class);  // fails harmlessly once the class exists
}

BarChart::BarChart(HWND parent, COLORREF colour, FontCache& fonts, std::function<bool(WPARAM)> key)
    : colour_(colour), fonts_(fonts), key_(std::move(key)) {
  RegisterWindowClass(kClass, nullptr);
  window_ = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_TABSTOP, 0, 0, 10, 10, parent, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
  MakeTip();
}

void BarChart::SetChart(progresspage::Chart chart) {
  chart_ = std::move(chart);
  SetWindowTextW(window_, Widen(chart_.caption).c_str());
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK BarChart::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* chart = reinterpret_cast<BarChart*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      chart->Paint(dc, client);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_MOUSEMOVE:
      if (const int bar = chart->BarUnderMouse(); bar != chart->tip_bar_) {
        chart->tip_bar_ = bar;
        SendMessageW(chart->tip_, TTM_UPDATE, 0, 0);
      }
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(l)->code == TTN_GETDISPINFOW) {
        chart->ShowTip(*reinterpret_cast<NMTTDISPINFOW*>(l));
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (chart->key_(w)) return 0;
      break;
  }
  return DefWindowProcW(window, message, w, l);
}

// Where the bars stand for the chart's present size, with the axis font selected in `dc`.
BarChart::Frame BarChart::Place(HDC dc, const RECT& client) const {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int gap = MulDiv(kGap, GetDpiForWindow(window_), kBaseDpi);
  // The scale is as wide for every value below 10000, so that charts above one another align.
  const int scale = std::max(Width(dc, std::to_wstring(chart_.scale)), Width(dc, L"9999")) + gap;
  Frame frame;
  frame.bars = progresspage::PlaceBars(chart_.bars.size(), client.right - scale - 4);
  const int top = metrics.tmHeight / 2 + 2;
  frame.plot = {scale, top, scale + frame.bars.width,
                std::max<int>(top + 1, client.bottom - metrics.tmHeight - gap)};
  return frame;
}

HFONT BarChart::AxisFont(const std::string& text) const {
  return fonts_.Get(ui::Font{}, text, GetDpiForWindow(window_), kAxisPoints);
}

void BarChart::Paint(HDC dc, const RECT& client) {
  Fill(dc, client, GetSysColor(COLOR_BTNFACE));
  const SelectedFont font(dc, AxisFont());
  SetBkMode(dc, TRANSPARENT);
  const Frame frame = Place(dc, client);
  PaintScale(dc, frame.plot);
  if (chart_.scale > 0) PaintBars(dc, frame.plot, frame.bars, client.right);
  PaintDays(dc, frame.plot, frame.bars, client.right);
  if (GetFocus() == window_) DrawFocusRect(dc, &client);
}

// The bar under the mouse, or -1.
int BarChart::BarUnderMouse() const {
  POINT mouse{};
  GetCursorPos(&mouse);
  ScreenToClient(window_, &mouse);
  RECT client;
  GetClientRect(window_, &client);
  HDC dc = GetDC(window_);
  Frame frame;
  {
    const SelectedFont font(dc, AxisFont());
    frame = Place(dc, client);
  }
  ReleaseDC(window_, dc);
  if (mouse.x < frame.plot.left || mouse.y < frame.plot.top || mouse.y > frame.plot.bottom)
    return -1;
  const int bar = (mouse.x - frame.plot.left) / frame.bars.slot;
  return bar < static_cast<int>(chart_.bars.size()) ? bar : -1;
}

// The tip of the bar under the mouse: its day and value.
void BarChart::MakeTip() {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                         0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(window_);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void BarChart::ShowTip(NMTTDISPINFOW& info) {
  const int bar = BarUnderMouse();
  tip_text_ = bar < 0 ? std::wstring() : Widen(chart_.bars[static_cast<std::size_t>(bar)].tip);
  info.lpszText = tip_text_.data();
}

// The top of the scale and zero at its foot, or the empty chart's note.
void BarChart::PaintScale(HDC dc, const RECT& plot) {
  const COLORREF faint = GetSysColor(COLOR_BTNSHADOW);
  Line(dc, plot.left, plot.right, plot.bottom, faint, PS_SOLID);
  if (chart_.scale == 0) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT note = plot;
    const std::wstring text = Widen(chart_.empty_note);
    SelectedFont song(dc, AxisFont(chart_.empty_note));
    DrawTextW(dc, text.c_str(), -1, &note, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  Line(dc, plot.left, plot.right, plot.top, faint, PS_DOT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const int gap = MulDiv(kGap, GetDpiForWindow(window_), kBaseDpi);
  const std::pair<int, std::wstring> marks[] = {{plot.top, std::to_wstring(chart_.scale)},
                                                {plot.bottom, L"0"}};
  for (const auto& [y, text] : marks) {
    RECT place{0, y - 20, plot.left - gap / 2, y + 20};
    DrawTextW(dc, text.c_str(), -1, &place, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
}

// A bar taller than the scale fills the chart's height and is cut a little below its top,
// where its value is written in a box kept right of the scale and inside the chart.
void BarChart::PaintBars(HDC dc, const RECT& plot, const progresspage::BarFrame& frame, int width) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  for (std::size_t i = 0; i < chart_.bars.size(); ++i) {
    const progresspage::Bar& bar = chart_.bars[i];
    const int height = progresspage::BarHeight(chart_, bar, plot.bottom - plot.top);
    if (height == 0) continue;
    const int left = plot.left + progresspage::BarLeft(frame, i);
    const RECT drawn{left, plot.bottom - height, left + frame.bar, plot.bottom};
    Fill(dc, drawn, static_cast<int>(i) == chart_.today ? Darker(colour_) : colour_);
    if (!bar.cut) continue;
    const std::wstring text = std::to_wstring(bar.value);
    const int label_width = Width(dc, text) + 4;
    const int label_left =
        std::clamp<int>((drawn.left + drawn.right - label_width) / 2, static_cast<int>(plot.left),
                        std::max<int>(plot.left, width - label_width));
    RECT label{label_left, drawn.top + 1, label_left + label_width,
               drawn.top + 1 + metrics.tmHeight};
    Fill(dc, {drawn.left, label.bottom + 2, drawn.right, label.bottom + 2 + kCutGap},
         GetSysColor(COLOR_BTNFACE));
    Fill(dc, label, GetSysColor(COLOR_WINDOW));
    FrameRect(dc, &label, GetSysColorBrush(COLOR_BTNSHADOW));
    DrawTextW(dc, text.c_str(), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// The named days under their bars.
void BarChart::PaintDays(HDC dc, const RECT& plot, const progresspage::BarFrame& frame, int width) {
  SelectedFont song(dc, AxisFont("今天"));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const int gap = MulDiv(kGap, GetDpiForWindow(window_), kBaseDpi);
  const auto names =
      progresspage::PlaceDayNames(chart_, frame, plot.left, width, metrics.tmAveCharWidth,
                                  [dc](const std::string& name) { return Width(dc, Widen(name)); });
  for (const progresspage::DayLabel& name : names) {
    const std::wstring text = Widen(chart_.bars[name.bar].day);
    TextOutW(dc, name.left, plot.bottom + gap / 2, text.c_str(), static_cast<int>(text.size()));
  }
}

}  // namespace win32
