// The match game's own work: dealing a board, and a whole round of clicks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "match/round.h"
#include "program/program.h"
#include "round_setup.h"

namespace {

// The program on a fake platform with a board of group 1 of a 36-record own book dealt.
struct Dealt {
  kit::TempDir dir;
  kit::FakePlatform platform;
  ui::ClockRandom random;
  program::Program program{platform, random};
  std::optional<kit::Controls> match;

  Dealt() {
    bench::WriteMatchBook(dir.Path());
    platform.program_directory = dir.Str();
    match = bench::DealGroupOne(program);
  }

  // The cells to click, pair by pair, for the board as it is dealt now.
  std::vector<int> ClickOrder() const {
    std::vector<int> order;
    for (int k = 1; k <= match::kPairs; ++k)
      for (const std::string& text : {bench::English(k), bench::Chinese(k)})
        for (int b = 0; b < match::kCells; ++b)
          if (match->Cell(b).Caption() == text) order.push_back(b);
    return order;
  }
};

// The rules alone: 18 words on the board and a deal of its 36 texts.
void BmDealRound(benchmark::State& state) {
  std::vector<books::Word> words;
  for (int k = 1; k <= match::kPairs; ++k) words.push_back({bench::English(k), bench::Chinese(k)});
  ui::ClockRandom random;
  match::Round round;
  for (auto _ : state) {
    round.SetWords(words);
    round.Deal(random);
    benchmark::DoNotOptimize(round.TextOf(0));
  }
}
BENCHMARK(BmDealRound);

// "换组词" and "选组": the group's words dealt anew, shown on the window's 36 cells.
void BmDealAgainThroughTheWindow(benchmark::State& state) {
  Dealt d;
  for (auto _ : state) {
    bench::DealAgain(*d.match);
    d.platform.picture_requests.clear();
  }
}
BENCHMARK(BmDealAgainThroughTheWindow);

// 36 clicks clear the board; the last one reports the round and deals the next.
void BmFullRoundOf36Clicks(benchmark::State& state) {
  Dealt d;
  for (auto _ : state) {
    state.PauseTiming();
    const std::vector<int> order = d.ClickOrder();
    state.ResumeTiming();
    for (int cell : order) d.match->Cell(cell).Click();
    d.platform.messages.clear();
    d.platform.picture_requests.clear();
  }
  if (d.platform.beeps != 0) state.SkipWithError("a pair was wrong");
}
BENCHMARK(BmFullRoundOf36Clicks);

}  // namespace
