// Background pictures on Windows: read with GDI+ (JPEG or anything else it reads) into a
// device-independent bitmap made once, so that drawing one is a plain blit.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/window.h"

namespace win32 {

class GdiPicture : public ui::Picture {
 public:
  GdiPicture(HBITMAP bitmap, int width, int height)
      : bitmap_(bitmap), width_(width), height_(height) {}
  ~GdiPicture() override;
  GdiPicture(const GdiPicture&) = delete;
  GdiPicture& operator=(const GdiPicture&) = delete;

  HBITMAP Bitmap() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HBITMAP bitmap_;
  int width_;
  int height_;
};

// A JPEG (or any picture GDI+ reads) at a UTF-8 path; null when missing or unreadable.
std::shared_ptr<const ui::Picture> LoadPicture(const std::string& utf8_path);

// The dpi at which a picture's pixels are the screen's.
inline constexpr int kPlainDpi = 96;
// Draws `picture` with its top-left corner at (x, y) pixels of `dc`, at its own size at 96 dpi
// and grown with the window's `dpi` beyond that. A picture not made by LoadPicture draws
// nothing.
void DrawPicture(HDC dc, const ui::Picture& picture, int x, int y, int dpi = kPlainDpi);

// Starts GDI+ for the process (once; cheap after). LoadPicture calls it itself.
void StartGdiPlus();

}  // namespace win32
