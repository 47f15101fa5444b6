#include "booktool/command.h"

namespace booktool {

std::string UsageText(std::string_view usage, bool first) {
  std::string text;
  while (!usage.empty()) {
    const std::size_t end = usage.find('\n');
    text.append(first ? "usage: " : "       ").append(usage.substr(0, end)).append("\n");
    first = false;
    usage.remove_prefix(end == std::string_view::npos ? usage.size() : end + 1);
  }
  return text;
}

int UsageError(const Command& command, std::string_view problem, std::ostream& err) {
  err << "vantle-book " << command.name << ": " << problem << "\n" << UsageText(command.usage);
  return kExitUsage;
}

int Refuse(const Failure& refusal, std::ostream& err) {
  PrintRefusal(refusal, err);
  return kExitRefused;
}

}  // namespace booktool
