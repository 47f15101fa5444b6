#include "win32/win32_platform.h"

#include <chrono>

#include "os/os.h"
#include "win32/convert.h"
#include "win32/media/picture.h"
#include "win32/media/speech.h"
#include "win32/window_binding.h"

namespace win32 {
namespace {

constexpr char kSettingsFile[] = "vantle.ini";

std::string SettingsPath(const std::string& folder) {
  return folder.empty() ? std::string(kSettingsFile) : folder + "\\" + kSettingsFile;
}

// The one button of a message box reads "确定" whatever the system's language: the box is
// caught as it opens and its button renamed.
HHOOK message_hook = nullptr;

LRESULT CALLBACK RenameButton(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wparam);
    if (!SetDlgItemTextW(box, IDOK, L"确定")) SetDlgItemTextW(box, IDCANCEL, L"确定");
  }
  return CallNextHookEx(message_hook, code, wparam, lparam);
}

void SystemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                      UINT type) {
  message_hook = SetWindowsHookExW(WH_CBT, &RenameButton, nullptr, GetCurrentThreadId());
  MessageBoxW(owner, text.c_str(), caption.c_str(), type);
  UnhookWindowsHookEx(message_hook);
  message_hook = nullptr;
}

}  // namespace

void BecomeDpiAware() {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

Win32Platform::Win32Platform()
    : settings_(SettingsPath(user_data_directory_)),
      message_box_(&SystemMessageBox),
      dispatcher_({[this](const std::string& message) { ShowMessage(message); },
                   [this] { OnEndProgram(); },
                   [this](bool to_next) {
                     for (const auto& w : windows_) w->SettleFocus(to_next);
                   }}) {}

Win32Platform::~Win32Platform() {
  dispatcher_.Close();
  windows_.clear();
}

void Win32Platform::SetUserDataDirectory(std::string directory) {
  user_data_directory_ = std::move(directory);
  settings_ = Settings(SettingsPath(user_data_directory_));
}

void Win32Platform::DestroyWindows() {
  dispatcher_.Close();
  for (const auto& w : windows_) w->Detach();
  windows_.clear();
}

HWND Win32Platform::ActiveWindow() const {
  HWND shown = nullptr;
  for (const auto& w : windows_)
    if (w->Handle() && IsWindowVisible(w->Handle())) shown = w->Handle();
  return shown;
}

void Win32Platform::ShowMessage(const std::string& text) {
  // Whatever the handler changed so far is on screen before the box opens.
  HWND owner = ActiveWindow();
  if (owner) RedrawWindow(owner, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  message_box_(owner, Widen(text), L"Vantle", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
  // The keys go back to the window the message stood over.
  if (owner && IsWindowVisible(owner)) SetForegroundWindow(owner);
  dispatcher_.MessageAnswered();
}

void Win32Platform::Beep() {
  MessageBeep(MB_OK);
}

Speech& Win32Platform::Engine() {
  if (!speech_) {
    speech_ = std::make_unique<Speech>();
    speech_->SetVoice(settings_.Voice());
  }
  return *speech_;
}

void Win32Platform::Speak(const std::string& text, ui::Language language) {
  Engine().Say(text, language);
}

void Win32Platform::StartSpeech() {
  Engine().Start();
}

view::SpeechStatus Win32Platform::SpeechState() const {
  return speech_ ? speech_->State() : view::SpeechStatus::Idle;
}

std::vector<std::string> Win32Platform::Voices() const {
  return speech_ ? speech_->Voices() : std::vector<std::string>{};
}

void Win32Platform::SetVoice(const std::string& name) {
  settings_.SetVoice(name);
  Engine().SetVoice(name);
}

std::shared_ptr<const ui::Picture> Win32Platform::LoadPicture(const std::string& path) {
  return win32::LoadPicture(path);
}

std::string Win32Platform::ProgramDirectory() {
  return program_directory_ ? *program_directory_ : os::ProgramDirectory();
}

std::uint64_t Win32Platform::ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

ui::Size Win32Platform::ScreenSize() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int dpi = static_cast<int>(GetDpiForSystem());
  return {ToTwips(area.right - area.left, dpi), ToTwips(area.bottom - area.top, dpi)};
}

void Win32Platform::Attach(ui::Window& window) {
  windows_.push_back(std::make_unique<WindowBinding>(*this, window));
}

ui::Size Win32Platform::MeasureText(const std::string& text, const ui::Font& font) {
  // At 96 dpi, where a pixel is 15 twips; a pixel more on every side, so that overhanging
  // glyphs are not cut.
  HDC dc = CreateCompatibleDC(nullptr);
  const SIZE size = TextExtent(dc, fonts_.Get(font, text, kBaseDpi), ShownText(text));
  DeleteDC(dc);
  return {ToTwips(size.cx + 2, kBaseDpi), ToTwips(size.cy + 2, kBaseDpi)};
}

void Win32Platform::Deliver(const std::function<void()>& event) {
  dispatcher_.Deliver(event);
}

void Win32Platform::DeliverTick(const std::function<void()>& tick) {
  dispatcher_.DeliverTick(tick);
}

void Win32Platform::OnEndProgram() {
  dispatcher_.MarkEnded();
  for (const auto& w : windows_) w->Shut();
  PostQuitMessage(ExitCode());
}

int Win32Platform::Run() {
  MSG message;
  while (!Ended() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    bool used = false;
    for (const auto& w : windows_)
      if (!used && Accepting()) used = w->PreTranslate(message);
    if (used) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return ExitCode();
}

WindowBinding* Win32Platform::Find(std::string_view window) const {
  for (const auto& w : windows_)
    if (w->Model().Name() == window) return w.get();
  return nullptr;
}

}  // namespace win32
