// The screen saver on a real X display: reached with real clicks from a running match game,
// keys pressed with no button in focus, left to run, and photographed twice a few seconds
// apart.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "kit/kit.h"
#include "screensaver/screensaver_window.h"

namespace {

using shell::Mode;

// A program folder of its own: a small own book and twenty coloured pictures.
void WriteProgramFolder(const kit::TempDir& dir) {
  std::vector<kit::Record> book;
  for (int i = 1; i <= 18; ++i) book.emplace_back(kit::Numbered("word", i), kit::Numbered("词", i));
  kit::WriteOwnBook(dir.Path(), book);
  e2e::WritePictures(dir.Path());
}

struct Place {
  int left, top;
  bool operator==(const Place&) const = default;
};

std::vector<Place> Places(const kit::Controls& form) {
  std::vector<Place> places;
  for (int i = 0; i < screensaver::kCaptionCount; ++i)
    places.push_back({form.Caption(i).Left(), form.Caption(i).Top()});
  return places;
}

TEST(ScreenSaverOnScreen, TheCaptionsWanderOverThePictureAfterSwitchingFromAMatchGame) {
  kit::TempDir dir;
  WriteProgramFolder(dir);
  e2e::Driver driver(dir.Path());
  ASSERT_TRUE(driver.Start());

  // A book and a group, so that the match game plays and shows its mode buttons.
  ASSERT_TRUE(driver.ClickRow("match_window", "book_list", 0));
  ASSERT_TRUE(driver.Click("match_window", "choose_book_button"));
  ASSERT_TRUE(driver.ClickRow("match_window", "group_list", 1));
  ASSERT_TRUE(driver.Click("match_window", "choose_group_button"));
  ASSERT_TRUE(driver.Click("match_window", "mode_buttons_3"));

  const std::optional<kit::Controls> form = driver.Model(Mode::ScreenSaver);
  ASSERT_TRUE(form);
  ASSERT_TRUE(driver.WaitUntil([&] {
    QWidget* w = driver.Window("screensaver_window");
    return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
  }));
  EXPECT_FALSE(driver.Window("match_window")->isVisible());
  EXPECT_EQ(driver.Window("screensaver_window")->windowTitle(), "Kestrin之屏幕保护V3.6");

  // No mode button holds the focus: keys change nothing until Tab moves onto the buttons.
  QWidget* saver = driver.Window("screensaver_window");
  const auto focused_button = [saver] {
    QWidget* w = saver->focusWidget();
    return w && w != saver ? w->objectName().toStdString() : std::string();
  };
  EXPECT_EQ(focused_button(), "");
  ASSERT_TRUE(driver.Key("Return space Down Up Left Right 1"));
  EXPECT_TRUE(driver.OnScreen("screensaver_window"));
  EXPECT_FALSE(driver.Window("match_window")->isVisible());
  EXPECT_FALSE(driver.Model(Mode::Quiz));
  ASSERT_TRUE(driver.Key("Tab"));
  EXPECT_EQ(focused_button(), "mode_buttons_0");

  driver.Settle(600);
  const std::vector<Place> first = Places(*form);
  const std::filesystem::path shot1 = driver.Screenshot("screensaver_window", "screensaver-1");
  driver.Settle(3000);
  const std::vector<Place> second = Places(*form);
  const std::filesystem::path shot2 = driver.Screenshot("screensaver_window", "screensaver-2");
  ASSERT_FALSE(shot1.empty());
  ASSERT_FALSE(shot2.empty());

  // Some fifteen ticks passed: the first caption left the top edge it starts on, the labels
  // moved and the screen shows it.
  EXPECT_TRUE(form->Clock().Enabled());
  EXPECT_GE(form->Caption(0).Top(), 120);
  EXPECT_NE(first, second);
  const QImage a(QString::fromStdString(shot1.string()));
  const QImage b(QString::fromStdString(shot2.string()));
  ASSERT_EQ(a.size(), b.size());
  EXPECT_NE(a, b);
  for (const Place& p : second) {
    EXPECT_GT(p.left, 0);
    EXPECT_GT(p.top, 0);
  }
  EXPECT_TRUE(driver.Messages().empty());
}

}  // namespace
