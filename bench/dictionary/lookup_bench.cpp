// A dictionary lookup over a full own book of 30000 entries: the scan of both sides and the
// building of the result text, through the real window on the fake platform.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "dictionary/book_sample.h"
#include "dictionary/form3.h"
#include "kit/kit.h"
#include "program/program.h"
#include "shell/shell.h"
#include "ui/random.h"

namespace {

class Dictionary {
 public:
  Dictionary() {
    form.Form_Load();
    form.Book = bench::SampleBook(books::kOwnBookCapacity);
    form.List1.SetListIndex(0);  // 《My词库》: two-line blocks
  }

  // The English entry and two Chinese characters of a meaning from the middle of the book.
  std::string EnglishQuery() const { return form.Book.EnglishEntries[15000]; }
  std::string ChineseQuery() const { return form.Book.ChineseMeanings[15000].substr(0, 6); }

  kit::FakePlatform platform;
  ui::ClockRandom random;  // the window draws its background picture from it
  shell::Shell shell{platform, random, program::MakeModeWindow};
  dictionary::Form3 form{shell};
};

void LookUp(benchmark::State& state, Dictionary& d, const std::string& query) {
  d.form.Text1.SetText(query);
  for (auto _ : state) {
    d.form.LookUpWord();
    d.platform.picture_requests.clear();
    benchmark::DoNotOptimize(d.form.Text2.Text().data());
  }
  const std::string& result = d.form.Text2.Text();
  state.counters["hits"] = static_cast<double>(bench::CountBlocks(result));
  state.counters["result_bytes"] = static_cast<double>(result.size());
}

void BM_LookUpEnglishWord(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, d.EnglishQuery());
}
BENCHMARK(BM_LookUpEnglishWord)->Unit(benchmark::kMillisecond);

void BM_LookUpChineseWord(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, d.ChineseQuery());
}
BENCHMARK(BM_LookUpChineseWord)->Unit(benchmark::kMillisecond);

void BM_LookUpWithoutHit(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, "zqxjv");
}
BENCHMARK(BM_LookUpWithoutHit)->Unit(benchmark::kMillisecond);

void BM_LookUpEmptyQueryListsAll(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, "");
}
BENCHMARK(BM_LookUpEmptyQueryListsAll)->Unit(benchmark::kMillisecond);

}  // namespace
