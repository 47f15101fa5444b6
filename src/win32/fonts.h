// The faces that draw the program's text, chosen here and nowhere else: Chinese in the Song
// face 宋体 (SimSun), which draws its own clear Latin letters beside it, and text with Latin
// letters but no Chinese in a Latin serif face whose l, 1 and I, and O and 0, look plainly
// different. A control draws one font, so the choice is made on its text as a whole.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "ui/control.h"

namespace win32 {

inline constexpr wchar_t kSongFace[] = L"SimSun";
inline constexpr wchar_t kLatinFace[] = L"Times New Roman";
inline constexpr double kDefaultPoints = 9;

// The face that draws `text` in the model's font `font`.
std::wstring FaceFor(const ui::Font& font, std::string_view text);

// The fonts made so far, kept until the cache goes (every control shares them).
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // `font` at `points` (its own size when 0) for `text`, at `dpi`.
  HFONT Get(const ui::Font& font, std::string_view text, int dpi, double points = 0);

 private:
  std::map<std::tuple<std::wstring, int, bool, int>, HFONT> fonts_;
};

// Selects a font into a device context for as long as it lives.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, font)) {}
  ~SelectedFont() { SelectObject(dc_, old_); }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The size `text` takes drawn in `font` (lines broken only where it breaks them), in pixels.
SIZE TextExtent(HDC dc, HFONT font, const std::wstring& text);

}  // namespace win32
