#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "os/os.h"

namespace os {

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::string(utf8));
}

std::string Utf8Of(const std::filesystem::path& path) {
  return path.string();
}

InputFile::InputFile(const std::string& utf8_path) {
  // Opening a pipe would wait for a writer and a terminal could become ours, so the file is
  // opened without either and refused unless it is a regular file. The check is made on the
  // opened file: the name may have been given to another since.
  int fd = open(utf8_path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    close(fd);
    fd = -1;
  }
  handle_ = fd;
}

InputFile::~InputFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool InputFile::IsOpen() const {
  return handle_ >= 0;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

int UtcOffset(std::int64_t at) {
  const auto when = static_cast<std::time_t>(at);
  std::tm local{};
  if (!localtime_r(&when, &local)) return 0;
  return static_cast<int>(local.tm_gmtoff);
}

std::string LocalTimeStamp(std::int64_t at) {
  const auto when = static_cast<std::time_t>(at);
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

std::string UserDataDirectory() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return std::string(data_home) + "/vantle";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/share/vantle";
  return {};
}

std::string ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : self.parent_path().string();
}

}  // namespace os
