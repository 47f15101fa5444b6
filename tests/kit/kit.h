// Test kit: a fake platform, a scripted random source, temporary folders and GBK files.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kit/files.h"
#include "ui/platform.h"
#include "ui/random.h"

namespace kit {

struct FakePicture : ui::Picture {
  explicit FakePicture(std::string p) : path(std::move(p)) {}
  std::string path;
};

// The path of a window's picture, or "" when it has none.
std::string PicturePath(const ui::Window& window);

class FakePlatform : public ui::Platform {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> picture_requests;  // every path LoadPicture was asked for
  std::vector<ui::Window*> attached;
  int beeps = 0;
  // Every text the windows asked to have said, in order.
  struct Spoken {
    std::string text;
    ui::Language language;
    bool operator==(const Spoken&) const = default;
    friend void PrintTo(const Spoken& s, std::ostream* os) {
      *os << (s.language == ui::Language::English ? "en:" : "zh:") << s.text;
    }
  };
  std::vector<Spoken> spoken;
  bool auto_speak = false;  // 自动朗读
  bool ended = false;
  bool pictures_exist = true;  // false: every picture is missing
  std::string program_directory = "/nonexistent";
  std::string user_data_directory;  // empty: the user has none
  std::uint64_t seed = 42;
  std::int64_t now = 1767225600;  // 2026-01-01 00:00:00 UTC
  int utc_offset = 8 * 3600;      // Beijing
  // Called inside ShowMessage, while the message is "on screen".
  std::function<void(const std::string&)> on_message;

  void ShowMessage(const std::string& text) override;
  void Beep() override { ++beeps; }
  void Speak(const std::string& text, ui::Language language) override {
    spoken.push_back({text, language});
  }
  bool AutoSpeak() override { return auto_speak; }
  std::shared_ptr<const ui::Picture> LoadPicture(const std::string& path) override;
  std::string ProgramDirectory() override { return program_directory; }
  std::string UserDataDirectory() override { return user_data_directory; }
  std::uint64_t ClockSeed() override { return seed++; }
  std::int64_t Now() override { return now; }
  int UtcOffset(std::int64_t) override { return utc_offset; }
  ui::Size ScreenSize() override { return {1920 * 15, 1080 * 15}; }
  void Attach(ui::Window& window) override { attached.push_back(&window); }
  // 20 twips a point per character across, 1.5 lines high: enough to test auto-size.
  ui::Size MeasureText(const std::string& text, const ui::Font& font) override;

 protected:
  void OnEndProgram() override { ended = true; }
};

// Hands out the given fractions in order. A draw past the end of the script fails the test
// and throws ScriptRanOut, so that a loop drawing until it gets something new cannot spin,
// unless the test set a `fallback` to hand out once the script is done; even then a long run
// of it (a loop that a steady value can never end) fails the same way.
struct ScriptRanOut : std::runtime_error {
  ScriptRanOut() : std::runtime_error("the scripted random source ran out") {}
};

class ScriptedRandom : public ui::Random {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<double> script) : script_(script) {}
  void Push(double r) { script_.push_back(r); }
  void Push(std::initializer_list<double> rs) { script_.insert(script_.end(), rs); }
  // Queues the fraction that makes floor(r * n) == value.
  void PushIndex(int value, int n) { Push((value + 0.5) / n); }
  double Next() override;
  void Reseed(std::uint64_t) override { ++reseeds; }
  std::size_t Remaining() const { return script_.size(); }

  int draws = 0;
  int reseeds = 0;
  std::optional<double> fallback;
  static constexpr int kLongestFallbackRun = 100000;

 private:
  [[noreturn]] void RunOut(const char* why);
  int fallback_run_ = 0;
  std::deque<double> script_;
};

// A mode window's controls, found by the names the binding and screen readers see them by, so
// that tests act and look as the learner does. Asking for a control the window lacks fails
// the test.
class Controls {
 public:
  explicit Controls(ui::Window& window) : window_(&window) {}

  ui::Window& Window() const { return *window_; }

  ui::ListBox& BookList() const { return Get<ui::ListBox>("book_list"); }
  ui::Button& ChooseBookButton() const { return Get<ui::Button>("choose_book_button"); }
  ui::Button& ChangeBookButton() const { return Get<ui::Button>("change_book_button"); }
  ui::ListBox& GroupList() const { return Get<ui::ListBox>("group_list"); }
  ui::Button& ChooseGroupButton() const { return Get<ui::Button>("choose_group_button"); }
  ui::Button& ChangeGroupButton() const { return Get<ui::Button>("change_group_button"); }
  ui::Button& LookUpButton() const { return Get<ui::Button>("look_up_button"); }
  ui::Button& ModeButton(int row) const { return Get<ui::Button>(Indexed("mode_buttons", row)); }
  ui::Timer& Clock() const { return Get<ui::Timer>("clock"); }
  // The match game.
  ui::Button& Cell(int cell) const { return Get<ui::Button>(Indexed("cells", cell)); }
  ui::Label& Marker() const { return Get<ui::Label>("marker"); }
  ui::Label& TimeBar() const { return Get<ui::Label>("time_bar"); }
  // The quiz.
  ui::Label& Question() const { return Get<ui::Label>("question"); }
  ui::Button& Answer(int answer) const { return Get<ui::Button>(Indexed("answers", answer)); }
  // The dictionary.
  ui::TextBox& QueryBox() const { return Get<ui::TextBox>("query_box"); }
  ui::TextBox& ResultBox() const { return Get<ui::TextBox>("result_box"); }
  // The screen saver.
  ui::Label& Caption(int caption) const { return Get<ui::Label>(Indexed("captions", caption)); }

  // The names of the shown controls, for comparing screens.
  std::vector<std::string> ShownNames() const;

  template <class T>
  T& Get(const std::string& name) const {
    auto* control = dynamic_cast<T*>(window_->Find(name));
    if (!control) throw std::logic_error(window_->Name() + " has no such control: " + name);
    return *control;
  }

 private:
  static std::string Indexed(const char* name, int index) {
    return std::string(name) + "_" + std::to_string(index);
  }
  ui::Window* window_;
};

// Runs `f` and tells whether it ended the program.
bool Ends(const std::function<void()>& f);

// The row of `item` in a list box, or -1 when it has none.
int RowOf(const ui::ListBox& list, std::string_view item);

}  // namespace kit
