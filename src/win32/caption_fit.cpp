#include "win32/caption_fit.h"

#include <algorithm>
#include <vector>

#include "win32/convert.h"

namespace win32 {
namespace {

constexpr UINT kWholeWords = DT_WORDBREAK | DT_NOPREFIX;
// An edit control's breaking: a word wider than the line is broken between characters.
constexpr UINT kAnywhere = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

// The sizes to try from `from` down to `to` points, half a point apart, `to` last.
std::vector<double> SizesDown(double from, double to) {
  std::vector<double> sizes;
  for (double size = from; size > to; size -= 0.5) sizes.push_back(size);
  sizes.push_back(std::min(from, to));
  return sizes;
}

// The lines' height when `text` fits `area` in `font` broken as `format` says; -1 otherwise.
int Fits(HDC dc, HFONT font, const std::wstring& text, SIZE area, UINT format) {
  const SelectedFont selected(dc, font);
  RECT box{0, 0, area.cx, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | format);
  const bool fits = box.right - box.left <= area.cx && box.bottom - box.top <= area.cy;
  return fits ? box.bottom - box.top : -1;
}

}  // namespace

FittedCaption FitCaption(HDC dc, FontCache& fonts, const std::string& caption, const ui::Font& font,
                         SIZE area, int dpi) {
  const double stated = font.size > 0 ? font.size : kDefaultPoints;
  const std::wstring text = ShownText(caption);
  FittedCaption fitted{fonts.Get(font, caption, dpi, stated), kWholeWords, 0};
  if (text.empty()) return fitted;  // a time bar: nothing to fit
  for (const bool break_words : {false, true}) {
    const std::vector<double> sizes =
        break_words ? SizesDown(std::min(stated, kSmallestWholeWordsPoints), 1)
                    : SizesDown(stated, kSmallestWholeWordsPoints);
    const UINT format = break_words ? kAnywhere : kWholeWords;
    for (const double points : sizes) {
      HFONT candidate = fonts.Get(font, caption, dpi, points);
      const int height = Fits(dc, candidate, text, area, format);
      if (height >= 0) return {candidate, format, height};
      fitted = {candidate, format, area.cy};
    }
  }
  // Nothing fits even at the smallest size: shown from the top, as far as it goes.
  return fitted;
}

}  // namespace win32
