#include "ui/platform.h"

#include <ctime>

namespace ui {

std::int64_t Platform::Now() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

int Platform::UtcOffset(std::int64_t at) {
  const auto when = static_cast<std::time_t>(at);
  std::tm local{};
  if (!localtime_r(&when, &local)) return 0;
  return static_cast<int>(local.tm_gmtoff);
}

}  // namespace ui
