// What the core asks of the operating system beyond standard C++: file names in UTF-8, a file
// opened for reading, the local time and the user's folders. One implementation per system
// (os_posix.cpp, os_win32.cpp); the rest of the core never asks the system itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace os {

// The path a UTF-8 file name names, and a path's name in UTF-8, on every system (Windows keeps
// names in UTF-16; a plain std::string would be taken in the system's code page there).
std::filesystem::path PathOf(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);

// UTF-8 as Windows' wide text (UTF-16) and back, for the calls of the Windows binding; made
// only on Windows.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// A regular file opened for reading. Opening it never waits (a pipe, a device) and never makes
// a terminal the program's; anything but a regular file is refused.
class InputFile {
 public:
  explicit InputFile(const std::string& utf8_path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const;
  // Reads up to `size` bytes: how many, 0 at the end, -1 on an error.
  std::ptrdiff_t Read(char* buffer, std::size_t size);

 private:
  std::intptr_t handle_;
};

// How far east of UTC the local time is at `at` (seconds since 1970, UTC), in seconds.
int UtcOffset(std::int64_t at);
// The local time at `at` as 20260308-101500, for the names of files.
std::string LocalTimeStamp(std::int64_t at);

// The user's data folder for Vantle, without a trailing separator: $XDG_DATA_HOME/vantle or
// ~/.local/share/vantle on Linux, %APPDATA%\Vantle on Windows; empty when the system names none.
std::string UserDataDirectory();
// The folder that holds the running program, without a trailing separator.
std::string ProgramDirectory();

}  // namespace os
