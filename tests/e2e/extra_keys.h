// Characters the X keyboard map does not hold (Chinese) can only be typed after some key
// produces them. ExtraKeys binds spare keycodes to them for as long as it lives, so that
// xdotool types them with ordinary key presses and the program sees real key events.
#pragma once

#include <string>
#include <vector>

namespace e2e {

class ExtraKeys {
 public:
  // Binds a spare keycode to every character of `text` the keyboard map lacks.
  explicit ExtraKeys(const std::u32string& text);
  ~ExtraKeys();
  ExtraKeys(const ExtraKeys&) = delete;
  ExtraKeys& operator=(const ExtraKeys&) = delete;

  // False when the X server could not be reached or had too few spare keycodes.
  bool Ok() const { return ok_; }
  // Whether any binding was made (the program must then pick up the new keyboard map).
  bool Changed() const { return !keycodes_.empty(); }

 private:
  void* display_ = nullptr;
  std::vector<int> keycodes_;
  bool ok_ = false;
};

}  // namespace e2e
