// The match game's own work: dealing a board, and a whole round of clicks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "match/form1.h"
#include "program/program.h"

namespace {

// The program on a fake platform with a board of group 1 of a 36-record own book dealt.
struct Dealt {
  kit::TempDir dir;
  kit::FakePlatform platform;
  ui::ClockRandom random;
  program::Program program{platform, random};
  match::Form1* form = nullptr;

  Dealt() {
    std::vector<kit::Record> records;
    for (int i = 1; i <= 36; ++i)
      records.emplace_back("word" + std::to_string(i), "词" + std::to_string(i) + "义");
    kit::WriteOwnBook(dir.Path(), records);
    platform.program_directory = dir.Str();
    program.Start();
    form = dynamic_cast<match::Form1*>(program.Shell().Find(shell::Mode::Match));
    const auto& books = form->List1.Items();
    form->List1.SetListIndex(static_cast<int>(
        std::find(books.begin(), books.end(), books::kOwnBookLabel) - books.begin()));
    form->Command3.Click();
    form->List2.SetListIndex(1);
    form->Command2.Click();
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
