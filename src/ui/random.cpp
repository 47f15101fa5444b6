#include "ui/random.h"

#include <cmath>

namespace ui {

int Random::Below(int n) {
  // r * n can round up to n for r just below 1 and large n; keep the result below n.
  int v = static_cast<int>(std::floor(Next() * n));
  return v < n ? v : n - 1;
}

double ClockRandom::Next() {
  // 53 random bits scaled by 2^-53: exactly representable and always below 1.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

}  // namespace ui
