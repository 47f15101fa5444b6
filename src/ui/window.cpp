#include "ui/window.h"

#include <utility>

namespace ui {

Window::Window(std::string name, TextMeasurer& measurer)
    : Control(std::move(name)), measurer_(measurer) {
  SetVisible(false);
}

void Window::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Property::Caption);
}

void Window::SetPicture(std::shared_ptr<const Picture> picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Notify(Property::Look);
}

void Window::Add(Control& control) {
  controls_.push_back(&control);
  control.JoinWindow(measurer_);
}

void Window::Add(ButtonArray& array) {
  for (int i = 0; i < array.Count(); ++i) Add(array[i]);
}

Control* Window::Find(const std::string& name) const {
  for (Control* c : controls_)
    if (c->Name() == name) return c;
  return nullptr;
}

void Window::Close() {
  if (on_unload) on_unload();
}

void Window::KeyPress(int key_code) {
  if (Visible() && on_key_press) on_key_press(key_code);
}

void Window::RequestSpeech(const Attention& request) {
  if (Visible() && on_speech_request) on_speech_request(request);
}

std::vector<Window::MenuEntry> Window::MenuEntries() const {
  return on_menu ? on_menu() : std::vector<MenuEntry>();
}

void Window::PressShortcut(const std::string& key, const Attention& attention) {
  if (!Visible()) return;
  for (const Shortcut& shortcut : shortcuts)
    if (shortcut.key == key && shortcut.act) shortcut.act(attention);
}

std::string Attention::SelectionIn(const Control& box) const {
  for (const auto& [control, text] : selections)
    if (control == &box) return text;
  return {};
}

std::string Attention::FocusedCaption(const ButtonArray& array) const {
  const auto* button = dynamic_cast<const Button*>(focus);
  if (button && button->Array() == &array && button->Visible()) return button->Caption();
  return {};
}

}  // namespace ui
