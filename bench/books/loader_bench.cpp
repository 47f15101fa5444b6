// Loading the largest books from disk: the idiom book (17508 lines), the largest catalogue
// book (6489 records) and a full own book (30000 records).
#include <benchmark/benchmark.h>

#include <string>

#include "books/catalogue.h"
#include "books/gbk.h"
#include "books/loader.h"
#include "kit/files.h"

namespace {

// Chinese text of a record: characters picked from a fixed alphabet, as GBK.
std::string ChineseText(int i, int length) {
  static const std::string kAlphabet =
      kit::Gbk("的一是不了在人有我他这中大来上国个到说们为子和你地出道也时年");
  std::string out;
  for (int k = 0; k < length; ++k, i = i * 7 + 3)
    out.append(kAlphabet, static_cast<std::size_t>((i % 31) * 2), 2);
  return out;
}

std::string EnglishText(int i) {
  std::string word = "w";
  for (int k = 0; k < 7; ++k, i /= 26) word += static_cast<char>('a' + i % 26);
  return word;
}

class Books {
 public:
  Books() {
    std::string idioms, catalogue, own;
    for (int i = 1; i <= 17508; ++i) idioms += ChineseText(i, 4) + "\r\n";
    for (int i = 1; i <= 6489; ++i) {
      std::string english = EnglishText(i);
      if (i > 1) books::LowerFirstCharacter(english);
      catalogue += english + "\r\n" + ChineseText(i, 5) + "0 1\r\n";
    }
    for (int i = 1; i <= 30000; ++i) own += EnglishText(i) + "\r\n" + ChineseText(i, 5) + "\r\n";
    kit::WriteFile(Idioms(), idioms);
    kit::WriteFile(Catalogue(), catalogue);
    kit::WriteFile(Own(), own);
  }
  std::string Idioms() const { return dir_.Str() + "/Study/《成语大全》.txt"; }
  std::string Catalogue() const { return dir_.Str() + "/Study/《研究生英语入学考试大纲》(6489)"; }
  std::string Own() const { return dir_.Str() + "/《My词库》.txt"; }

 private:
  kit::TempDir dir_;
};

const Books& Files() {
  static const Books kBooks;
  return kBooks;
}

void Load(benchmark::State& state, const std::string& path, std::string_view label, int count) {
  const books::CatalogueEntry& entry = *books::FindEntry(books::BookCatalogue(), label);
  books::WordBook book;
  for (auto _ : state) {
    const books::BookLoad loaded = books::ReadWordBook(path, entry, book);
    if (!loaded || book.Count() != count)
      state.SkipWithError(loaded ? "another count of records" : loaded.Failed().reason.c_str());
    benchmark::DoNotOptimize(book.words.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}

void BmLoadIdiomBook(benchmark::State& state) {
  Load(state, Files().Idioms(), books::kIdiomBookLabel, 17508);
}
void BmLoadCatalogueBook6489(benchmark::State& state) {
  Load(state, Files().Catalogue(), "《研究生英语入学考试大纲》(6489)", 6489);
}
void BmLoadOwnBook30000(benchmark::State& state) {
  Load(state, Files().Own(), books::kOwnBookLabel, 30000);
}

BENCHMARK(BmLoadIdiomBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BmLoadCatalogueBook6489)->Unit(benchmark::kMillisecond);
BENCHMARK(BmLoadOwnBook30000)->Unit(benchmark::kMillisecond);

}  // namespace
