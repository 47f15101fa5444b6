#include "progress/disk.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace progress::disk {

std::string Obstacle(const std::filesystem::path& path, bool folder) {
  const int wanted = folder ? W_OK | X_OK : W_OK;
  if (faccessat(AT_FDCWD, path.c_str(), wanted, AT_EACCESS) == 0) return {};
  const int error = errno;
  const std::string where = "（" + path.string() + "）";
  struct stat status {};
  if (error == ENOENT && !folder) return {};
  if (error == EACCES && stat(path.c_str(), &status) == 0 && status.st_uid == geteuid())
    return (folder ? "文件夹只读" : "文件只读") + where;
  if (error == EACCES) return (folder ? "没有在文件夹中写入的权限" : "没有写入文件的权限") + where;
  return ErrorReason(error) + where;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                      static_cast<std::uint64_t>(status.st_ino)};
}

bool OutOfRoom(const std::filesystem::path& file) {
  // Less than this is no room: a few answers' pages of the log.
  constexpr std::uintmax_t kLittle = 1 << 20;
  struct statvfs disk {};
  if (statvfs(FolderOf(file).c_str(), &disk) == 0 &&
      static_cast<std::uintmax_t>(disk.f_bavail) * disk.f_frsize < kLittle)
    return true;
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
  std::uintmax_t largest = 0;
  for (const char* suffix : {"", "-wal"}) {
    std::error_code error;
    const std::uintmax_t size =
        std::filesystem::file_size(std::filesystem::path(file) += suffix, error);
    if (!error) largest = std::max(largest, size);
  }
  return largest + kLittle > limit.rlim_cur;
}

bool MeansNoRoom(int error) {
  return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

std::string ErrorReason(int error) {
  // A file-size limit too: the room the program is given is full.
  if (MeansNoRoom(error)) return "磁盘已满";
  switch (error) {
    case EROFS:
      return "磁盘只读";
    case EACCES:
    case EPERM:
      return "没有写入的权限";
    case ENOTDIR:
    case EEXIST:
      return "路径上有一个同名的文件挡住了文件夹";
    case ENOENT:
      return "文件夹不存在";
    case EIO:
      return "读写出错";
    default:
      return std::strerror(error);
  }
}

int CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  struct stat status {};
  int error = fstat(in, &status) == 0 ? 0 : errno;
  const int out =
      error ? -1 : open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, status.st_mode & 0777);
  if (!error && out < 0) error = errno;
  char buffer[1 << 16];
  while (!error) {
    const ssize_t got = read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = got < 0 ? errno : 0;
      break;
    }
    for (ssize_t done = 0; done < got && !error;) {
      const ssize_t put = write(out, buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno != EINTR) error = errno;
      if (put > 0) done += put;
    }
  }
  if (!error && fsync(out) != 0) error = errno;
  if (out >= 0 && close(out) != 0 && !error) error = errno;
  close(in);
  return error;
}

int SyncFolder(const std::filesystem::path& folder) {
  const int handle =
      open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return errno;
  const int error = fsync(handle) == 0 ? 0 : errno;
  close(handle);
  return error;
}

SyncedFile::SyncedFile(std::filesystem::path path) : path_(std::move(path)) {}

SyncedFile::~SyncedFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

int SyncedFile::Sync() {
  if (handle_ < 0) {
    handle_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle_ < 0) return errno == ENOENT ? 0 : errno;
    if (const int error = SyncFolder(FolderOf(path_))) return error;
  }
  return fdatasync(static_cast<int>(handle_)) == 0 ? 0 : errno;
}

}  // namespace progress::disk
