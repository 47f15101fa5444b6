// The files vantle-book reads and writes: a list or book read whole, and the files it makes,
// written atomically, only over regular files and never over a file it reads.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "booktool/refusal.h"

namespace booktool {

// The most a list read whole may hold: four times what a book file may.
inline constexpr std::size_t kMaxReadBytes = 256 * 1024 * 1024;

// The whole regular file at `path`. Refused when it is missing or unreadable, when it is no
// regular file (a folder; a pipe or a device, which may never end) or larger than
// kMaxReadBytes.
Result<std::string> ReadWholeFile(const std::string& path);

// A file a command is to make: its path, whether an existing file may be replaced, and the
// files the command reads, which it must never be.
struct WriteTarget {
  std::string path;
  bool force = false;
  std::vector<std::string> inputs = {};
};

// Whether `target` may be written, symbolic links followed: a missing file may; an existing
// regular file only with force; anything else (a folder, a device, a FIFO, a socket) and any
// of the inputs (the same file by device and inode, through links or hard links) never.
Result<> CheckTarget(const WriteTarget& target);

// Reads the temporary file before it takes the target's name; refuses to let it.
using Verify = std::function<Result<>(const std::string& temp)>;

// Writes `bytes` to `target` through a temporary file beside the file written, which `verify`
// (when given) reads first. A missing file is made with the permissions the user's umask
// gives; an existing one is replaced keeping its permissions (and its owner where we may);
// a symbolic link is followed and the file it points to written the same way. The target
// is looked at again just before it takes the name. Gives the path of the file written; the
// temporary file is gone either way.
Result<std::string> WriteAtomically(const WriteTarget& target, std::string_view bytes,
                                    const Verify& verify = {});

// Makes the folder that is to hold `path`, and the folders above it, where they are missing.
Result<> MakeFolderFor(const std::string& path);

// " into FILE, where the link points" when a link made `written` another file than `path`.
std::string LinkNote(const std::string& path, const std::string& written);

}  // namespace booktool
