// A dictionary lookup through the Qt binding (offscreen) over a full own book of 30000
// entries: from the lookup to the result painted in the real result box.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <optional>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "dictionary/book_sample.h"
#include "kit/kit.h"
#include "program/program.h"
#include "qt/qt_platform.h"

namespace {

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// The real program with the dictionary window open on a full own book.
struct Looking {
  kit::TempDir dir;
  qtbind::QtPlatform platform;
  ui::ClockRandom random;
  program::Program program{platform, random};
  books::WordBook sample = bench::SampleBook(books::kOwnBookCapacity);
  std::optional<kit::Controls> form;
  QPlainTextEdit* result_box = nullptr;

  Looking() {
    std::vector<kit::Record> records;
    for (const books::Word& word : sample.words) records.emplace_back(word.english, word.chinese);
    kit::WriteOwnBook(dir.Path(), records);
    platform.SetProgramDirectory(dir.Str());
    platform.Deliver([this] {
      program.Start();
      program.Shell().SwitchMode(*program.Shell().Find(shell::Mode::Match),
                                 shell::Mode::Dictionary);
      form.emplace(program.Shell().Find(shell::Mode::Dictionary)->Window());
      form->BookList().SetListIndex(0);  // 《My词库》
      form->ChooseBookButton().Click();
    });
    Settle();
    result_box =
        platform.WindowWidget("dictionary_window")->findChild<QPlainTextEdit*>("result_box");
  }

  // A lookup as Enter in the query box starts it, until the result box has painted.
  void LookUp(const std::string& query) {
    platform.Deliver([&] {
      form->QueryBox().SetText(query);
      form->LookUpButton().Click();
    });
    Settle();
  }
};

// The empty query: all 30000 entries (about 1 MB of text) into a result box that held a
// short result before.
void BmShowAll30000EntriesInTheResultBox(benchmark::State& state) {
  Looking l;
  for (auto _ : state) {
    state.PauseTiming();
    l.LookUp("zqxjv");
    state.ResumeTiming();
    l.LookUp("");
  }
  state.counters["blocks"] = l.result_box->document()->blockCount();
}
BENCHMARK(BmShowAll30000EntriesInTheResultBox)->Unit(benchmark::kMillisecond);

// A typical query after the full list: the long text goes, a short one comes.
void BmReplaceTheFullListByATypicalResult(benchmark::State& state) {
  Looking l;
  const std::string query = l.sample.words[14999].english;
  for (auto _ : state) {
    state.PauseTiming();
    l.LookUp("");
    state.ResumeTiming();
    l.LookUp(query);
  }
  state.counters["blocks"] = l.result_box->document()->blockCount();
}
BENCHMARK(BmReplaceTheFullListByATypicalResult)->Unit(benchmark::kMillisecond);

}  // namespace
