// The progress window, "学习记录", drawn with GDI from its description (progresspage::Page),
// as the Qt one draws it: a header line when there is one, the figures in a row, the share of
// Good answers, the charts, and the lists (the words missed most first) with F2, Enter or a
// double click saying the selected word. An empty journal shows a hint instead. It is modeless
// except when opened over a round in play: then the program's other windows wait until it is
// closed. Esc or the close box hides it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "progress/page/page.h"
#include "win32/fonts.h"

namespace win32 {

class BarChart;

// The progress window's class name, for finding it.
inline constexpr wchar_t kProgressWindowClass[] = L"VantleProgress";

class ProgressWindow {
 public:
  using SpeakFunction = std::function<void(const std::string&)>;
  using DeliverFunction = std::function<void(const std::function<void()>&)>;

  // A hidden top-level window owned by `owner` (may be null).
  ProgressWindow(HWND owner, SpeakFunction speak, DeliverFunction deliver);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows `page` in front, shown if it was closed. With `closed`, the program's other windows
  // are disabled until it is closed, and `closed` then runs through `deliver`.
  void Open(const progresspage::Page& page, std::function<void()> closed);
  HWND Handle() const { return window_; }

 private:
  struct ListView;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                        DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  int Dpi() const;
  int Scaled(int pixels) const;
  HFONT Font(const std::string& text, double points, bool bold = false);
  HWND Label(const std::string& text, double points, bool bold, DWORD style = 0);
  void SetLabel(HWND label, const std::string& text, double points, bool bold = false);
  int TextHeight(HWND label, int width) const;
  void SetPage(const progresspage::Page& page);
  void ShowFigures(const std::vector<progresspage::Figure>& figures);
  void ShowCharts(const std::vector<progresspage::Chart>& charts);
  void ShowLists(const std::vector<progresspage::List>& lists);
  ListView& List(std::size_t i);
  int RowHeight();
  void Layout();
  int LayoutLeft(int top, int left, int width, int bottom);
  void LayoutRight(int top, int left, int width, int bottom);
  void DrawFigure(const DRAWITEMSTRUCT& item);
  void PaintColumnCaptions(HDC dc);
  void DrawRow(const DRAWITEMSTRUCT& item);
  bool Key(WPARAM key);
  void MoveFocus(bool back);
  void SpeakCurrentWord(HWND list);
  void ContextMenu(HWND list, LPARAM where);
  void Close();

  HWND window_ = nullptr;
  SpeakFunction speak_;
  DeliverFunction deliver_;
  FontCache fonts_;
  progresspage::Page page_;
  HWND header_;
  HWND empty_hint_;
  HWND good_share_;
  std::vector<HWND> figures_;  // drawn by the window, named by what each says
  std::vector<std::pair<HWND, std::unique_ptr<BarChart>>> charts_;  // heading, chart
  std::vector<std::unique_ptr<ListView>> lists_;
  std::vector<HWND> disabled_;    // the windows held while it is open over a round
  std::function<void()> closed_;  // what runs when it is closed, if anything
};

// Shows each page in one progress window, made the first time, owned by `owner`'s window;
// `speak` says an English word (F2 / Enter / double click on a list line); `deliver` runs a
// callback as the program's events are run. With `closed` non-null, the window is modal over
// the program until it closes, then `closed` runs through `deliver`.
std::function<void(const progresspage::Page&, std::function<void()>)> ProgressWindowShower(
    std::function<HWND()> owner, std::function<void(const std::string&)> speak,
    std::function<void(const std::function<void()>&)> deliver);

}  // namespace win32
