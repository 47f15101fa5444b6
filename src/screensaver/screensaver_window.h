// The screen saver window: three large captions wander over a background picture and slowly
// change colour; the picture changes about once a minute.
#pragma once

#include <array>
#include <cstdint>

#include "shell/mode_window.h"

namespace screensaver {

// One step of a label, and the gap it keeps to every bound, in twips.
inline constexpr int kStep = 120;
// The far bounds of the wandering. They are fixed numbers and do not follow the client area:
// the window's outer width, and 540 twips above its outer height.
inline constexpr int kRightBound = 12000;
inline constexpr int kBottomBound = 8010;
// Moving ticks between two picture changes; the tick after them changes the picture.
inline constexpr std::int32_t kTicksPerPicture = 300;
inline constexpr int kTimerInterval = 200;  // ms

// The labels' colour at load (0x7FFF: red 255, green 127), and how it moves: it is kept
// between kLowestColor and kHighestColor and steps by kColorStep with the horizontal draw.
inline constexpr ui::Color kStartColor = 32767;
inline constexpr ui::Color kLowestColor = 8191;    // 0x1FFF
inline constexpr ui::Color kHighestColor = 57343;  // 0xDFFF
inline constexpr int kColorJump = 8192;            // back inside when the colour is at a limit
inline constexpr int kColorStep = 4096;

// The three captions, their texts and where they start.
inline constexpr int kCaptionCount = 3;

class ScreenSaverWindow : public shell::ModeWindow {
 public:
  explicit ScreenSaverWindow(shell::Shell& shell);

  ui::Timer* Clock() override { return &clock_; }
  void Load() override;
  void OnClose() override;

 private:
  // One tick: every kTicksPerPicture + 1-th tick changes the picture and moves nothing; the
  // others move the three captions in turn and step their colours.
  void OnTick();
  // Draws dx and dy for the caption, moves it one step and steps its colour.
  void MoveCaption(ui::Label& caption);

  // "Dorrin侠", "VantleMan", "VantleStudio", from the top.
  std::array<ui::Label, kCaptionCount> captions_{ui::Label{"captions_0"}, ui::Label{"captions_1"},
                                                 ui::Label{"captions_2"}};
  ui::Timer clock_{"clock"};
  // Moving ticks since the last picture change, 0 to kTicksPerPicture.
  std::int32_t ticks_since_picture_ = 0;
};

}  // namespace screensaver
