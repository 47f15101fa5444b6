// A chart of the progress window drawn with GDI: the bars left to right, the top of the scale
// named, a few days named under the axis, today's bar drawn stronger, a bar taller than the
// scale cut with its value written on it, or the chart's note when every value is zero. It is
// a child window named by its caption, so that Tab reaches it and assistive technology reads
// it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "progress/page/page.h"
#include "win32/fonts.h"

namespace win32 {

// Registers the window class `name` of this program's windows (a window made of it is given
// its own procedure after it is made); again is harmless.
void RegisterWindowClass(const wchar_t* name, HBRUSH background);

class BarChart {
 public:
  // A hidden child of `parent`; `key` gets the keys pressed while it has the focus, and says
  // whether it used them.
  BarChart(HWND parent, COLORREF colour, FontCache& fonts, std::function<bool(WPARAM)> key);
  BarChart(const BarChart&) = delete;
  BarChart& operator=(const BarChart&) = delete;

  void SetChart(progresspage::Chart chart);
  HWND Handle() const { return window_; }

 private:
  // Where the bars stand in the chart.
  struct Frame {
    RECT plot{};  // the area the bars grow in, their base on its bottom edge
    progresspage::BarFrame bars;
  };
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  Frame Place(HDC dc, const RECT& client) const;
  // The names along the axes, a little smaller than the text, in the face `text` needs.
  HFONT AxisFont(const std::string& text = "0") const;
  int BarUnderMouse() const;
  void MakeTip();
  void ShowTip(NMTTDISPINFOW& info);
  void Paint(HDC dc, const RECT& client);
  void PaintScale(HDC dc, const RECT& plot);
  void PaintBars(HDC dc, const RECT& plot, const progresspage::BarFrame& frame, int width);
  void PaintDays(HDC dc, const RECT& plot, const progresspage::BarFrame& frame, int width);

  HWND window_;
  COLORREF colour_;
  FontCache& fonts_;
  std::function<bool(WPARAM)> key_;
  progresspage::Chart chart_;
  HWND tip_ = nullptr;
  int tip_bar_ = -1;       // the bar whose tip shows, or -1
  std::wstring tip_text_;  // what the tip says while it shows
};

}  // namespace win32
