#include "program/program.h"

#include "dictionary/form3.h"
#include "match/form1.h"
#include "quiz/form2.h"
#include "screensaver/form4.h"

namespace program {

std::unique_ptr<shell::ModeWindow> MakeModeWindow(shell::Mode mode, shell::Shell& shell) {
  switch (mode) {
    case shell::Mode::Match:
      return std::make_unique<match::Form1>(shell);
    case shell::Mode::Quiz:
      return std::make_unique<quiz::Form2>(shell);
    case shell::Mode::Dictionary:
      return std::make_unique<dictionary::Form3>(shell);
    case shell::Mode::ScreenSaver:
      return std::make_unique<screensaver::Form4>(shell);
  }
  return nullptr;
}

}  // namespace program
