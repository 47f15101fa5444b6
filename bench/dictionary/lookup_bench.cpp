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
    for (const books::Word& word : sample_.words) records.emplace_back(word.english, word.chinese);
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
  std::string EnglishQuery() const { return sample_.words[14999].english; }
  std::string ChineseQuery() const { return sample_.words[14999].chinese.substr(0, 6); }

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

void BmLookUpEnglishWord(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, d.EnglishQuery());
}
BENCHMARK(BmLookUpEnglishWord)->Unit(benchmark::kMillisecond);

void BmLookUpChineseWord(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, d.ChineseQuery());
}
BENCHMARK(BmLookUpChineseWord)->Unit(benchmark::kMillisecond);

void BmLookUpWithoutHit(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, "zqxjv");
}
BENCHMARK(BmLookUpWithoutHit)->Unit(benchmark::kMillisecond);

void BmLookUpEmptyQueryListsAll(benchmark::State& state) {
  Dictionary d;
  LookUp(state, d, "");
}
BENCHMARK(BmLookUpEmptyQueryListsAll)->Unit(benchmark::kMillisecond);

}  // namespace
