// The program-wide source of random fractions 0 <= r < 1.
#pragma once

#include <cstdint>
#include <random>

namespace ui {

class Random {
 public:
  virtual ~Random() = default;
  // A fraction r with 0 <= r < 1.
  virtual double Next() = 0;
  virtual void Reseed(std::uint64_t seed) = 0;

  // floor(r * n), an integer from 0 to n - 1 (n >= 1).
  int Below(int n);
};

class ClockRandom : public Random {
 public:
  double Next() override;
  void Reseed(std::uint64_t seed) override { engine_.seed(seed); }

 private:
  std::mt19937_64 engine_{0x5eed};
};

}  // namespace ui
