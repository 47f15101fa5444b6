// Everything a window needs that is not a control: messages, the beep, speech, pictures, the
// program and user data directories, the clock and the end of the program. Handed to the windows,
// never global.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/control.h"
#include "ui/window.h"

namespace ui {

// Thrown by Platform::EndProgram() so that the handler that ended the program stops at once.
// The event dispatcher (the binding, or a test) catches it.
struct ProgramEnded {};

// The language a text is spoken in.
enum class Language { English, Chinese };

class Platform : public TextMeasurer {
 public:
  // A modal message: OK only, no icon, caption "Vantle". Lines are joined with CR LF.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void Beep() = 0;
  // Says `text` in `language`, cutting off whatever is being said; returns at once. Where no
  // voice of that language is installed (or no speech at all) nothing is said. A platform
  // without speech keeps this default.
  virtual void Speak(const std::string& text, Language language) {
    static_cast<void>(text);
    static_cast<void>(language);
  }
  // Whether the learner asked for words to be spoken unasked (自动朗读); off by default.
  virtual bool AutoSpeak() { return false; }
  // Loads a JPEG file; null when it is missing or unreadable.
  virtual std::shared_ptr<const Picture> LoadPicture(const std::string& path) = 0;
  // The folder that holds the program, without a trailing separator.
  virtual std::string ProgramDirectory() = 0;
  // The user's own data folder, where a copy of the own book beside the program may live;
  // empty when the user has none.
  virtual std::string UserDataDirectory() = 0;
  virtual std::uint64_t ClockSeed() = 0;
  // The time now, in seconds since 1970 (UTC), and how far east of UTC the learner's local
  // time is at `at`, in seconds.
  virtual std::int64_t Now();
  virtual int UtcOffset(std::int64_t at);
  // Whether the learner's practice is kept (记录学习进度): on until the learner turns it off.
  // A platform that keeps settings keeps this one too.
  virtual bool RecordsProgress() { return records_progress_; }
  virtual void SetRecordsProgress(bool on) { records_progress_ = on; }
  // The screen's size in twips, for placing the first window.
  virtual Size ScreenSize() = 0;
  // A new top-level window exists; the binding mirrors it from now on.
  virtual void Attach(Window& window) = 0;

  // Closes everything and ends the program. Nothing else of the calling handler runs.
  [[noreturn]] void EndProgram() {
    OnEndProgram();
    throw ProgramEnded{};
  }

 protected:
  virtual void OnEndProgram() = 0;

 private:
  bool records_progress_ = true;
};

}  // namespace ui
