#include "booktool/refusal.h"

#include <algorithm>

namespace booktool {

void PrintRefusal(const Failure& refusal, std::ostream& err) {
  Failure said = refusal;
  said.reason = "refused: " + refusal.reason;
  err << base::Describe(said) << "\n";
}

void Refusals::Add(Failure refusal) {
  ++total;
  auto at = std::upper_bound(kept.begin(), kept.end(), refusal.line,
                             [](int line, const Failure& r) { return line < r.line; });
  if (at - kept.begin() >= static_cast<std::ptrdiff_t>(kMaxRefusals)) return;
  kept.insert(at, std::move(refusal));
  if (kept.size() > kMaxRefusals) kept.pop_back();
}

void Refusals::Merge(const Refusals& other) {
  const int sum = total + other.total;
  for (const Failure& r : other.kept) Add(r);
  total = sum;
}

void PrintRefusals(const Refusals& refusals, const std::string& file, std::ostream& err) {
  for (Failure r : refusals.kept) {
    if (r.file.empty()) r.file = file;
    PrintRefusal(r, err);
  }
  const int more = refusals.total - static_cast<int>(refusals.kept.size());
  if (more > 0) PrintRefusal({std::to_string(more) + " more faults not shown", 0, file}, err);
}

}  // namespace booktool
