#include "ui/control.h"

#include <utility>

namespace ui {

Control::Control(std::string name) : name_(std::move(name)) {}

void Control::Move(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Property::Geometry);
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Notify(Property::Visible);
}

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Notify(Property::Enabled);
}

void Control::SetAccessibleName(std::string name) {
  if (name == accessible_name_) return;
  accessible_name_ = std::move(name);
  Notify(Property::Look);
}

void Control::Notify(Property what) {
  if (observer_) observer_->Changed(*this, what);
}

void Button::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Property::Caption);
}

void Button::SetFont(Font font) {
  if (font == font_) return;
  font_ = std::move(font);
  Notify(Property::Look);
}

void Button::Click() {
  if (Acts() && on_click) on_click();
}

ButtonArray::ButtonArray(const std::string& name, int count) {
  for (int i = 0; i < count; ++i) {
    auto button = std::make_unique<Button>(name + "_" + std::to_string(i));
    button->array_ = this;
    button->index_ = i;
    button->on_click = [this, i] {
      if (on_click) on_click(i);
    };
    buttons_.push_back(std::move(button));
  }
}

void Label::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Property::Caption);
  FitToCaption();
}

void Label::SetAutoSize(bool on) {
  auto_size_ = on;
  FitToCaption();
}

void Label::SetBackColor(Color c) {
  if (c == back_color_) return;
  back_color_ = c;
  Notify(Property::Look);
}

void Label::SetForeColor(Color c) {
  if (c == fore_color_) return;
  fore_color_ = c;
  Notify(Property::Look);
}

void Label::SetTimeBar(Gauge gauge) {
  if (gauge == time_bar_) return;
  time_bar_ = gauge;
  Notify(Property::Look);
}

void Label::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Notify(Property::Look);
}

void Label::SetAlignment(ui::Alignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Notify(Property::Look);
}

void Label::SetFont(Font font) {
  if (font == font_) return;
  font_ = std::move(font);
  Notify(Property::Look);
  FitToCaption();
}

void Label::JoinWindow(TextMeasurer& measurer) {
  measurer_ = &measurer;
  FitToCaption();
}

void Label::FitToCaption() {
  if (!auto_size_ || !measurer_) return;
  Size size = measurer_->MeasureText(caption_, font_);
  Move(Left(), Top(), size.width, size.height);
}

void ListBox::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Notify(Property::Items);
}

void ListBox::Clear() {
  items_.clear();
  index_ = -1;
  Notify(Property::Items);
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) index = -1;
  if (index == index_) return;
  index_ = index;
  Notify(Property::Selection);
}

std::string ListBox::Text() const {
  return index_ >= 0 ? items_[static_cast<std::size_t>(index_)] : std::string();
}

bool ListBox::Choose(int index) {
  if (!Acts()) return false;
  SetListIndex(index);
  return true;
}

void ListBox::DblClick() {
  if (Acts() && on_dbl_click) on_dbl_click();
}

void ListBox::KeyPress(int key_code) {
  if (Acts() && on_key_press) on_key_press(key_code);
}

void TextBox::SetText(std::string text) {
  Take(text);
}

void TextBox::Take(std::string& text) {
  if (text == text_) return;
  text_.swap(text);
  Notify(Property::Text);
}

void TextBox::SetMultiLine(bool on) {
  if (on == multi_line_) return;
  multi_line_ = on;
  Notify(Property::Look);
}

void TextBox::SetFont(Font font) {
  if (font == font_) return;
  font_ = std::move(font);
  Notify(Property::Look);
}

bool TextBox::Edit(std::string text) {
  if (!Acts()) return false;
  Take(text);  // not through SetText: GCC 12 at -O3 then sees a moved-from copy as uninitialised
  return true;
}

void TextBox::KeyPress(int key_code) {
  if (Acts() && on_key_press) on_key_press(key_code);
}

Timer::Timer(std::string name) : Control(std::move(name)) {
  SetEnabled(false);
}

void Timer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Notify(Property::Timer);
}

void Timer::Tick() {
  if (Enabled() && on_timer) on_timer();
}

}  // namespace ui
