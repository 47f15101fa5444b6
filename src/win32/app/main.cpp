// Vantle.exe: starts the match window and runs until a window's unload or a failed book load
// ends the program.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>

#include "os/os.h"
#include "program/program.h"
#include "ui/random.h"
#include "win32/progress/progress_window.h"
#include "win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  win32::BecomeDpiAware();
  // Speech and the accessibility service are COM objects of this, the windows' thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int status = 0;
  {
    win32::Win32Platform platform;
    platform.SetUserDataDirectory(os::UserDataDirectory());  // %APPDATA%\Vantle
    ui::ClockRandom random;
    program::Program program(
        platform, random,
        win32::ProgressWindowShower(
            [&platform] { return platform.ActiveWindow(); },
            [&platform](const std::string& word) { platform.Speak(word, ui::Language::English); },
            [&platform](const std::function<void()>& event) { platform.Deliver(event); }));
    platform.Deliver([&program] { program.Start(); });
    status = platform.Ended() ? platform.ExitCode() : platform.Run();
    // The windows go before the model windows they show.
    platform.DestroyWindows();
  }
  CoUninitialize();
  return status;
}
