#include "screensaver/form4.h"

#include "shell/shell.h"

namespace screensaver {

Form4::Form4(shell::Shell& shell) : ModeWindow(shell, "Form4") {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&Label1, &Label2, &Label3, &Timer1})
    form_.Add(*c);
}

void Form4::Form_Load() {
  SetUpWindow("Kestrin之屏幕保护V3.6", true);
  SetUpModeColumn(shell::Mode::ScreenSaver);
  Timer1.SetInterval(200);
  ShowRandomBackground();
}

void Form4::Form_Unload() { EndProgram(); }

}  // namespace screensaver
