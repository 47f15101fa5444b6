// The platform of the program on Windows: Win32's own controls. It mirrors every attached
// window into a top-level window and child controls (see WindowBinding), runs the message
// loop, and is the one door through which user events reach the model.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform.h"
#include "view/dispatcher.h"
#include "view/wording.h"
#include "win32/fonts.h"
#include "win32/settings.h"

namespace win32 {

class Speech;
class WindowBinding;

// Makes the process per-monitor dpi aware (once, before the first window).
void BecomeDpiAware();

class Win32Platform : public ui::Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  void ShowMessage(const std::string& text) override;
  void Beep() override;
  void Speak(const std::string& text, ui::Language language) override;
  bool AutoSpeak() override { return settings_.AutoSpeak(); }
  void SetAutoSpeak(bool on) { settings_.SetAutoSpeak(on); }
  bool RecordsProgress() override { return settings_.RecordsProgress(); }
  void SetRecordsProgress(bool on) override { settings_.SetRecordsProgress(on); }
  std::shared_ptr<const ui::Picture> LoadPicture(const std::string& path) override;
  std::string ProgramDirectory() override;
  std::string UserDataDirectory() override { return user_data_directory_; }
  std::uint64_t ClockSeed() override;
  ui::Size ScreenSize() override;
  void Attach(ui::Window& window) override;
  ui::Size MeasureText(const std::string& text, const ui::Font& font) override;

  // The folders the program reads from and keeps the learner's data in (tests name others).
  void SetProgramDirectory(std::string directory) { program_directory_ = std::move(directory); }
  void SetUserDataDirectory(std::string directory);

  // Shows a message box: by default MessageBoxW with its one button reading "确定". Tests
  // answer it themselves.
  using MessageBoxFunction = std::function<void(HWND owner, const std::wstring& text,
                                                const std::wstring& caption, UINT type)>;
  void SetMessageBox(MessageBoxFunction show) { message_box_ = std::move(show); }

  // Delivers one user event to the model: the only way events get there. Ends the message
  // loop when the event ended the program; after that nothing is delivered any more. Any
  // other failure escaping the handler is shown in a message, then ends the program. Once the
  // event is handled, the keyboard focus is settled.
  void Deliver(const std::function<void()>& event);
  // A timer tick: dropped while a handler is still running (its modal message is open).
  void DeliverTick(const std::function<void()>& tick);
  bool Accepting() const { return dispatcher_.Accepting(); }
  bool Ended() const { return dispatcher_.Ended(); }
  // The program's exit status: 0, or 1 after a failure ended it.
  int ExitCode() const { return dispatcher_.ExitCode(); }

  // Runs the message loop until the program ends; returns the exit status.
  int Run();
  // Destroys every window; nothing is delivered afterwards.
  void DestroyWindows();

  // The shown window a new window (a message, the progress window) stands over; null when
  // none is shown.
  HWND ActiveWindow() const;
  // The top-level window of the named model window, null until first shown.
  WindowBinding* Find(std::string_view window) const;

  FontCache& Fonts() { return fonts_; }

  // Speech for the windows' menus: where the engine stands, its English voices and the
  // chosen one, kept in the settings.
  void StartSpeech();
  view::SpeechStatus SpeechState() const;
  bool SpeechUsable() const { return view::SpeechUsable(SpeechState()); }
  std::vector<std::string> Voices() const;
  std::string Voice() { return settings_.Voice(); }
  void SetVoice(const std::string& name);

 protected:
  void OnEndProgram() override;

 private:
  Speech& Engine();

  FontCache fonts_;                 // outlives the windows that draw in its fonts
  std::unique_ptr<Speech> speech_;  // made on first use
  std::string user_data_directory_;
  Settings settings_;
  std::vector<std::unique_ptr<WindowBinding>> windows_;
  std::optional<std::string> program_directory_;
  MessageBoxFunction message_box_;
  view::Dispatcher dispatcher_;
};

}  // namespace win32
