#include "win32/settings.h"

#include <windows.h>

#include "win32/convert.h"

namespace win32 {

std::wstring Settings::Read(const wchar_t* section, const wchar_t* key) const {
  wchar_t value[512] = {};
  GetPrivateProfileStringW(section, key, L"", value, 512, Widen(file_).c_str());
  return value;
}

void Settings::Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
  const std::wstring file = Widen(file_);
  const std::size_t folder_end = file.find_last_of(L"\\/");
  if (folder_end != std::wstring::npos)
    CreateDirectoryW(file.substr(0, folder_end).c_str(), nullptr);
  WritePrivateProfileStringW(section, key, value.c_str(), file.c_str());
  // Out to the file at once (wine keeps a profile it once found missing in memory).
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
}

bool Settings::Flag(std::optional<bool>& kept, const wchar_t* section, const wchar_t* key,
                    bool fallback) {
  if (!kept) {
    const std::wstring value = Read(section, key);
    kept = value.empty() ? fallback : value == L"true";
  }
  return *kept;
}

void Settings::SetFlag(std::optional<bool>& kept, const wchar_t* section, const wchar_t* key,
                       bool on, bool fallback) {
  if (Flag(kept, section, key, fallback) == on) return;
  kept = on;
  Write(section, key, on ? L"true" : L"false");
}

std::string Settings::Voice() {
  if (!voice_) voice_ = Narrow(Read(L"speech", L"voice"));
  return *voice_;
}

void Settings::SetVoice(const std::string& name) {
  if (Voice() == name) return;
  voice_ = name;
  Write(L"speech", L"voice", Widen(name));
}

}  // namespace win32
