#include "ui/platform.h"

#include <ctime>

#include "os/os.h"

namespace ui {

std::int64_t Platform::Now() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

int Platform::UtcOffset(std::int64_t at) {
  return os::UtcOffset(at);
}

}  // namespace ui
