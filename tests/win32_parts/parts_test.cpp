// The Win32 media and progress window on a real (or wine's) Windows: pictures read through
// GDI+, speech through SAPI on its error paths, and the progress window's parts read back from
// its child windows.
#include <objidl.h>
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "progress/overview_samples.h"
#include "win32/convert.h"
#include "win32/media/picture.h"
#include "win32/media/speech.h"
#include "win32/progress/progress_window.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own under the temporary folder, with Chinese in its name.
fs::path Folder() {
  static const fs::path kFolder = [] {
    fs::path folder = fs::temp_directory_path() / L"图片测试";
    fs::create_directories(folder);
    return folder;
  }();
  return kFolder;
}

// A JPEG of one colour written by GDI+'s own encoder.
fs::path WriteJpeg(const std::wstring& name, int width, int height, Gdiplus::Color colour) {
  win32::StartGdiPlus();
  UINT count = 0;
  UINT size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  const fs::path path = Folder() / name;
  Gdiplus::Bitmap bitmap(width, height, PixelFormat24bppRGB);
  Gdiplus::Graphics(&bitmap).Clear(colour);
  for (UINT i = 0; i < count; ++i)
    if (std::wstring(codecs[i].MimeType) == L"image/jpeg") {
      EXPECT_EQ(bitmap.Save(path.c_str(), &codecs[i].Clsid, nullptr), Gdiplus::Ok);
    }
  return path;
}

std::string Utf8Path(const fs::path& path) {
  return win32::Narrow(path.wstring());
}

TEST(Picture, LoadsAJpegAtAChinesePathAndBlitsItUnscaled) {
  const fs::path path = WriteJpeg(L"红色.jpg", 40, 30, Gdiplus::Color(255, 200, 0, 0));
  const auto picture = win32::LoadPicture(Utf8Path(path));
  ASSERT_NE(picture, nullptr);
  const auto& gdi = dynamic_cast<const win32::GdiPicture&>(*picture);
  EXPECT_EQ(gdi.Width(), 40);
  EXPECT_EQ(gdi.Height(), 30);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 60, 60);
  HGDIOBJ old = SelectObject(dc, target);
  PatBlt(dc, 0, 0, 60, 60, WHITENESS);
  win32::DrawPicture(dc, *picture, 10, 10);
  const COLORREF inside = GetPixel(dc, 29, 24);
  EXPECT_GT(GetRValue(inside), 150);
  EXPECT_LT(GetGValue(inside), 60);
  EXPECT_EQ(GetPixel(dc, 55, 55), RGB(255, 255, 255));  // drawn unscaled: 40 x 30 from (10, 10)
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(Picture, IsNullForAMissingEmptyOrDamagedFile) {
  const fs::path good = WriteJpeg(L"好.jpg", 16, 16, Gdiplus::Color(255, 0, 0, 200));
  std::string bytes;
  {
    std::ifstream in(good, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const struct {
    const wchar_t* name;
    std::string content;
  } kRows[] = {
      {L"空.jpg", ""}, {L"坏.jpg", "not a picture at all"}, {L"截断.jpg", bytes.substr(0, 2)}};
  for (const auto& row : kRows) {
    std::ofstream(Folder() / row.name, std::ios::binary) << row.content;
    EXPECT_EQ(win32::LoadPicture(Utf8Path(Folder() / row.name)), nullptr) << row.content;
  }
  EXPECT_EQ(win32::LoadPicture(Utf8Path(Folder() / L"没有.jpg")), nullptr);
}

// Wherever it runs, speech ends in a state the menu can say, and never throws or hangs: under
// wine the engine exists but answers E_NOTIMPL, or has no voice at all.
TEST(Speech, EndsInAStateTheMenuCanSayWhateverTheEngineAnswers) {
  win32::Speech speech;
  int changes = 0;
  speech.on_state_changed = [&changes] { ++changes; };
  EXPECT_EQ(speech.State(), win32::Speech::Status::Idle);
  speech.Say("enormous", ui::Language::English);
  speech.Say("巨大的", ui::Language::Chinese);
  speech.Say("again", ui::Language::English);
  const win32::Speech::Status status = speech.State();
  EXPECT_NE(status, win32::Speech::Status::Idle);
  EXPECT_NE(status, win32::Speech::Status::Starting);
  EXPECT_GE(changes, 1);
  if (status == win32::Speech::Status::NoEnglishVoice ||
      status == win32::Speech::Status::NoEngine) {
    EXPECT_TRUE(speech.Voices().empty());
  }
}
}  // namespace
