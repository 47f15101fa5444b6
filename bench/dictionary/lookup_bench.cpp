// A dictionary lookup over a full own book of 30000 entries: the scan of both sides and the
// building of the result text, through the real window on the fake platform.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "dictionary/book_sample.h"
#include "kit/kit.h"
#include "program/program.h"
#include "shell/shell.h"
#include "ui/random.h"

namespace {

// The dictionary window of the program on a fake platform, its own book of 30000 entries
// loaded from its file.
class Dictionary {
 public:
  Dictionary() : sample_(bench::SampleBook(books::kOwnBookCapacity)) {
    std::vector<kit::Record> records;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(sample_.WordCount); ++i)
      records.emplace_back(sample_.EnglishEntries[i], sample_.ChineseMeanings[i]);
    kit::WriteOwnBook(dir_.Path(), records);
    platform.program_directory = dir_.Str();
    program_.Start();
    program_.Shell().SwitchMode(*program_.Shell().Find(shell::Mode::Match),
                                shell::Mode::Dictionary);
    ui.emplace(program_.Shell().Find(shell::Mode::Dictionary)->Window());
    ui->BookList().SetListIndex(0);  // 《My词库》: two-line blocks
    ui->ChooseBookButton().Click();
  }

  // The English entry and two Chinese characters of a meaning from the middle of the book.
  std::string EnglishQuery() const { return sample_.EnglishEntries[15000]; }
  std::string ChineseQuery() const { return sample_.ChineseMeanings[15000].substr(0, 6); }

  kit::FakePlatform platform;
  std::optional<kit::Controls> ui;

 private:
  kit::TempDir dir_;
  books::WordBook sample_;
  ui::ClockRandom random_;  // the window draws its background picture from it
  program::Program program_{platform, random_};
};

// "查单词" pressed with `query` in the query box, over and over.
void LookUp(benchmark::State& state, Dictionary& d, const std::string& query) {
  d.ui->QueryBox().SetText(query);
  for (auto _ : state) {
    d.ui->LookUpButton().Click();
    d.platform.picture_requests.clear();
    benchmark::DoNotOptimize(d.ui->ResultBox().Text().data());
  }
  const std::string& result = d.ui->ResultBox().Text();
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
