#include "win32/fonts.h"

#include <cmath>

#include "text/text.h"
#include "win32/convert.h"

namespace win32 {

std::wstring FaceFor(const ui::Font& font, std::string_view text) {
  if (!font.name.empty() && font.name != "宋体") return Widen(font.name);
  if (!text::HasHan(text) && text::HasLatinLetter(text)) return kLatinFace;
  return kSongFace;
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(const ui::Font& font, std::string_view text, int dpi, double points) {
  if (points <= 0) points = font.size > 0 ? font.size : kDefaultPoints;
  // Pixels high, the em square (negative) as points say it.
  const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  auto key = std::make_tuple(FaceFor(font, text), height, font.bold, dpi);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  LOGFONTW wanted{};
  wanted.lfHeight = height;
  wanted.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  wanted.lfCharSet = DEFAULT_CHARSET;
  wanted.lfQuality = CLEARTYPE_QUALITY;
  wanted.lfOutPrecision = OUT_TT_PRECIS;
  lstrcpynW(wanted.lfFaceName, std::get<0>(key).c_str(), LF_FACESIZE);
  HFONT made = CreateFontIndirectW(&wanted);
  fonts_.emplace(std::move(key), made);
  return made;
}

SIZE TextExtent(HDC dc, HFONT font, const std::wstring& text) {
  const SelectedFont selected(dc, font);
  if (text.empty()) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return {0, metrics.tmHeight};
  }
  RECT area{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  return {area.right - area.left, area.bottom - area.top};
}

}  // namespace win32
