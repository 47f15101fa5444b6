// Captions of fixed-size buttons and labels (board cells, answer buttons, the match marker)
// fitted to their area whole, as the Qt binding fits them: lines break between words, and a
// caption too big at its font's size is drawn smaller, half a point at a time, down to
// kSmallestWholeWordsPoints; only a caption that does not fit even then has a word broken,
// down to a point.
#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"
#include "win32/fonts.h"

namespace win32 {

inline constexpr double kSmallestWholeWordsPoints = 7;

struct FittedCaption {
  HFONT font = nullptr;
  UINT format = 0;  // DrawText's line breaking: by words, or inside words too
  int height = 0;   // the lines' height in pixels
};

// The largest font, from `font`'s size down, that fits `caption` (UTF-8) in `area`.
FittedCaption FitCaption(HDC dc, FontCache& fonts, const std::string& caption, const ui::Font& font,
                         SIZE area, int dpi);

}  // namespace win32
