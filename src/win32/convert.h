// Conversions between the windowing layer's values and Win32's: twips to pixels at a dpi,
// UTF-8 model text to the UTF-16 the wide-character APIs take and back.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "os/os.h"
#include "ui/control.h"

namespace win32 {

// 1440 twips to the inch: 15 twips a pixel at 96 dpi.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kBaseDpi = 96;

// Twips to pixels at `dpi`, rounded to the nearest pixel (the model itself never rounds).
int ToPixels(int twips, int dpi);
// Pixels at `dpi` to twips.
int ToTwips(int pixels, int dpi);
// The control's rectangle in pixels at `dpi`, relative to its window's client area.
RECT PixelRect(const ui::Control& control, int dpi);

// UTF-8 to UTF-16 and back: the system's side of the core converts (one copy of it).
inline std::wstring Widen(std::string_view utf8) {
  return os::Wide(utf8);
}
inline std::string Narrow(std::wstring_view utf16) {
  return os::Utf8(utf16);
}
// Model text as shown: every line ends with CR LF, as the edit and static controls want it.
std::wstring ShownText(std::string_view utf8);
// Text the user typed, for the model: CR LF as it stands.
std::string ModelText(std::wstring_view shown);

// The model's colours are COLORREFs already (0x00BBGGRR).
inline COLORREF ToColorRef(ui::Color color) {
  return static_cast<COLORREF>(color);
}

}  // namespace win32
