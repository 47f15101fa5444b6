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

// The learner asks to hear a word (F2, or the window's menu): where the keyboard focus is
// (null: on no control) and the text selected in the window's text boxes.
struct SpeechRequest {
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
  std::function<void()> OnUnload;
  void Close();

  // A key typed in the window that no control took for itself (Enter is 13).
  std::function<void(int key_code)> OnKeyPress;
  void KeyPress(int key_code);

  // Set by a window that can say a word when asked; windows without it offer no speech.
  std::function<void(const SpeechRequest&)> OnSpeechRequest;
  bool Speaks() const { return static_cast<bool>(OnSpeechRequest); }
  void RequestSpeech(const SpeechRequest& request);

 private:
  TextMeasurer& measurer_;
  std::string caption_;
  std::shared_ptr<const Picture> picture_;
  std::vector<Control*> controls_;
};

}  // namespace ui
