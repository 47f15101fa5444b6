// The Win32 binding against real windows (under wine in CI): a model window is mirrored into
// a top-level window and child controls, and what the user does reaches the model only
// through the dispatcher.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "ui/window.h"
#include "win32/convert.h"
#include "win32/settings.h"
#include "win32/win32_platform.h"
#include "win32/window_binding.h"
#include "win32/window_menu.h"

namespace {

std::wstring TextOf(HWND handle) {
  wchar_t text[256] = {};
  GetWindowTextW(handle, text, 256);
  return text;
}

TEST(Win32Convert, TwipsBecomePixelsAtTheWindowsDpi) {
  struct Row {
    int twips, dpi, pixels;
  };
  for (const Row row : {Row{1500, 96, 100}, Row{1500, 144, 150}, Row{1500, 120, 125}, Row{7, 96, 0},
                        Row{8, 96, 1}, Row{0, 144, 0}}) {
    EXPECT_EQ(win32::ToPixels(row.twips, row.dpi), row.pixels) << row.twips << "@" << row.dpi;
  }
  EXPECT_EQ(win32::ToTwips(150, 144), 1500);
}

TEST(Win32Convert, EveryLineEndBecomesCrLf) {
  struct Row {
    const char* model;
    const wchar_t* shown;
  };
  for (const Row row : {Row{"a\nb", L"a\r\nb"}, Row{"a\r\nb", L"a\r\nb"}, Row{"a\rb", L"a\r\nb"},
                        Row{"词库\n\n", L"词库\r\n\r\n"}}) {
    EXPECT_EQ(win32::ShownText(row.model), row.shown) << row.model;
  }
}

TEST(Win32Menu, ShortcutsMatchTheirKeyAndModifiersOnly) {
  struct Row {
    const char* key;
    UINT virtual_key;
    bool ctrl, shift;
    bool matches;
  };
  for (const Row row :
       {Row{"F3", VK_F3, false, false, true}, Row{"F3", VK_F3, true, false, false},
        Row{"F3", VK_F4, false, false, false}, Row{"F12", VK_F12, false, false, true},
        Row{"Ctrl+Z", 'Z', true, false, true}, Row{"Ctrl+Z", 'Z', false, false, false},
        Row{"Ctrl+Z", 'Z', true, true, false}}) {
    EXPECT_EQ(win32::MatchesKey(row.key, row.virtual_key, row.ctrl, row.shift, false), row.matches)
        << row.key << " " << row.virtual_key;
  }
}

TEST(Win32Settings, AreWrittenOnlyWhenTheyChange) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / L"vantle-settings-test";
  std::filesystem::remove_all(folder);
  const std::string file = win32::Narrow((folder / L"vantle.ini").wstring());
  win32::Settings settings(file);
  settings.SetAutoSpeak(false);  // already so
  settings.SetRecordsProgress(true);
  EXPECT_FALSE(std::filesystem::exists(folder / L"vantle.ini"));
  settings.SetAutoSpeak(true);
  settings.SetVoice("Microsoft David");
  win32::Settings again(file);
  EXPECT_TRUE(again.AutoSpeak());
  EXPECT_TRUE(again.RecordsProgress());
  EXPECT_EQ(again.Voice(), "Microsoft David");
  std::filesystem::remove_all(folder);
}

class Win32Binding : public ::testing::Test {
 protected:
  Win32Binding() : window_("match", platform_) {
    platform_.SetMessageBox(
        [this](HWND, const std::wstring& text, const std::wstring& caption, UINT type) {
          shown_text_ = text;
          shown_caption_ = caption;
          shown_type_ = type;
        });
    window_.SetCaption("单词连连看");
    window_.Move(0, 0, 6000, 4500);
    button_.SetCaption("开始");
    button_.Move(300, 300, 1500, 600);
    label_.SetCaption("说明");
    label_.Move(200, 200, 3000, 1500);
    list_.Move(300, 1500, 2000, 1500);
    list_.SetAccessibleName("词库");
    window_.Add(label_);
    window_.Add(button_);
    window_.Add(list_);
    button_.on_click = [this] { ++clicks_; };
    platform_.Attach(window_);
    window_.Show();
    binding_ = platform_.Find("match");
  }
  ~Win32Binding() override { platform_.DestroyWindows(); }
  void SetUp() override {
    // Wine without a display (no Xvfb) makes no windows at all.
    if (!binding_ || !binding_->Handle()) GTEST_SKIP() << "no display to make windows on";
  }

  win32::Win32Platform platform_;
  ui::Window window_;
  ui::Button button_{"start"};
  ui::Label label_{"hint"};
  ui::ListBox list_{"book_list"};
  win32::WindowBinding* binding_ = nullptr;
  int clicks_ = 0;
  std::wstring shown_text_, shown_caption_;
  UINT shown_type_ = 0;
};

TEST_F(Win32Binding, MirrorsTheModelsCaptionsVisibilityAndState) {
  ASSERT_NE(binding_, nullptr);
  HWND form = binding_->Handle();
  HWND button = binding_->HandleOf(&button_);
  EXPECT_EQ(TextOf(form), L"单词连连看");
  EXPECT_EQ(TextOf(button), L"开始");
  button_.SetCaption("A & B");
  EXPECT_EQ(TextOf(button), L"A && B");  // no mnemonic
  button_.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(button));
  button_.SetEnabled(true);
  button_.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(button));
  list_.AddItem("《My词库》");
  list_.AddItem("《小学英语》");
  list_.SetListIndex(1);
  EXPECT_EQ(SendMessageW(binding_->HandleOf(&list_), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(binding_->HandleOf(&list_), LB_GETCURSEL, 0, 0), 1);
  RECT client{};
  GetClientRect(form, &client);
  const int dpi = static_cast<int>(GetDpiForWindow(form));
  EXPECT_EQ(client.right, win32::ToPixels(6000, dpi));
}

TEST_F(Win32Binding, ClicksReachTheModelOnlyOnAButtonThatActs) {
  HWND form = binding_->Handle();
  HWND button = binding_->HandleOf(&button_);
  const auto click = [&] {
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  };
  click();
  EXPECT_EQ(clicks_, 1);
  button_.SetVisible(false);
  click();
  button_.SetVisible(true);
  button_.SetEnabled(false);
  click();
  EXPECT_EQ(clicks_, 1);
}

TEST_F(Win32Binding, LabelsLieBeneathButtons) {
  HWND button = binding_->HandleOf(&button_);
  HWND label = binding_->HandleOf(&label_);
  bool label_below = false;
  for (HWND next = GetWindow(button, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
    label_below = label_below || next == label;
  EXPECT_TRUE(label_below);
  EXPECT_EQ(TextOf(label), L"说明");
}

TEST_F(Win32Binding, MessagesHaveOneButtonNoIconAndTheProgramsCaption) {
  platform_.Deliver([this] { platform_.ShowMessage("第一行\r\n第二行"); });
  EXPECT_EQ(shown_caption_, L"Vantle");
  EXPECT_EQ(shown_text_, L"第一行\r\n第二行");
  EXPECT_EQ(shown_type_ & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(shown_type_ & MB_ICONMASK, 0u);
}

TEST_F(Win32Binding, AFailureIsSaidAndEndsTheProgram) {
  platform_.Deliver([] { throw std::runtime_error("broken"); });
  EXPECT_NE(shown_text_.find(L"broken"), std::wstring::npos);
  EXPECT_TRUE(platform_.Ended());
  EXPECT_EQ(platform_.ExitCode(), 1);
  platform_.Deliver([this] { ++clicks_; });
  EXPECT_EQ(clicks_, 0);
}

}  // namespace
