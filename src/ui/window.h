// A top-level window of the windowing layer: title, geometry in twips, a background picture
// and its controls in drawing order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"

namespace ui {

// A loaded background picture; what it holds is the platform's business.
class Picture {
 public:
  virtual ~Picture() = default;
};

// What the learner points at when asking for something (F2 to hear a word, a menu entry, a
// shortcut): where the keyboard focus is (null: on no control) and the text selected in the
// window's text boxes.
struct Attention {
  const Control* focus = nullptr;
  std::vector<std::pair<const Control*, std::string>> selections;

  // The text selected in `box`, or "" when nothing is.
  std::string SelectionIn(const Control& box) const;
  // The caption of the shown button of `array` that holds the focus, or "" when none does.
  std::string FocusedCaption(const ButtonArray& array) const;
};

class Window : public Control {
 public:
  Window(std::string name, TextMeasurer& measurer);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // The background picture, drawn unscaled from the top-left corner; null when cleared.
  const std::shared_ptr<const Picture>& GetPicture() const { return picture_; }
  void SetPicture(std::shared_ptr<const Picture> picture);

  // Adds a control; controls are kept in the order they were added.
  void Add(Control& control);
  void Add(ButtonArray& array);
  const std::vector<Control*>& Controls() const { return controls_; }
  Control* Find(const std::string& name) const;

  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // The user closes the window.
  std::function<void()> on_unload;
  void Close();

  // A key typed in the window that no control took for itself (Enter is 13).
  std::function<void(int key_code)> on_key_press;
  void KeyPress(int key_code);

  // Set by a window that can say a word when asked; windows without it offer no speech.
  std::function<void(const Attention&)> on_speech_request;
  bool Speaks() const { return static_cast<bool>(on_speech_request); }
  void RequestSpeech(const Attention& request);

  // An entry of the window's own menu (a right click, the Menu key), as it stands when the
  // menu opens. An entry without an action is a line of information.
  struct MenuEntry {
    using Act = std::function<void(const Attention&)>;
    // An entry that does `act` when chosen.
    static MenuEntry Action(std::string caption, Act act) {
      return {std::move(caption), true, false, false, std::move(act)};
    }
    // An entry with a tick, shown `checked`, that does `act` (which changes it) when chosen.
    static MenuEntry Toggle(std::string caption, bool checked, Act act) {
      return {std::move(caption), true, true, checked, std::move(act)};
    }
    // A line that only informs.
    static MenuEntry Info(std::string caption) {
      return {std::move(caption), false, false, false, {}};
    }
    // The same entry, greyed unless `condition` holds (its caption says why).
    MenuEntry EnabledIf(bool condition) && {
      enabled = enabled && condition;
      return std::move(*this);
    }

    std::string caption;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    Act act;
  };
  // Set by a window that has entries of its own; asked each time the menu opens.
  std::function<std::vector<MenuEntry>()> on_menu;
  std::vector<MenuEntry> MenuEntries() const;

  // A key that acts anywhere in the window, whatever holds the focus ("F3").
  struct Shortcut {
    std::string key;
    std::function<void(const Attention&)> act;
  };
  std::vector<Shortcut> shortcuts;
  // The learner pressed `key`: its action, while the window is shown.
  void PressShortcut(const std::string& key, const Attention& attention);

 private:
  TextMeasurer& measurer_;
  std::string caption_;
  std::shared_ptr<const Picture> picture_;
  std::vector<Control*> controls_;
};

}  // namespace ui
