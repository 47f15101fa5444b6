#include "progress/disk.h"

#include <ctime>

#include "os/os.h"

namespace progress::disk {

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::string WriteObstacle(const std::filesystem::path& file) {
  if (std::string why = Obstacle(file, false); !why.empty()) return why;
  return Obstacle(FolderOf(file), true);
}

std::string LocalTimeStamp() {
  return os::LocalTimeStamp(static_cast<std::int64_t>(std::time(nullptr)));
}

}  // namespace progress::disk
