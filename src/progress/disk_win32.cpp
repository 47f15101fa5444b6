#include <windows.h>
// The journal's CopyFile is its own, not the system's macro for CopyFileW.
#undef CopyFile

#include <string>

#include "os/os.h"
#include "progress/disk.h"

namespace progress::disk {
namespace {

// A file opened for what the journal asks of it, shared with its other users.
HANDLE OpenShared(const std::filesystem::path& path, DWORD access, DWORD disposition,
                  DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, disposition, flags, nullptr);
}

// A quota's "no room", which mingw's headers do not name.
constexpr int kQuotaExceeded = 1295;

int LastError() {
  return static_cast<int>(GetLastError());
}

}  // namespace

std::string Obstacle(const std::filesystem::path& path, bool folder) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const std::string where = "（" + os::Utf8Of(path) + "）";
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const int error = LastError();
    if (!folder && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) return {};
    return ErrorReason(error) + where;
  }
  // A folder's read-only mark says nothing on Windows (Explorer keeps it for its own use).
  if (!folder && (attributes & FILE_ATTRIBUTE_READONLY)) return "文件只读" + where;
  if (folder) return {};
  HANDLE file = OpenShared(path, GENERIC_WRITE, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) {
    const int error = LastError();
    return error == ERROR_ACCESS_DENIED ? "没有写入文件的权限" + where : ErrorReason(error) + where;
  }
  CloseHandle(file);
  return {};
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  HANDLE file = OpenShared(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool OutOfRoom(const std::filesystem::path& file) {
  // Less than this is no room: a few answers' pages of the log.
  constexpr ULONGLONG kLittle = 1 << 20;
  ULARGE_INTEGER free_to_caller{};
  return GetDiskFreeSpaceExW(FolderOf(file).c_str(), &free_to_caller, nullptr, nullptr) &&
         free_to_caller.QuadPart < kLittle;
}

bool MeansNoRoom(int error) {
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == kQuotaExceeded ||
         error == ERROR_FILE_TOO_LARGE;
}

std::string ErrorReason(int error) {
  if (MeansNoRoom(error)) return "磁盘已满";
  switch (error) {
    case ERROR_WRITE_PROTECT:
      return "磁盘只读";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "没有写入的权限";
    case ERROR_DIRECTORY:
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return "路径上有一个同名的文件挡住了文件夹";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return "文件夹不存在";
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE:
      return "读写出错";
    default:
      return "系统错误 " + std::to_string(error);
  }
}

int CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  // Byte for byte; the copy must not exist yet, and is on the disk when this returns.
  if (!CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS))
    return LastError();
  HANDLE copy = OpenShared(to, GENERIC_WRITE, OPEN_EXISTING);
  if (copy == INVALID_HANDLE_VALUE) return LastError();
  const int error = FlushFileBuffers(copy) ? 0 : LastError();
  CloseHandle(copy);
  return error;
}

int SyncFolder(const std::filesystem::path&) {
  // NTFS keeps a folder's names in its own log: there is nothing to sync.
  return 0;
}

SyncedFile::SyncedFile(std::filesystem::path path) : path_(std::move(path)) {}

SyncedFile::~SyncedFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

int SyncedFile::Sync() {
  if (handle_ == -1) {
    HANDLE file = OpenShared(path_, GENERIC_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
      const int error = LastError();
      return error == ERROR_FILE_NOT_FOUND ? 0 : error;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
  }
  return FlushFileBuffers(reinterpret_cast<HANDLE>(handle_)) ? 0 : LastError();
}

}  // namespace progress::disk
