// Writing the files vantle-book makes: atomically, and only over regular files.
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "booktool/commands.h"

namespace booktool {
namespace {

namespace fs = std::filesystem;

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISSOCK(mode)) return "a socket";
  return "no regular file";
}

std::string SystemError(const char* what) {
  std::string text = what;
  text.append(" (").append(strerror(errno)).append(")");
  return text;
}

// Follows `path` through symbolic links to what it names; `st` is that file's status, when
// `exists`. False with `error` when the links go round or cannot be read.
bool Resolve(const std::string& path, std::string& resolved, bool& exists, struct stat& st,
             std::string& error) {
  resolved = path;
  for (int links = 0; links < 40; ++links) {
    if (lstat(resolved.c_str(), &st) != 0) {
      exists = false;
      if (errno == ENOENT) return true;
      error = SystemError("cannot be looked at");
      return false;
    }
    exists = true;
    if (!S_ISLNK(st.st_mode)) return true;
    std::error_code ec;
    const fs::path to = fs::read_symlink(resolved, ec);
    if (ec) {
      error = "the symbolic link cannot be read (" + ec.message() + ")";
      return false;
    }
    resolved = (to.is_absolute() ? to : fs::path(resolved).parent_path() / to).string();
  }
  error = "too many levels of symbolic links";
  return false;
}

bool Allowed(const struct stat& st, bool exists, bool force, std::string& error) {
  if (!exists) return true;
  if (!S_ISREG(st.st_mode)) {
    error = "is " + KindOf(st.st_mode) +
            ", not a regular file; only a regular file is replaced, with --force or without";
    return false;
  }
  if (force) return true;
  error = "exists already; give --force to replace it";
  return false;
}

}  // namespace

bool WritableTarget(const std::string& path, bool force, std::string& resolved, bool& exists,
                    std::string& error) {
  struct stat st;
  return Resolve(path, resolved, exists, st, error) && Allowed(st, exists, force, error);
}

bool TargetFree(const std::string& target, bool force, std::ostream& err) {
  std::string resolved, error;
  bool exists = false;
  if (WritableTarget(target, force, resolved, exists, error)) return true;
  err << target << ": " << error << "\n";
  return false;
}

bool WriteAtomically(const std::string& path, const std::string& bytes, bool force,
                     std::string& error,
                     const std::function<bool(const std::string&, std::string&)>& verify,
                     std::string* written) {
  std::string resolved;
  bool exists = false;
  struct stat st;
  if (!Resolve(path, resolved, exists, st, error) || !Allowed(st, exists, force, error))
    return false;
  if (written) *written = resolved;
  const fs::path target(resolved);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  // Named piece by piece: a literal put before a temporary string makes GCC 12 at -O3 warn of
  // an overlapping copy (-Wrestrict) that cannot happen.
  std::string name = ".";
  name.append(target.filename().string()).append(".XXXXXX");
  std::string temp = (folder / name).string();
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot create a file in " + folder.string() + " (" + strerror(errno) + ")";
    return false;
  }
  // A replaced file keeps its permissions, and its owner where we may give it.
  bool ok = fchmod(fd, exists ? st.st_mode & 07777 : 0644) == 0;
  if (ok && exists && fchown(fd, st.st_uid, st.st_gid) != 0) {
    // Only root may give a file away; the file then stays ours, with the same permissions.
  }
  for (std::size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && fsync(fd) == 0;
  if (!ok) error = SystemError("cannot write");
  ok = close(fd) == 0 && ok;
  if (ok && verify && !verify(temp, error)) ok = false;
  // What the name stands for is looked at once more: it may have been given to something
  // else while the file was written.
  if (ok) {
    struct stat now;
    const bool there = lstat(resolved.c_str(), &now) == 0;
    ok = Allowed(now, there, force, error);
  }
  if (ok && force && rename(temp.c_str(), resolved.c_str()) != 0) {
    error = SystemError("cannot take the name");
    ok = false;
  } else if (ok && !force && link(temp.c_str(), resolved.c_str()) != 0) {
    // A hard link takes the name only while nobody has it, so no file is ever replaced; where
    // the file system has no hard links, the name is taken by renaming once it is seen free.
    const int link_error = errno;
    std::error_code ec;
    if (link_error == EEXIST || fs::exists(fs::symlink_status(target, ec))) {
      error = "exists already; give --force to replace it";
      ok = false;
    } else if (rename(temp.c_str(), resolved.c_str()) != 0) {
      error = SystemError("cannot take the name");
      ok = false;
    }
  }
  unlink(temp.c_str());
  return ok;
}

}  // namespace booktool
