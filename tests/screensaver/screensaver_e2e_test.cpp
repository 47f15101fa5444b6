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
#include "screensaver/form4.h"

namespace {

using shell::Mode;

// A program folder of its own: a small own book and twenty coloured pictures.
void WriteProgramFolder(const kit::TempDir& dir) {
  std::vector<kit::Record> book;
  for (int i = 1; i <= 18; ++i)
    book.emplace_back("word" + std::to_string(i), "词" + std::to_string(i));
  kit::WriteOwnBook(dir.Path(), book);
  e2e::WritePictures(dir.Path());
}

struct Place {
  int left, top;
  bool operator==(const Place&) const = default;
};

std::vector<Place> Places(const screensaver::Form4& form) {
  return {{form.Label1.Left(), form.Label1.Top()},
          {form.Label2.Left(), form.Label2.Top()},
          {form.Label3.Left(), form.Label3.Top()}};
}

TEST(ScreenSaverOnScreen, TheCaptionsWanderOverThePictureAfterSwitchingFromAMatchGame) {
  kit::TempDir dir;
  WriteProgramFolder(dir);
  e2e::Driver driver(dir.Path());
  ASSERT_TRUE(driver.Start());

  // A book and a group, so that the match game plays and shows its mode buttons.
  ASSERT_TRUE(driver.ClickRow("Form1", "List1", 0));
  ASSERT_TRUE(driver.Click("Form1", "Command3"));
  ASSERT_TRUE(driver.ClickRow("Form1", "List2", 1));
  ASSERT_TRUE(driver.Click("Form1", "Command2"));
  ASSERT_TRUE(driver.Click("Form1", "Command2_4"));

  auto* form = driver.Model<screensaver::Form4>(Mode::ScreenSaver);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(driver.WaitUntil([&] {
    QWidget* w = driver.Window("Form4");
    return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
  }));
  EXPECT_FALSE(driver.Window("Form1")->isVisible());
  EXPECT_EQ(driver.Window("Form4")->windowTitle(), "Kestrin之屏幕保护V3.6");

  // No mode button holds the focus: keys change nothing until Tab moves onto the buttons.
  QWidget* saver = driver.Window("Form4");
  const auto focused_button = [saver] {
    QWidget* w = saver->focusWidget();
    return w && w != saver ? w->objectName().toStdString() : std::string();
  };
  EXPECT_EQ(focused_button(), "");
  ASSERT_TRUE(driver.Key("Return space Down Up Left Right 1"));
  EXPECT_TRUE(driver.OnScreen("Form4"));
  EXPECT_FALSE(driver.Window("Form1")->isVisible());
  EXPECT_EQ(driver.Model<shell::ModeWindow>(Mode::Quiz), nullptr);
  ASSERT_TRUE(driver.Key("Tab"));
  EXPECT_EQ(focused_button(), "Command2_1");

  driver.Settle(600);
  const std::vector<Place> first = Places(*form);
  const std::filesystem::path shot1 = driver.Screenshot("Form4", "screensaver-1");
  driver.Settle(3000);
  const std::vector<Place> second = Places(*form);
  const std::filesystem::path shot2 = driver.Screenshot("Form4", "screensaver-2");
  ASSERT_FALSE(shot1.empty());
  ASSERT_FALSE(shot2.empty());

  // Some fifteen ticks passed: the labels moved and the screen shows it.
  EXPECT_GE(form->TickCount, 10);
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
