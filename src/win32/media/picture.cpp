#include "win32/media/picture.h"

#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>

#include <string>

#include "os/os.h"

namespace win32 {

namespace {

// The file's bytes as a stream GDI+ reads from: the file itself is closed at once, never held
// open (and locked) for as long as the picture lives.
IStream* ReadFile(const std::string& utf8_path) {
  constexpr std::size_t kLargest = std::size_t{1} << 28;  // no background is near this
  os::InputFile file(utf8_path);
  if (!file.IsOpen()) return nullptr;
  std::string bytes;
  char buffer[1 << 16];
  for (std::ptrdiff_t n; (n = file.Read(buffer, sizeof buffer)) > 0 && bytes.size() < kLargest;)
    bytes.append(buffer, static_cast<std::size_t>(n));
  if (bytes.empty() || bytes.size() >= kLargest) return nullptr;
  return SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<UINT>(bytes.size()));
}

}  // namespace

GdiPicture::~GdiPicture() {
  DeleteObject(bitmap_);
}

void StartGdiPlus() {
  static const bool kStarted = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    // Never shut down: pictures live until the end of the process.
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  (void)kStarted;
}

std::shared_ptr<const ui::Picture> LoadPicture(const std::string& utf8_path) {
  StartGdiPlus();
  IStream* stream = ReadFile(utf8_path);
  if (!stream) return nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  {
    Gdiplus::Bitmap image(stream);
    if (image.GetLastStatus() == Gdiplus::Ok) {
      width = static_cast<int>(image.GetWidth());
      height = static_cast<int>(image.GetHeight());
      if (image.GetHBITMAP(Gdiplus::Color(255, 255, 255), &bitmap) != Gdiplus::Ok) bitmap = nullptr;
    }
  }
  stream->Release();
  if (!bitmap || width <= 0 || height <= 0) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  return std::make_shared<GdiPicture>(bitmap, width, height);
}

void DrawPicture(HDC dc, const ui::Picture& picture, int x, int y, int dpi) {
  const auto* gdi = dynamic_cast<const GdiPicture*>(&picture);
  if (!gdi) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, gdi->Bitmap());
  if (dpi == kPlainDpi) {
    BitBlt(dc, x, y, gdi->Width(), gdi->Height(), source, 0, 0, SRCCOPY);
  } else {
    // A picture's pixels are the window's pixels at 96 dpi: it grows with the window.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, MulDiv(gdi->Width(), dpi, kPlainDpi),
               MulDiv(gdi->Height(), dpi, kPlainDpi), source, 0, 0, gdi->Width(), gdi->Height(),
               SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace win32
