#include "win32/convert.h"

#include <cmath>

namespace win32 {

int ToPixels(int twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

int ToTwips(int pixels, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(pixels) * kTwipsPerInch / dpi));
}

RECT PixelRect(const ui::Control& control, int dpi) {
  const int left = ToPixels(control.Left(), dpi);
  const int top = ToPixels(control.Top(), dpi);
  return {left, top, left + ToPixels(control.Width(), dpi), top + ToPixels(control.Height(), dpi)};
}

std::wstring ShownText(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  std::wstring shown;
  shown.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == L'\r' || c == L'\n') {
      shown += L"\r\n";
      if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') ++i;
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string ModelText(std::wstring_view shown) {
  return Narrow(shown);
}

}  // namespace win32
