// The real `vantle` executable as its own process on the X display: its window is found by
// title, a book is chosen with real mouse events, and screenshots are saved. The same is done
// with the program installed into a scratch prefix, unpacked from the Debian package and from
// the portable archive, each started from a folder of its own.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
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

bool ClickAt(const WindowPlace& window, int x, int y, int clicks = 1) {
  return e2e::Run({"xdotool", "mousemove", QString::number(window.x + x),
                   QString::number(window.y + y), "click", "--repeat", QString::number(clicks),
                   "1"}) == 0;
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

namespace fs = std::filesystem;

// The real program as a process of its own, stopped whatever happens in the test.
class RunningProgram {
 public:
  // Starts `program` in `working_dir` (empty: this process's), with XDG_DATA_HOME set to
  // `data_home` when that is given.
  explicit RunningProgram(const fs::path& program, const fs::path& working_dir = {},
                          const fs::path& data_home = {}) {
    process_.setProgram(QString::fromStdString(program.string()));
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    if (!working_dir.empty()) process_.setWorkingDirectory(QString::fromStdString(working_dir));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!data_home.empty()) env.insert("XDG_DATA_HOME", QString::fromStdString(data_home));
    process_.setProcessEnvironment(env);
  }
  ~RunningProgram() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(5000);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Starts the program and waits until its match window is on screen.
  ::testing::AssertionResult Start() {
    process_.start();
    if (!process_.waitForStarted(10000)) return ::testing::AssertionFailure() << "no start";
    if (!PollUntil([&] { return !(id_ = FindWindow("^Kestrin之连连看V3\\.6$")).isEmpty(); }, 20000))
      return ::testing::AssertionFailure() << "no window titled Kestrin之连连看V3.6";
    if (!PollUntil([&] { return (place_ = PlaceOf(id_)).width > 0; }, 5000))
      return ::testing::AssertionFailure() << "the window has no place";
    QThread::msleep(300);  // let the first paint reach the screen
    return ::testing::AssertionSuccess();
  }

  const WindowPlace& Place() const { return place_; }
  bool Click(int x, int y, int clicks = 1) { return ClickAt(place_, x, y, clicks); }
  QImage Shoot(const std::string& name) const { return ::Shoot(id_, name); }
  bool Running() const { return process_.state() == QProcess::Running; }

  // Chooses the book in `row` of the book list with the mouse and presses "选书". The book
  // list stands at 293,100 (227 x 267 pixels), its rows 18 pixels high; "选书" is at 367,400
  // (65 x 25). Clicks the first row of the book list, walks down to `row` by keys, so that the
  // height of a row in whatever font the machine has does not matter, and presses "选书".
  bool ChooseBook(int row) {
    if (!Click(293 + 40, 100 + 6)) return false;
    for (int i = 0; i < row; ++i)
      if (e2e::Run({"xdotool", "key", "Down"}) != 0) return false;
    return Click(367 + 32, 400 + 12);
  }

  // Whether the group list (at 360,147), "0" in its first row, took the book list's place
  // since `before` was shot.
  bool ShowsGroupList(const QImage& before, const std::string& name) {
    const QRect book_list_only(300, 110, 50, 250);  // the book list but for the group list's place
    const QRect first_group_row(362, 149, 20, 16);
    return PollUntil(
        [&] {
          const QImage after = Shoot(name);
          return !after.isNull() && Changed(before, after, book_list_only) > 0.5 &&
                 HasText(after, first_group_row);
        },
        10000);
  }

 private:
  QProcess process_;
  QString id_;
  WindowPlace place_;
};

TEST(StartupTest, TheRealProgramOpensItsMatchWindowAndTakesABookChosenWithTheMouse) {
  // The own book comes with the build; a minimal one stands in when it is not there yet.
  const fs::path own_book = e2e::ProgramDir() / "《My词库》.txt";
  if (!fs::exists(own_book))
    kit::WriteFile(own_book, kit::GbkLines({"apple", "苹果", "book", "书", "cat", "猫"}));

  RunningProgram program(VANTLE_PROGRAM);
  ASSERT_TRUE(program.Start());
  EXPECT_EQ(program.Place().width, 800);
  EXPECT_EQ(program.Place().height, 570);
  const QImage before = program.Shoot("startup-book-choice");
  ASSERT_FALSE(before.isNull());

  // A good load replaces the book list by the group list; a failed one shows a message and
  // ends the program.
  ASSERT_TRUE(program.ChooseBook(0));
  EXPECT_TRUE(program.ShowsGroupList(before, "startup-group-choice"))
      << "no group list where the book list was";
  // No message box holds the window: a double click on group 0 reaches the list and deals.
  ASSERT_TRUE(program.Click(362 + 10, 149 + 8, 2));
  EXPECT_TRUE(
      PollUntil([] { return !FindWindow("^Kestrin之连连看V3\\.6 - .* - 0$").isEmpty(); }, 10000))
      << "group 0 was not dealt";
  EXPECT_TRUE(FindWindow("^Vantle$").isEmpty()) << "a message box appeared";
  EXPECT_TRUE(program.Running());
}

// A program laid out as installed: <root>/bin/vantle, a link into the program folder.
// Started from another folder, it finds its books beside itself: the second row, a catalogue
// book, loads, and a double-click on group 0 names that book in the title. An own book of the
// user's, damaged here, is read instead of the sample beside the program: its message shows.
void LoadsBooksFromAnyFolder(const fs::path& root, const std::string& name) {
  kit::TempDir elsewhere, data_home;
  {
    RunningProgram program(root / "bin/vantle", elsewhere.Path(), data_home.Path());
    ASSERT_TRUE(program.Start());
    const QImage before = program.Shoot(name + "-book-choice");
    ASSERT_TRUE(program.ChooseBook(1));
    ASSERT_TRUE(program.ShowsGroupList(before, name + "-group-choice"));
    ASSERT_TRUE(program.Click(362 + 10, 149 + 8, 2));
    EXPECT_TRUE(PollUntil(
        [] { return !FindWindow("《小学英语》\\(第一册\\)\\(91\\) - 0$").isEmpty(); }, 10000))
        << "the title does not name the catalogue book";
    EXPECT_TRUE(program.Running());
  }
  kit::WriteFile(data_home.Path() / "vantle/《My词库》.txt", kit::GbkLines({"a", "一", "b"}));
  RunningProgram program(root / "bin/vantle", elsewhere.Path(), data_home.Path());
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.ChooseBook(0));
  EXPECT_TRUE(PollUntil([] { return !FindWindow("^Vantle$").isEmpty(); }, 10000))
      << "the user's damaged own book was not read";
}

TEST(InstalledTest, InstallIntoAPrefixGivesAProgramThatRunsFromAnyFolder) {
  kit::TempDir prefix;
  ASSERT_EQ(e2e::Run({"cmake", "--install", VANTLE_BUILD_DIR, "--prefix",
                      QString::fromStdString(prefix.Str())},
                     300000),
            0);
  // What it holds is checked in the Debian package, made by the same rules.
  EXPECT_EQ(
      QImage(
          QString::fromStdString(
              (prefix.Path() / "share/icons/hicolor/128x128/apps/org.vantle.Vantle.png").string()))
          .size(),
      QSize(128, 128));

  QString out;
  EXPECT_EQ(
      e2e::Run({QString::fromStdString(prefix.Str() + "/bin/vantle-book"), "where"}, 10000, &out),
      0);
  EXPECT_TRUE(
      out.contains("program folder: " + QString::fromStdString(prefix.Str()) + "/lib/vantle\n"))
      << out.toStdString();
  LoadsBooksFromAnyFolder(prefix.Path(), "installed");
}

TEST(InstalledTest, HelpAndVersionPrintAndEndAndAnUnknownOptionIsBadUsage) {
  struct Row {
    const char* option;
    int status;
    const char* says;  // on standard output; empty for none
  } rows[] = {
      {"--help", 0, "--version"}, {"-h", 0, "Usage: "}, {"--version", 0, "Vantle 3.06\n"},
      {"--frobnicate", 2, ""},    {"surplus", 2, ""},
  };
  for (const Row& r : rows) {
    QString out;
    EXPECT_EQ(e2e::Run({VANTLE_PROGRAM, r.option}, 20000, &out), r.status) << r.option;
    if (*r.says)
      EXPECT_TRUE(out.contains(r.says)) << r.option << ": " << out.toStdString();
    else
      EXPECT_TRUE(out.isEmpty()) << r.option << ": the usage goes to standard error";
  }
  EXPECT_TRUE(FindWindow("^Kestrin").isEmpty()) << "no window was opened";
}

// Needs the packages built (the package target; ctest runs it first).
TEST(PackageTest, TheDebianPackageAndThePortableArchiveRunUnpacked) {
  struct Row {
    const char* name;
    QStringList unpack;  // the folder to unpack into follows
    const char* root;    // below that folder
  } rows[] = {
      {"deb", {"dpkg", "-x", VANTLE_DEB}, "usr"},
      {"tgz", {"tar", "-xzf", VANTLE_TGZ, "-C"}, VANTLE_TGZ_TOP},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    kit::TempDir scratch;
    ASSERT_EQ(e2e::Run(r.unpack + QStringList{QString::fromStdString(scratch.Str())}, 120000), 0);
    LoadsBooksFromAnyFolder(scratch.Path() / r.root, std::string("unpacked-") + r.name);
  }
}

}  // namespace
