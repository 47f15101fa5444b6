#include "booktool/refusal.h"

#include <algorithm>

namespace booktool {

void PrintRefusal(const Refusal& refusal, std::ostream& err) {
  if (!refusal.file.empty()) err << refusal.file;
  if (refusal.line > 0) err << ":" << refusal.line;
  err << (refusal.file.empty() && refusal.line == 0 ? "" : ": ") << "refused: " << refusal.reason
      << "\n";
}

void Refusals::Add(Refusal refusal) {
  ++total;
  auto at = std::upper_bound(kept.begin(), kept.end(), refusal.line,
                             [](int line, const Refusal& r) { return line < r.line; });
  if (at - kept.begin() >= static_cast<std::ptrdiff_t>(kMaxRefusals)) return;
  kept.insert(at, std::move(refusal));
  if (kept.size() > kMaxRefusals) kept.pop_back();
}

void Refusals::Merge(const Refusals& other) {
  const int sum = total + other.total;
  for (const Refusal& r : other.kept) Add(r);
  total = sum;
}

void PrintRefusals(const Refusals& refusals, const std::string& file, std::ostream& err) {
  for (Refusal r : refusals.kept) {
    if (r.file.empty()) r.file = file;
    PrintRefusal(r, err);
  }
  const int more = refusals.total - static_cast<int>(refusals.kept.size());
  if (more > 0) PrintRefusal({file, 0, std::to_string(more) + " more faults not shown"}, err);
}

}  // namespace booktool
