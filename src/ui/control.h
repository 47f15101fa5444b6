// The windowing layer: plain C++ controls that the mode windows are written against.
// Geometry is kept in twips (1/1440 inch). A control tells its observer (the binding to the
// real toolkit) about every change; the model always holds the truth.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// The character code a key press reports for Enter.
inline constexpr int kEnterKey = 13;

class Window;

// A colour as 0x00BBGGRR (red in the low byte).
using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

struct Font {
  std::string name = "宋体";
  double size = 9;  // points
  bool bold = false;
  bool operator==(const Font&) const = default;
};

struct Size {
  int width = 0;   // twips
  int height = 0;  // twips
};

// What changed, so that a binding can update only that.
enum class Property { Geometry, Visible, Enabled, Caption, Look, Items, Selection, Text, Timer };

class Control;
class ButtonArray;

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void Changed(Control& control, Property what) = 0;
};

// Measures text for labels that size themselves to their caption.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual Size MeasureText(const std::string& text, const Font& font) = 0;
};

class Control {
 public:
  explicit Control(std::string name);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { Move(v, top_, width_, height_); }
  void SetTop(int v) { Move(left_, v, width_, height_); }
  void SetWidth(int v) { Move(left_, top_, v, height_); }
  void SetHeight(int v) { Move(left_, top_, width_, v); }
  void Move(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Shown and enabled: only such a control takes the user's input.
  bool Acts() const { return visible_ && enabled_; }
  // Whether the control can hold the keyboard focus (buttons, lists and text boxes).
  virtual bool TakesFocus() const { return false; }

  // What a screen reader calls a control whose purpose no caption states (a list, a text
  // box); empty for one that is named by its caption.
  const std::string& AccessibleName() const { return accessible_name_; }
  void SetAccessibleName(std::string name);

  // The binding registers itself here; a control has at most one observer.
  void SetObserver(ControlObserver* observer) { observer_ = observer; }

 protected:
  void Notify(Property what);
  // Called when the control joins a window (labels use it to measure their text).
  virtual void JoinWindow(TextMeasurer&) {}
  friend class Window;

 private:
  std::string name_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string accessible_name_;
  ControlObserver* observer_ = nullptr;
};

class Button : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const Font& GetFont() const { return font_; }
  void SetFont(Font font);

  std::function<void()> on_click;
  // A user's click: does nothing on a hidden or disabled button.
  void Click();

  bool TakesFocus() const override { return true; }
  // The control array the button belongs to, and its index there; null and -1 for a button
  // of its own.
  const ButtonArray* Array() const { return array_; }
  int Index() const { return index_; }

 private:
  friend class ButtonArray;
  std::string caption_;
  Font font_;
  const ButtonArray* array_ = nullptr;
  int index_ = -1;
};

// A control array of buttons sharing one click handler that receives the index.
class ButtonArray {
 public:
  ButtonArray(const std::string& name, int count);
  int Count() const { return static_cast<int>(buttons_.size()); }
  Button& operator[](int index) { return *buttons_.at(static_cast<std::size_t>(index)); }
  const Button& operator[](int index) const {
    return *buttons_.at(static_cast<std::size_t>(index));
  }

  std::function<void(int index)> on_click;

 private:
  std::vector<std::unique_ptr<Button>> buttons_;
};

enum class Alignment { Left, Right, Center };

class Label : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color c);
  Color ForeColor() const { return fore_color_; }
  void SetForeColor(Color c);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  ui::Alignment Alignment() const { return alignment_; }
  void SetAlignment(ui::Alignment a);
  const Font& GetFont() const { return font_; }
  void SetFont(Font font);

  // A label that shows the time left as its height (a time bar): `empty` is the height at
  // which the time is up, `full` the height of a full bar. Both 0 for an ordinary label.
  struct Gauge {
    int empty = 0;
    int full = 0;
    bool operator==(const Gauge&) const = default;
  };
  const Gauge& TimeBar() const { return time_bar_; }
  bool IsTimeBar() const { return time_bar_.full > 0; }
  void SetTimeBar(Gauge gauge);

 protected:
  void JoinWindow(TextMeasurer& measurer) override;

 private:
  void FitToCaption();
  std::string caption_;
  bool auto_size_ = false;
  Color back_color_ = Rgb(255, 255, 255);
  Color fore_color_ = Rgb(0, 0, 0);
  bool transparent_ = false;
  ui::Alignment alignment_ = ui::Alignment::Left;
  Font font_;
  Gauge time_bar_;
  TextMeasurer* measurer_ = nullptr;
};

class ListBox : public Control {
 public:
  using Control::Control;
  void AddItem(std::string item);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Items() const { return items_; }
  // The selected row, -1 when none.
  int ListIndex() const { return index_; }
  void SetListIndex(int index);
  // The selected row's text, or the empty text when nothing is selected.
  std::string Text() const;

  bool TakesFocus() const override { return true; }

  // The user chooses a row. A hidden or disabled list takes no choice: false, nothing changed.
  bool Choose(int index);

  std::function<void()> on_dbl_click;
  void DblClick();
  // A key typed in the list (Enter is 13).
  std::function<void(int key_code)> on_key_press;
  void KeyPress(int key_code);

 private:
  std::vector<std::string> items_;
  int index_ = -1;
};

class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool on);
  const Font& GetFont() const { return font_; }
  void SetFont(Font font);

  bool TakesFocus() const override { return true; }

  // The user edits the text. A hidden or disabled box takes no edit: false, nothing changed.
  bool Edit(std::string text);

  std::function<void(int key_code)> on_key_press;
  void KeyPress(int key_code);

 private:
  // Takes `text` over and tells the observer, unless it is the text already.
  void Take(std::string& text);

  std::string text_;
  bool multi_line_ = false;
  Font font_;
};

class Timer : public Control {
 public:
  // A timer starts disabled; Enabled() tells whether it runs.
  explicit Timer(std::string name);
  int Interval() const { return interval_; }
  void SetInterval(int ms);

  std::function<void()> on_timer;
  // One tick: runs the handler only while the timer is enabled.
  void Tick();

 private:
  int interval_ = 0;
};

}  // namespace ui
