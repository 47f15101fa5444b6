// What the journal asks of the system, all in this one place: the identity of a file, copies
// byte for byte, syncs to the disk, why a file or a folder cannot be written, and the local
// time. disk_posix.cpp and disk_win32.cpp ask each system its own way; error numbers are the
// system's own (errno, or Windows' GetLastError and SQLite's system error, which is that).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace progress::disk {

// The file a path names, as the system knows it: a file renamed over it, or made anew in its
// place, has another identity.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path`; none when nothing is there.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// The folder that holds `file` ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& file);

// Why `path` (the file, or the folder when `folder`) cannot be written; empty when it can or
// when it does not exist. Asked with the program's own rights, as opening would use them.
std::string Obstacle(const std::filesystem::path& path, bool folder);

// What stands in the way of writing `file` (which need not exist yet) and making files beside
// it, as the learner reads it ("文件夹只读（/home/li/.local/share/vantle）"); empty when the
// system sees nothing in the way.
std::string WriteObstacle(const std::filesystem::path& file);

// Whether a write of `file` may have failed for want of room: little room left on its disk,
// or files limited to a size that it or its log has nearly reached.
bool OutOfRoom(const std::filesystem::path& file);

// Whether the error number says there was no room to write (a full disk, a quota, a file-size
// limit).
bool MeansNoRoom(int error);

// What a failed system call's error number means to the learner.
std::string ErrorReason(int error);

// Copies `from` to `to`, which must not exist yet, byte for byte with the same permissions,
// and syncs the copy. The error number when it failed, else 0.
int CopyFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Syncs the folder's list of names (after a file in it was made or renamed). The error
// number when it failed, else 0.
int SyncFolder(const std::filesystem::path& folder);

// A file whose data is written to the disk on demand, from any one thread at a time. It is
// opened at the first sync; the first sync also syncs its folder, where its name is.
class SyncedFile {
 public:
  explicit SyncedFile(std::filesystem::path path);
  ~SyncedFile();
  SyncedFile(const SyncedFile&) = delete;
  SyncedFile& operator=(const SyncedFile&) = delete;
  // Writes what the system holds of the file to the disk: 0, or the error number. A file that
  // does not exist has nothing to write.
  int Sync();

 private:
  std::filesystem::path path_;
  std::intptr_t handle_ = -1;
};

// The local time now as 20260308-101500, for the names of files.
std::string LocalTimeStamp();

}  // namespace progress::disk
