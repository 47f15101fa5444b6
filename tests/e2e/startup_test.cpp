// The real `vantle` executable as its own process on the X display: its window is found by
// title, a book is chosen with real mouse events, and screenshots are saved.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <filesystem>

#include "e2e/driver.h"
#include "kit/kit.h"

namespace {

// Polls `done` every 100 ms until it holds or `timeout_ms` passes.
bool PollUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeout_ms) return false;
    QThread::msleep(100);
  }
  return true;
}

// The first shown window whose title matches the pattern, or empty.
QString FindWindow(const QString& title_pattern) {
  QString ids;
  if (e2e::Run({"xdotool", "search", "--onlyvisible", "--name", title_pattern}, 5000, &ids) != 0)
    return {};
  return ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
}

struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;
};

WindowPlace PlaceOf(const QString& id) {
  QString shell;
  WindowPlace place;
  if (e2e::Run({"xdotool", "getwindowgeometry", "--shell", id}, 5000, &shell) != 0) return place;
  for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QString key = line.section(QLatin1Char('='), 0, 0);
    const int value = line.section(QLatin1Char('='), 1).toInt();
    if (key == "X") place.x = value;
    if (key == "Y") place.y = value;
    if (key == "WIDTH") place.width = value;
    if (key == "HEIGHT") place.height = value;
  }
  return place;
}

bool ClickAt(const WindowPlace& window, int x, int y) {
  return e2e::Run({"xdotool", "mousemove", QString::number(window.x + x),
                   QString::number(window.y + y), "click", "1"}) == 0;
}

QImage Shoot(const QString& id, const std::string& name) {
  const std::filesystem::path path = e2e::ScreenshotDir() / (name + ".png");
  const QString file = QString::fromStdString(path.string());
  if (e2e::Run({"import", "-window", id, file}, 20000) != 0) return {};
  return QImage(file);
}

// The share of pixels that differ between two shots inside a rectangle.
double Changed(const QImage& a, const QImage& b, const QRect& area) {
  int changed = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) changed += a.pixel(x, y) != b.pixel(x, y);
  return static_cast<double>(changed) / (area.width() * area.height());
}

// Whether some pixel inside the rectangle is dark, as text is.
bool HasText(const QImage& shot, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(shot.pixel(x, y)) < 100) return true;
  return false;
}

// The program is stopped whatever happens in the test.
struct Stopper {
  QProcess& process;
  ~Stopper() {
    if (process.state() == QProcess::NotRunning) return;
    process.kill();
    process.waitForFinished(5000);
  }
};

TEST(StartupTest, TheRealProgramOpensItsMatchWindowAndTakesABookChosenWithTheMouse) {
  // The own book comes with the build; a minimal one stands in when it is not there yet.
  const std::filesystem::path own_book = e2e::ProgramDir() / "《My词库》.txt";
  if (!std::filesystem::exists(own_book))
    kit::WriteFile(own_book, kit::GbkLines({"apple", "苹果", "book", "书", "cat", "猫"}));

  QProcess program;
  program.setProgram(QStringLiteral(VANTLE_PROGRAM));
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start();
  Stopper stopper{program};
  ASSERT_TRUE(program.waitForStarted(10000));

  QString id;
  ASSERT_TRUE(
      PollUntil([&] { return !(id = FindWindow("^Kestrin之连连看V3\\.6$")).isEmpty(); }, 20000))
      << "no window titled Kestrin之连连看V3.6";
  WindowPlace place;
  ASSERT_TRUE(PollUntil([&] { return (place = PlaceOf(id)).width > 0; }, 5000));
  EXPECT_EQ(place.width, 800);
  EXPECT_EQ(place.height, 570);
  QThread::msleep(300);  // let the first paint reach the screen
  const QImage before = Shoot(id, "startup-book-choice");
  ASSERT_FALSE(before.isNull());

  // List1 stands at 293,100 (227 x 267 pixels); its first row is "《My词库》". "选书" is
  // Command3 at 367,400 (65 x 25).
  ASSERT_TRUE(ClickAt(place, 293 + 40, 100 + 9));
  ASSERT_TRUE(ClickAt(place, 367 + 32, 400 + 12));

  // A good load replaces the book list by the group list (List2 at 360,147) with "0" in its
  // first row; a failed one shows a message and ends the program.
  QImage after;
  const QRect book_list_only(300, 110, 50, 250);  // List1 without the place of List2
  const QRect first_group_row(362, 149, 20, 16);
  const bool changed = PollUntil(
      [&] {
        after = Shoot(id, "startup-group-choice");
        return !after.isNull() && Changed(before, after, book_list_only) > 0.5 &&
               HasText(after, first_group_row);
      },
      10000);
  EXPECT_TRUE(changed) << "no group list where the book list was";
  QThread::msleep(500);
  EXPECT_TRUE(FindWindow("^Vantle$").isEmpty()) << "a message box appeared";
  EXPECT_EQ(program.state(), QProcess::Running);
}

}  // namespace
