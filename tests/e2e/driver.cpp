#include "e2e/driver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "e2e/extra_keys.h"
#include "qt/progress/progress_window.h"

namespace e2e {

namespace {

// One QApplication for the whole run, on the X display.
class XEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
      GTEST_FAIL() << "no X display: run the end-to-end tests under xvfb-run";
    qputenv("QT_QPA_PLATFORM", "xcb");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[17] = "vantle_e2e_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new XEnvironment);

QString Str(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace

// Counts the input events that reach the program's windows, so that the driver knows when
// the input it sent has arrived.
class InputCounter : public QObject {
 public:
  int mouse_releases = 0;
  int key_presses = 0;
  int key_releases = 0;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (receiver->isWindowType()) {
      if (event->type() == QEvent::MouseButtonRelease) ++mouse_releases;
      if (event->type() == QEvent::KeyPress) ++key_presses;
      if (event->type() == QEvent::KeyRelease) ++key_releases;
    }
    return false;
  }
};

std::filesystem::path BuildDir() {
  return VANTLE_BUILD_DIR;
}
std::filesystem::path ProgramDir() {
  return BuildDir() / "bin";
}

std::filesystem::path ScreenshotDir() {
  std::filesystem::path dir = BuildDir() / "screenshots";
  std::filesystem::create_directories(dir);
  return dir;
}

void WritePictures(const std::filesystem::path& program_dir) {
  std::filesystem::create_directories(program_dir / "Pic");
  for (int n = 0; n < 20; ++n) {
    QImage image(800, 570, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 800, 570);
    gradient.setColorAt(0, QColor::fromHsv(n * 18, 60, 250));
    gradient.setColorAt(1, QColor::fromHsv((n * 18 + 120) % 360, 120, 190));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    const std::string path = (program_dir / "Pic" / (std::to_string(n) + ".jpg")).string();
    ASSERT_TRUE(image.save(QString::fromStdString(path), "JPG"));
  }
}

int Run(const QStringList& command, int timeout_ms, QString* output) {
  if (command.isEmpty()) return -1;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(command.front(), command.mid(1));
  if (!process.waitForStarted(timeout_ms)) return -1;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished(1000);
    return -1;
  }
  if (output) *output = QString::fromUtf8(process.readAllStandardOutput());
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

Driver::Driver(std::filesystem::path program_dir, std::unique_ptr<ui::Random> random)
    : random_(random ? std::move(random) : std::make_unique<ui::ClockRandom>()),
      counter_(std::make_unique<InputCounter>()) {
  platform_.SetProgramDirectory(program_dir.string());
  platform_.SetUserDataDirectory({});  // the tester's own book stays out of the tests
  platform_.on_message_shown = [this](QMessageBox& box) { OnMessage(box); };
  program_ = std::make_unique<program::Program>(platform_, *random_,
                                                qtprogress::ProgressWindowShower(platform_));
  qApp->installEventFilter(counter_.get());
}

Driver::~Driver() {
  qApp->removeEventFilter(counter_.get());
  platform_.DestroyWidgets();
  program_.reset();
  if (platform_.Ended()) qtbind::QtPlatform::RearmEventLoops();
}

bool Driver::Start() {
  platform_.Deliver([this] { program_->Start(); });
  const bool shown = WaitUntil([this] { return OnScreen("match_window"); });
  EXPECT_TRUE(shown) << "the match window did not appear";
  Settle();
  return shown;
}

QWidget* Driver::Window(const std::string& window) const {
  return platform_.WindowWidget(window);
}

QWidget* Driver::Widget(const std::string& window, const std::string& control) const {
  QWidget* form = Window(window);
  return form ? form->findChild<QWidget*>(QString::fromStdString(control)) : nullptr;
}

bool Driver::OnScreen(const std::string& window, const std::string& control) const {
  QWidget* w = control.empty() ? Window(window) : Widget(window, control);
  return w && w->isVisible() && w->window()->windowHandle() &&
         w->window()->windowHandle()->isExposed();
}

bool Driver::WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

void Driver::Settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool Driver::WaitForInput(int mouse_releases, int key_presses, int timeout_ms) {
  const bool arrived = WaitUntil(
      [&] {
        return counter_->mouse_releases >= mouse_releases && counter_->key_presses >= key_presses;
      },
      timeout_ms);
  EXPECT_TRUE(arrived) << "the input did not reach the program";
  // Key releases may still be on their way (a button clicks on the release of Space).
  WaitUntil([this] { return counter_->key_releases >= counter_->key_presses; }, 1000);
  Settle(30);
  return arrived;
}

bool Driver::ClickAt(QPoint global, int clicks, int button) {
  const int expected = counter_->mouse_releases + clicks;
  // The X server handles the move before the click; no --sync, which waits for ever when
  // the pointer already stands there.
  const int status =
      Run({"xdotool", "mousemove", QString::number(global.x()), QString::number(global.y()),
           "click", "--repeat", QString::number(clicks), QString::number(button)});
  EXPECT_EQ(status, 0) << "xdotool could not click at " << global.x() << "," << global.y();
  return status == 0 && WaitForInput(expected, 0);
}

bool Driver::Click(const std::string& window, const std::string& control, int clicks, int button) {
  QWidget* w = Widget(window, control);
  if (!w || !w->isVisible()) {
    ADD_FAILURE() << window << "." << control << " is not on screen";
    return false;
  }
  return ClickAt(w->mapToGlobal(w->rect().center()), clicks, button);
}

bool Driver::ClickRow(const std::string& window, const std::string& list, int row, int clicks) {
  auto* w = dynamic_cast<QListWidget*>(Widget(window, list));
  if (!w || !w->isVisible() || row < 0 || row >= w->count()) {
    ADD_FAILURE() << window << "." << list << " has no row " << row << " on screen";
    return false;
  }
  w->scrollToItem(w->item(row));
  Settle(30);
  const QRect rect = w->visualItemRect(w->item(row));
  return ClickAt(w->viewport()->mapToGlobal(rect.center()), clicks);
}

void Driver::FocusActiveWindow() {
  // The open message box, or else the shown window (the program shows one at a time).
  QWidget* target = QApplication::activeModalWidget();
  if (!target) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowType() == Qt::Window) target = w;
  }
  if (!target || QApplication::activeWindow() == target) return;
  Run({"xdotool", "windowfocus", "--sync", QString::number(target->winId())});
  WaitUntil([target] { return QApplication::activeWindow() == target; }, 2000);
}

bool Driver::Key(const std::string& keys) {
  FocusActiveWindow();
  const QStringList chords = Str(keys).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  int presses = 0;
  for (const QString& chord : chords)
    presses += static_cast<int>(chord.count(QLatin1Char('+'))) + 1;
  const int expected = counter_->key_presses + presses;
  const int status = Run(QStringList{"xdotool", "key", "--delay", "30"} + chords);
  EXPECT_EQ(status, 0) << "xdotool could not press " << keys;
  return status == 0 && WaitForInput(0, expected);
}

bool Driver::Type(const std::string& text) {
  FocusActiveWindow();
  const std::u32string characters = Str(text).toStdU32String();
  ExtraKeys keys(characters);
  EXPECT_TRUE(keys.Ok()) << "no keys to type " << text << " with";
  if (keys.Changed()) Settle(300);  // the program takes up the new keyboard map
  const int expected = counter_->key_presses + static_cast<int>(characters.size());
  const int status = Run({"xdotool", "type", "--delay", "40", Str(text)}, 30000);
  EXPECT_EQ(status, 0) << "xdotool could not type " << text;
  return status == 0 && WaitForInput(0, expected);
}

void Driver::OnMessage(QMessageBox& box) {
  messages_.push_back(box.text().toStdString());
  if (expected_messages_ == 0) {
    ADD_FAILURE() << "unexpected message: " << messages_.back();
    box.done(0);
    return;
  }
  --expected_messages_;
  // Should the key never arrive, the box must not keep the test waiting for ever.
  QTimer::singleShot(10000, &box, [&box] {
    ADD_FAILURE() << "the message box was not answered: " << box.text().toStdString();
    box.done(0);
  });
  const bool active = WaitUntil(
      [&box] { return box.isVisible() && box.windowHandle() && box.windowHandle()->isExposed(); });
  EXPECT_TRUE(active) << "the message box did not appear";
  if (!box.isActiveWindow()) {
    Run({"xdotool", "windowfocus", "--sync", QString::number(box.winId())});
    WaitUntil([&box] { return box.isActiveWindow(); }, 2000);
  }
  // The key press reaches the box through its own modal loop once this returns.
  EXPECT_EQ(Run({"xdotool", "key", "Return"}), 0);
}

std::filesystem::path Driver::Screenshot(const std::string& window, const std::string& name) {
  QWidget* form = Window(window);
  if (!form || !form->isVisible()) {
    ADD_FAILURE() << window << " is not on screen";
    return {};
  }
  Settle(50);
  const QPixmap shot = form->screen()->grabWindow(form->winId());
  const std::filesystem::path path = ScreenshotDir() / (name + ".png");
  if (shot.isNull() || !shot.save(QString::fromStdString(path.string()), "PNG")) {
    ADD_FAILURE() << "could not save " << path;
    return {};
  }
  return path;
}

}  // namespace e2e
