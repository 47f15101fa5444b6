#include <shlobj.h>
#include <windows.h>

#include <ctime>

#include "os/os.h"

namespace os {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

namespace {

std::tm LocalTime(std::int64_t at) {
  const auto when = static_cast<std::time_t>(at);
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

}  // namespace

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(Wide(utf8));
}

std::string Utf8Of(const std::filesystem::path& path) {
  return Utf8(path.native());
}

InputFile::InputFile(const std::string& utf8_path) {
  HANDLE file =
      CreateFileW(PathOf(utf8_path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  // Only a file on a disk is read: a pipe or a device could make the program wait.
  if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

InputFile::~InputFile() {
  if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool InputFile::IsOpen() const {
  return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(got);
}

int UtcOffset(std::int64_t at) {
  std::tm local = LocalTime(at);
  local.tm_isdst = -1;
  // The local time read as if it were UTC, less the instant itself.
  return static_cast<int>(_mkgmtime(&local) - static_cast<std::time_t>(at));
}

std::string LocalTimeStamp(std::int64_t at) {
  const std::tm local = LocalTime(at);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

std::string UserDataDirectory() {
  PWSTR roaming = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)))
    folder = Utf8(roaming) + "\\Vantle";
  CoTaskMemFree(roaming);
  return folder;
}

std::string ProgramDirectory() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0) return ".";
    if (n < name.size()) {
      name.resize(n);
      break;
    }
    name.resize(name.size() * 2);
  }
  return Utf8Of(std::filesystem::path(name).parent_path());
}

}  // namespace os
