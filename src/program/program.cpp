#include "program/program.h"

#include "dictionary/dictionary_window.h"
#include "match/match_window.h"
#include "quiz/quiz_window.h"
#include "screensaver/screensaver_window.h"

namespace program {

std::unique_ptr<shell::ModeWindow> MakeModeWindow(shell::Mode mode, shell::Shell& shell) {
  switch (mode) {
    case shell::Mode::Match:
      return std::make_unique<match::MatchWindow>(shell);
    case shell::Mode::Quiz:
      return std::make_unique<quiz::QuizWindow>(shell);
    case shell::Mode::Dictionary:
      return std::make_unique<dictionary::DictionaryWindow>(shell);
    case shell::Mode::ScreenSaver:
      return std::make_unique<screensaver::ScreenSaverWindow>(shell);
  }
  return nullptr;
}

}  // namespace program
