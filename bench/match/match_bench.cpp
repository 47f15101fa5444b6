// The match game's own work: dealing a board, and a whole round of clicks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "match/form1.h"
#include "program/program.h"
#include "round_setup.h"

namespace {

// The program on a fake platform with a board of group 1 of a 36-record own book dealt.
struct Dealt {
  kit::TempDir dir;
  kit::FakePlatform platform;
  ui::ClockRandom random;
  program::Program program{platform, random};
  match::Form1* form = nullptr;

  Dealt() {
    bench::WriteMatchBook(dir.Path());
    platform.program_directory = dir.Str();
    form = bench::DealGroupOne(program);
  }

  int ButtonOf(int cell) const {
    const auto& order = form->CellOrder;
    return static_cast<int>(std::find(order.begin(), order.end(), cell) - order.begin());
  }
};

void BM_ShuffleRound(benchmark::State& state) {
  Dealt d;
  for (auto _ : state) {
    d.form->ShuffleRound();
    d.platform.picture_requests.clear();
  }
}
BENCHMARK(BM_ShuffleRound);

// 36 clicks clear the board; the last one reports the round and deals the next.
void BM_FullRoundOf36Clicks(benchmark::State& state) {
  Dealt d;
  for (auto _ : state) {
    for (int k = 0; k < match::kPairs; ++k) {
      d.form->Command1[d.ButtonOf(2 * k)].Click();
      d.form->Command1[d.ButtonOf(2 * k + 1)].Click();
    }
    d.platform.messages.clear();
    d.platform.picture_requests.clear();
  }
  if (d.form->MatchedPairs != 0) state.SkipWithError("the round was not won");
}
BENCHMARK(BM_FullRoundOf36Clicks);

}  // namespace
