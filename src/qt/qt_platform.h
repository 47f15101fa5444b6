// The platform of the real program: Qt 6 Widgets. It mirrors every attached window into
// widgets (see WindowBinding) and is the one door through which user events reach the model.
#pragma once

#include <QMessageBox>
#include <QSettings>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform.h"
#include "view/dispatcher.h"

namespace qtbind {

class Speech;
class WindowBinding;

// Needs a QApplication. It must outlive the windows attached to it.
class QtPlatform : public ui::Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  void ShowMessage(const std::string& text) override;
  void Beep() override;
  void Speak(const std::string& text, ui::Language language) override;
  bool AutoSpeak() override;
  // 记录学习进度, kept in the settings file, read on first need and written only on a change.
  bool RecordsProgress() override;
  void SetRecordsProgress(bool on) override;
  // The settings file to keep it in; by default the learner's.
  void SetSettingsFile(QString file) { settings_file_ = std::move(file); }
  std::shared_ptr<const ui::Picture> LoadPicture(const std::string& path) override;
  std::string ProgramDirectory() override;
  std::string UserDataDirectory() override;
  std::uint64_t ClockSeed() override;
  ui::Size ScreenSize() override;
  void Attach(ui::Window& window) override;
  ui::Size MeasureText(const std::string& text, const ui::Font& font) override;

  // The folder the program reads its books and pictures from; by default the folder of the
  // executable.
  void SetProgramDirectory(std::string directory) { program_directory_ = std::move(directory); }
  // The user's data folder, empty for none (the default: the binding knows no word books; the
  // program hands it the folder of the environment).
  void SetUserDataDirectory(std::string directory) { user_data_directory_ = std::move(directory); }

  // Runs inside the modal loop of every message box once it is open, so that tests can read
  // and answer it. Without it the box waits for the user.
  std::function<void(QMessageBox& box)> on_message_shown;

  // Delivers one user event to the model: the only way events get there. Ends the program's
  // event loop when the event ended the program; after that nothing is delivered any more.
  // Any other failure escaping the handler is shown in a message, then ends the program.
  // Once the event is handled, the keyboard focus is settled (see WindowBinding).
  void Deliver(const std::function<void()>& event);
  // A timer tick: dropped while a handler is still running (its modal message is open), so
  // that handlers never interleave.
  void DeliverTick(const std::function<void()>& tick);

  // True while user events may still reach the model.
  bool Accepting() const { return dispatcher_.Accepting(); }
  bool Ended() const { return dispatcher_.Ended(); }
  // The program's exit status: 0, or 1 after a failure ended it.
  int ExitCode() const { return dispatcher_.ExitCode(); }

  // Destroys every window's widgets; nothing is delivered afterwards. The program calls it
  // before the model windows the widgets show go away.
  void DestroyWidgets();

  // The top-level widget of the named window, null until first shown. The widgets of its
  // controls are its children, named as the controls ("cells_5", "book_list").
  QWidget* WindowWidget(std::string_view window) const;

  // Speech and its settings, shared by the windows.
  Speech& SpeechService() { return *speech_; }

  // The program's end makes every event loop quit, and Qt then refuses to start new ones.
  // Where one process runs the program several times (tests), this lets loops run again.
  static void RearmEventLoops();

 protected:
  void OnEndProgram() override;

 private:
  WindowBinding* Find(std::string_view window) const;

  std::unique_ptr<Speech> speech_;  // outlives the windows' menus
  QString settings_file_;
  std::unique_ptr<QSettings> settings_;  // opened on first need
  std::optional<bool> records_progress_;
  std::vector<std::unique_ptr<WindowBinding>> windows_;
  std::optional<std::string> program_directory_;
  std::string user_data_directory_;
  view::Dispatcher dispatcher_;
};

}  // namespace qtbind
