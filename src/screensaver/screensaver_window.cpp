#include "screensaver/screensaver_window.h"

#include "shell/shell.h"

namespace screensaver {
namespace {

// One axis of a label, its Left and Width or its Top and Height, against the bounds: the label
// is between them when kStep < position and position + size + kStep < far.
struct Axis {
  int position;
  int size;
  int far;

  // Whether any position puts the label between the bounds. With the three captions at
  // 72 points it always does; a larger label is held at rest on this axis instead.
  bool Fits() const { return far - size - kStep - 1 > kStep; }
  bool BeforeNear() const { return position - kStep <= 0; }
  // Past the far bound. A label too large to fit rests just inside the near bound, within
  // one step of it, so that it neither bounces between the two bounds nor leaves the window.
  bool BeyondFar() const { return Fits() ? position + size + kStep >= far : position > 2 * kStep; }
  // The move of a label between the bounds for a draw d of 0, 1 or 2.
  int Step(int d) const { return Fits() ? (d - 1) * kStep : 0; }
};

ui::Color NextColor(ui::Color c, int dx) {
  auto v = static_cast<std::int64_t>(c);
  if (v <= kLowestColor) v += kColorJump;
  if (v >= kHighestColor) v -= kColorJump;
  v += (dx - 1) * kColorStep;
  return static_cast<ui::Color>(v);
}

}  // namespace

ScreenSaverWindow::ScreenSaverWindow(shell::Shell& shell)
    : ModeWindow(shell, "screensaver_window") {
  for (ui::Label& caption : captions_) Window().Add(caption);
  Window().Add(clock_);
  clock_.on_timer = [this] { OnTick(); };
}

void ScreenSaverWindow::Load() {
  SetUpWindow("Kestrin之屏幕保护V3.6", shell::Seed::FromClock);
  ticks_since_picture_ = 0;
  SetUpModeColumn(shell::Mode::ScreenSaver);

  const ui::Font font{.name = "宋体", .size = 72, .bold = true};
  struct Start {
    const char* text;
    int left;
    int top;
  };
  constexpr Start kStarts[kCaptionCount] = {
      {"Dorrin侠", 2400, 0}, {"VantleMan", 2400, 2640}, {"VantleStudio", 2280, 5040}};
  for (int i = 0; i < kCaptionCount; ++i) {
    ui::Label& label = captions_[static_cast<std::size_t>(i)];
    const Start& start = kStarts[i];
    label.SetCaption(start.text);
    label.SetFont(font);
    label.SetTransparent(true);
    label.SetAutoSize(true);
    label.Move(start.left, start.top, label.Width(), label.Height());
    label.SetForeColor(kStartColor);
  }

  clock_.SetInterval(kTimerInterval);
  ShowRandomBackground();
}

void ScreenSaverWindow::OnClose() {
  EndProgram();
}

void ScreenSaverWindow::OnTick() {
  if (ticks_since_picture_ == kTicksPerPicture) {
    ticks_since_picture_ = 0;
    ShowRandomBackground();
    return;
  }
  ++ticks_since_picture_;
  for (ui::Label& caption : captions_) MoveCaption(caption);
}

void ScreenSaverWindow::MoveCaption(ui::Label& label) {
  // Both draws are made whatever follows: they set the colour step even when the label is
  // against a bound and only corrected.
  const int dx = Random().Below(3);
  const int dy = Random().Below(3);
  const Axis x{label.Left(), label.Width(), kRightBound};
  const Axis y{label.Top(), label.Height(), kBottomBound};

  // Outside the bounds, exactly one correction, the first that applies; inside, the draws.
  int left = x.position;
  int top = y.position;
  if (x.BeforeNear()) {
    left += kStep;
  } else if (y.BeforeNear()) {
    top += kStep;
  } else if (x.BeyondFar()) {
    left -= kStep;
  } else if (y.BeyondFar()) {
    top -= kStep;
  } else {
    left += x.Step(dx);
    top += y.Step(dy);
  }
  // One move and one colour change, so the binding repaints the label once per tick.
  label.Move(left, top, label.Width(), label.Height());
  label.SetForeColor(NextColor(label.ForeColor(), dx));
}

}  // namespace screensaver
