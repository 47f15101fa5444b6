#include "e2e/extra_keys.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <set>

namespace e2e {

namespace {

KeySym KeysymOf(char32_t c) {
  // Latin-1 keysyms equal their code points; every other character has 0x01000000 added.
  return c >= 0x20 && c <= 0xFF ? static_cast<KeySym>(c) : static_cast<KeySym>(0x01000000 | c);
}

}  // namespace

ExtraKeys::ExtraKeys(const std::u32string& text) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  display_ = display;
  int min_code = 0, max_code = 0, per_code = 0;
  XDisplayKeycodes(display, &min_code, &max_code);
  KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(min_code),
                                    max_code - min_code + 1, &per_code);
  if (!map) return;
  std::set<KeySym> present;
  std::vector<int> spare;
  for (int code = min_code; code <= max_code; ++code) {
    bool empty = true;
    for (int k = 0; k < per_code; ++k) {
      KeySym sym = map[(code - min_code) * per_code + k];
      if (sym != NoSymbol) empty = false, present.insert(sym);
    }
    if (empty) spare.push_back(code);
  }
  XFree(map);
  std::set<KeySym> wanted;
  for (char32_t c : text)
    if (c > 0x7E && !present.count(KeysymOf(c))) wanted.insert(KeysymOf(c));
  if (wanted.size() > spare.size()) return;
  auto next = spare.begin();
  for (KeySym sym : wanted) {
    KeySym both[2] = {sym, sym};
    XChangeKeyboardMapping(display, *next, 2, both, 1);
    keycodes_.push_back(*next++);
  }
  XSync(display, False);
  ok_ = true;
}

ExtraKeys::~ExtraKeys() {
  auto* display = static_cast<Display*>(display_);
  if (!display) return;
  for (int code : keycodes_) {
    KeySym none[2] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(display, code, 2, none, 1);
  }
  XSync(display, False);
  XCloseDisplay(display);
}

}  // namespace e2e
