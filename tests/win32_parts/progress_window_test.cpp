// The progress window read back as assistive technology and the tests see it: its child
// windows' texts, its lists' lines, the keys, and its holding of the program over a round.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "progress/overview_samples.h"
#include "win32/convert.h"
#include "win32/progress/progress_window.h"

namespace {

progresspage::Page SamplePage() {
  progresspage::Facts facts;
  facts.today = overview_samples::kToday;
  facts.books = {{"《初中英语》(第一册)(304)", 120, 304}};
  return progresspage::Describe(overview_samples::Sample(), facts);
}

struct Parts {
  std::vector<std::string> texts;               // the shown children's texts
  std::vector<std::vector<std::string>> lists;  // the shown lists' lines
  std::vector<HWND> list_windows;
};

Parts ReadParts(HWND window) {
  Parts parts;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM to) -> BOOL {
        auto& parts = *reinterpret_cast<Parts*>(to);
        if (!IsWindowVisible(child)) return TRUE;
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (std::wstring(name) != L"ListBox") {
          wchar_t text[512] = {};
          GetWindowTextW(child, text, 512);
          parts.texts.push_back(win32::Narrow(text));
          return TRUE;
        }
        std::vector<std::string> lines;
        const auto count = SendMessageW(child, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
          std::wstring line(static_cast<std::size_t>(SendMessageW(child, LB_GETTEXTLEN, i, 0)),
                            L' ');
          SendMessageW(child, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
          lines.push_back(win32::Narrow(line));
        }
        parts.lists.push_back(lines);
        parts.list_windows.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&parts));
  return parts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class ProgressWindowTest : public testing::Test {
 protected:
  HWND Window() { return FindWindowW(win32::kProgressWindowClass, L"学习记录"); }

  std::vector<std::string> spoken_;
  int delivered_ = 0;
  std::function<void(const progresspage::Page&, std::function<void()>)> show_ =
      win32::ProgressWindowShower([] { return HWND{}; },
                                  [this](const std::string& word) { spoken_.push_back(word); },
                                  [this](const std::function<void()>& run) {
                                    ++delivered_;
                                    run();
                                  });
};

TEST_F(ProgressWindowTest, ShowsThePagesFiguresChartsAndLists) {
  const progresspage::Page page = SamplePage();
  show_(page, nullptr);
  HWND window = Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  const Parts parts = ReadParts(window);
  for (const progresspage::Figure& figure : page.figures)
    EXPECT_TRUE(Has(parts.texts, figure.spoken)) << figure.spoken;
  EXPECT_TRUE(Has(parts.texts, page.good_share));
  for (const progresspage::Chart& chart : page.charts) EXPECT_TRUE(Has(parts.texts, chart.caption));
  for (const progresspage::List& list : page.lists) EXPECT_TRUE(Has(parts.texts, list.caption));
  EXPECT_FALSE(Has(parts.texts, page.empty_hint));
  ASSERT_EQ(parts.lists.size(), 2u);
  ASSERT_EQ(parts.lists[0].size(), 3u);
  EXPECT_EQ(parts.lists[0][0], "enormous  巨大的  7");
  EXPECT_EQ(parts.lists[1][0], "《初中英语》(第一册)(304)：已学 120 / 304");
}

TEST_F(ProgressWindowTest, KeysSayTheSelectedWordAndEscapeHidesIt) {
  show_(SamplePage(), nullptr);
  const Parts parts = ReadParts(Window());
  ASSERT_FALSE(parts.list_windows.empty());
  HWND missed = parts.list_windows[0];
  EXPECT_EQ(GetFocus(), missed);  // the keys go to the list at once
  SendMessageW(missed, WM_KEYDOWN, VK_F2, 0);
  SendMessageW(missed, LB_SETCURSEL, 2, 0);
  SendMessageW(missed, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(spoken_, (std::vector<std::string>{"enormous", "refrain"}));
  SendMessageW(missed, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(ProgressWindowTest, OverARoundHoldsTheProgramUntilClosed) {
  HWND game = CreateWindowExW(0, L"STATIC", L"game", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, nullptr, nullptr);
  bool closed = false;
  show_(SamplePage(), [&closed] { closed = true; });
  EXPECT_FALSE(IsWindowEnabled(game));
  SendMessageW(Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(game));
  EXPECT_TRUE(closed);
  EXPECT_EQ(delivered_, 1);
  EXPECT_FALSE(IsWindowVisible(Window()));
  DestroyWindow(game);
}

TEST_F(ProgressWindowTest, AnEmptyJournalShowsItsHintAlone) {
  const progresspage::Page page =
      progresspage::Describe(progress::Overview{}, progresspage::Facts{});
  show_(page, nullptr);
  const Parts parts = ReadParts(Window());
  EXPECT_EQ(parts.texts, std::vector<std::string>{page.empty_hint});
  EXPECT_TRUE(parts.lists.empty());
}

}  // namespace
