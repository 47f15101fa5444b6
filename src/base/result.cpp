#include "base/result.h"

namespace base {

std::string Describe(const Failure& failure) {
  std::string text;
  if (!failure.file.empty()) text += failure.file + ":";
  if (failure.line > 0) text += std::to_string(failure.line) + ":";
  if (!text.empty()) text += " ";
  return text + failure.reason;
}

}  // namespace base
