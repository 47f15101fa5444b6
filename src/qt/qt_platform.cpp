#include "qt/qt_platform.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <chrono>

#include "qt/accessibility.h"
#include "qt/convert.h"
#include "qt/faces.h"
#include "qt/settings.h"
#include "qt/speech.h"
#include "qt/window_binding.h"

namespace qtbind {

QtPlatform::QtPlatform()
    : speech_(std::make_unique<Speech>()),
      dispatcher_({[this](const std::string& message) { ShowMessage(message); },
                   [this] { OnEndProgram(); },
                   [this](bool to_next) {
                     for (const auto& w : windows_) w->SettleFocus(to_next);
                   }}) {
  // Hiding the window being left is part of every mode switch; only the program's end quits.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  UseFacesForApplication();
  InstallAccessibility();
}

QtPlatform::~QtPlatform() {
  // The model windows may be gone already (DestroyWidgets is the orderly way).
  dispatcher_.Close();
  windows_.clear();
}

void QtPlatform::DestroyWidgets() {
  dispatcher_.Close();
  for (const auto& w : windows_) w->Detach();
  windows_.clear();
}

void QtPlatform::ShowMessage(const std::string& text) {
  // Whatever the handler changed so far is on screen before the box opens.
  QWidget* parent = nullptr;
  for (const auto& w : windows_) {
    if (w->Form() && w->Form()->isVisible()) {
      w->Form()->repaint();
      parent = w->Form();
    }
  }
  QMessageBox box(parent);
  box.setWindowTitle(QStringLiteral("Vantle"));
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  box.setText(ToShownText(text));
  box.setStandardButtons(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  // The one button also answers Escape; Enter and Space press it.
  box.setEscapeButton(QMessageBox::Ok);
  QAbstractButton* ok = box.button(QMessageBox::Ok);
  ok->setText(QStringLiteral("确定"));
  ok->setIcon(QIcon());
  box.setWindowModality(Qt::ApplicationModal);
  if (on_message_shown) QTimer::singleShot(0, &box, [this, &box] { on_message_shown(box); });
  box.exec();
  // The keys go back to the window the message stood over.
  if (parent && parent->isVisible()) parent->activateWindow();
  dispatcher_.MessageAnswered();
}

void QtPlatform::Beep() {
  QApplication::beep();
}

void QtPlatform::Speak(const std::string& text, ui::Language language) {
  speech_->Say(ToShownText(text), language);
}

bool QtPlatform::AutoSpeak() {
  return speech_->AutoSpeak();
}

namespace {
constexpr char kRecordKey[] = "progress/record";
}  // namespace

bool QtPlatform::RecordsProgress() {
  if (!records_progress_) {
    if (!settings_) settings_ = OpenSettings(settings_file_);
    records_progress_ = settings_->value(QLatin1String(kRecordKey), true).toBool();
  }
  return *records_progress_;
}

void QtPlatform::SetRecordsProgress(bool on) {
  if (RecordsProgress() == on) return;
  records_progress_ = on;
  settings_->setValue(QLatin1String(kRecordKey), on);
  settings_->sync();
}

std::shared_ptr<const ui::Picture> QtPlatform::LoadPicture(const std::string& path) {
  QImage image;
  if (!image.load(QString::fromStdString(path))) return nullptr;
  QPixmap pixmap = QPixmap::fromImage(image);
  if (pixmap.isNull()) return nullptr;
  return std::make_shared<QtPicture>(std::move(pixmap));
}

std::string QtPlatform::ProgramDirectory() {
  if (program_directory_) return *program_directory_;
  return QCoreApplication::applicationDirPath().toStdString();
}

std::string QtPlatform::UserDataDirectory() {
  return user_data_directory_;
}

std::uint64_t QtPlatform::ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

ui::Size QtPlatform::ScreenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect area = screen->availableGeometry();
  return {area.width() * kTwipsPerPixel, area.height() * kTwipsPerPixel};
}

void QtPlatform::Attach(ui::Window& window) {
  windows_.push_back(std::make_unique<WindowBinding>(*this, window));
}

ui::Size QtPlatform::MeasureText(const std::string& text, const ui::Font& font) {
  const QFontMetrics metrics(ToQFont(font));
  const QSize size = metrics.size(0, ToShownText(text));
  // A pixel on every side, so that overhanging glyphs are not cut.
  return {(size.width() + 2) * kTwipsPerPixel, (size.height() + 2) * kTwipsPerPixel};
}

void QtPlatform::Deliver(const std::function<void()>& event) {
  dispatcher_.Deliver(event);
}

void QtPlatform::DeliverTick(const std::function<void()>& tick) {
  dispatcher_.DeliverTick(tick);
}

void QtPlatform::OnEndProgram() {
  dispatcher_.MarkEnded();
  for (const auto& w : windows_) w->Shut();
  QCoreApplication::exit(ExitCode());
}

void QtPlatform::RearmEventLoops() {
  QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

WindowBinding* QtPlatform::Find(std::string_view window) const {
  for (const auto& w : windows_)
    if (w->Model().Name() == window) return w.get();
  return nullptr;
}

QWidget* QtPlatform::WindowWidget(std::string_view window) const {
  WindowBinding* w = Find(window);
  return w ? w->Form() : nullptr;
}

}  // namespace qtbind
