#include "booktool/files.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "text/text.h"

namespace booktool {
namespace {

namespace fs = std::filesystem;

// Why an existing file is not replaced.
constexpr std::string_view kNoForce = "exists already; give --force to replace it";

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISSOCK(mode)) return "a socket";
  return "no regular file";
}

std::string SystemError(std::string_view what) {
  return std::string(what) + " (" + strerror(errno) + ")";
}

// What a path names once its symbolic links are followed.
struct Resolved {
  std::string path;
  bool exists = false;
  struct stat status {};
};

Result<Resolved> Resolve(const std::string& path) {
  Resolved resolved{path};
  for (int links = 0; links < 40; ++links) {
    if (lstat(resolved.path.c_str(), &resolved.status) != 0) {
      if (errno == ENOENT) return resolved;
      return Failure{SystemError("cannot be looked at"), 0, path};
    }
    resolved.exists = true;
    if (!S_ISLNK(resolved.status.st_mode)) return resolved;
    std::error_code ec;
    const fs::path to = fs::read_symlink(resolved.path, ec);
    if (ec) return Failure{"the symbolic link cannot be read (" + ec.message() + ")", 0, path};
    resolved.path = (to.is_absolute() ? to : fs::path(resolved.path).parent_path() / to).string();
    resolved.exists = false;
  }
  return Failure{"too many levels of symbolic links", 0, path};
}

// Whether the file `status` describes, at `target.path`, may be replaced.
Result<> Replaceable(const WriteTarget& target, const struct stat& status, bool exists) {
  if (!exists) return {};
  if (!S_ISREG(status.st_mode))
    return Failure{"is " + KindOf(status.st_mode) +
                       ", not a regular file; only a regular file is replaced, with --force or "
                       "without",
                   0, target.path};
  for (const std::string& input : target.inputs) {
    struct stat read;
    if (stat(input.c_str(), &read) == 0 && read.st_dev == status.st_dev &&
        read.st_ino == status.st_ino)
      return Failure{"is " + input +
                         ", the file being read; it is never written over, with --force or "
                         "without",
                     0, target.path};
  }
  if (target.force) return {};
  return Failure{std::string(kNoForce), 0, target.path};
}

// A new file beside `target` for writing, with a name of its own; its permissions are what
// the umask leaves of rw-rw-rw-, as for any new file.
Result<std::pair<int, std::string>> CreateTemporary(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = text::Concat({".", target.filename().string(), "."});
    for (int i = 0; i < 6; ++i) name += kLetters[random() % kLetters.size()];
    const std::string temp = (folder / name).string();
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) return std::pair{fd, temp};
    if (errno != EEXIST) break;
  }
  return Failure{SystemError("cannot create a file in " + folder.string()), 0, target.string()};
}

bool WriteAll(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Gives the temporary file the name `resolved`, replacing a file there only with force.
Result<> TakeName(const std::string& temp, const Resolved& resolved, const WriteTarget& target) {
  if (target.force) {
    if (rename(temp.c_str(), resolved.path.c_str()) == 0) return {};
    return Failure{SystemError("cannot take the name"), 0, target.path};
  }
  // A hard link takes the name only while nobody has it, so no file is ever replaced; where
  // the file system has no hard links, the name is taken by renaming once it is seen free.
  if (link(temp.c_str(), resolved.path.c_str()) == 0) return {};
  std::error_code ec;
  if (errno == EEXIST || fs::exists(fs::symlink_status(resolved.path, ec)))
    return Failure{std::string(kNoForce), 0, target.path};
  if (rename(temp.c_str(), resolved.path.c_str()) == 0) return {};
  return Failure{SystemError("cannot take the name"), 0, target.path};
}

// Writes the temporary file `fd` in full. A replaced file keeps its permissions, and its
// owner where we may give it.
Result<> WriteContent(int fd, std::string_view bytes, const Resolved& resolved,
                      const WriteTarget& target) {
  if (resolved.exists) {
    if (fchmod(fd, resolved.status.st_mode & 07777) != 0)
      return Failure{SystemError("cannot keep its permissions"), 0, target.path};
    if (fchown(fd, resolved.status.st_uid, resolved.status.st_gid) != 0) {
      // Only root may give a file away; the file then stays ours, with the same permissions.
    }
  }
  if (!WriteAll(fd, bytes) || fsync(fd) != 0)
    return Failure{SystemError("cannot write"), 0, target.path};
  return {};
}

// Lets the written temporary file take the name, after looking once more at what the name
// stands for: it may have been given to something else while the file was written.
Result<> Commit(const std::string& temp, const Resolved& resolved, const WriteTarget& target) {
  struct stat now;
  const bool there = lstat(resolved.path.c_str(), &now) == 0;
  Result<> still = Replaceable(target, now, there);
  if (!still.Ok()) return still;
  return TakeName(temp, resolved, target);
}

}  // namespace

Result<std::string> ReadWholeFile(const std::string& path) {
  // Opened without waiting for a pipe's writer or taking a terminal, then refused unless it
  // is a regular file: the name may have been given to another since it was looked at.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Failure{SystemError("cannot be read"), 0, path};
  struct stat status;
  std::string bytes;
  std::string problem;
  if (fstat(fd, &status) != 0) {
    problem = SystemError("cannot be read");
  } else if (!S_ISREG(status.st_mode)) {
    problem = "is " + KindOf(status.st_mode) + ", not a regular file";
  } else if (static_cast<std::size_t>(status.st_size) > kMaxReadBytes) {
    problem = "is larger than " + std::to_string(kMaxReadBytes / (1024 * 1024)) +
              " MB: no word list is that large";
  }
  char buffer[64 * 1024];
  while (problem.empty()) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) problem = SystemError("cannot be read");
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > kMaxReadBytes)
      problem = "is larger than " + std::to_string(kMaxReadBytes / (1024 * 1024)) +
                " MB: no word list is that large";
  }
  close(fd);
  if (!problem.empty()) return Failure{problem, 0, path};
  return bytes;
}

Result<> CheckTarget(const WriteTarget& target) {
  Result<Resolved> resolved = Resolve(target.path);
  if (!resolved.Ok()) return resolved.Failed();
  return Replaceable(target, resolved->status, resolved->exists);
}

Result<std::string> WriteAtomically(const WriteTarget& target, std::string_view bytes,
                                    const Verify& verify) {
  Result<Resolved> resolved = Resolve(target.path);
  if (!resolved.Ok()) return resolved.Failed();
  Result<> replaceable = Replaceable(target, resolved->status, resolved->exists);
  if (!replaceable.Ok()) return replaceable.Failed();
  auto temporary = CreateTemporary(resolved->path);
  if (!temporary.Ok()) return temporary.Failed();
  const auto& [fd, temp] = *temporary;
  Result<> done = WriteContent(fd, bytes, *resolved, target);
  if (close(fd) != 0 && done.Ok()) done = Failure{SystemError("cannot write"), 0, target.path};
  if (done.Ok() && verify) done = verify(temp);
  if (done.Ok()) done = Commit(temp, *resolved, target);
  unlink(temp.c_str());
  if (!done.Ok()) return done.Failed();
  return resolved->path;
}

Result<> MakeFolderFor(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Failure{"cannot be made (" + ec.message() + ")", 0, folder.string()};
  return {};
}

std::string LinkNote(const std::string& path, const std::string& written) {
  return written == path ? std::string() : " into " + written + ", where the link points";
}

}  // namespace booktool
