// The word-book loader on any bytes as any book: it never stores more records than the label
// allows, stops reading where the first record too many begins, stores only UTF-8, and a book
// it takes has exactly the lines its records need.
#include <cstdint>
#include <vector>

#include "books/gbk.h"
#include "fuzz_book.h"
#include "text/text.h"

namespace {

using books::BookKind;
using books::LoadFault;

// Where each line begins as a book's lines are split (CR, CR LF or LF ends one; a last line
// without its end counts), followed by the end of the bytes.
std::vector<std::size_t> LineStarts(std::string_view data) {
  std::vector<std::size_t> starts;
  std::size_t i = 0;
  while (i < data.size()) {
    starts.push_back(i);
    while (i < data.size() && data[i] != '\r' && data[i] != '\n') ++i;
    if (i < data.size() && data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    if (i < data.size()) ++i;
  }
  starts.push_back(data.size());
  return starts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const books::CatalogueEntry entry = fuzz::TakeEntry(data);
  // Small pieces put every line end across reads; the count of bytes handed over then tells
  // how far the loader read.
  const unsigned char p = fuzz::TakeByte(data);
  const std::size_t piece = p < 0x80 ? 1 + p % 16 : 64 * 1024;
  fuzz::MemoryFile file(data, piece);
  books::WordBook book;
  const books::BookLoad loaded = file.Load(entry, book);

  const bool own = entry.kind == BookKind::OwnBook;
  const std::size_t lines_a_record = entry.kind == BookKind::IdiomBook ? 1 : 2;
  // The book holds the complete records read, never more than the entry takes.
  FUZZ_CHECK(book.Count() <= entry.word_count);
  const books::Decoding& decoded = loaded ? *loaded : loaded.Failed().decoded;
  FUZZ_CHECK((decoded.invalid_sequences == 0) == decoded.invalid_lines.empty());
  FUZZ_CHECK(std::is_sorted(decoded.invalid_lines.begin(), decoded.invalid_lines.end()));

  const std::vector<std::size_t> starts = LineStarts(data);
  const std::size_t lines = starts.size() - 1;
  if (!loaded) {
    const books::LoadFailure& r = loaded.Failed();
    FUZZ_CHECK(r.found == book.Count());
    FUZZ_CHECK(r.record >= r.found && r.record <= r.found + 1);
    FUZZ_CHECK(!r.reason.empty() && r.expected == entry.word_count);
  }
  if (loaded) {
    FUZZ_CHECK(own ? book.Count() >= 2 : book.Count() == entry.word_count);
    FUZZ_CHECK(lines == lines_a_record * book.words.size());
    FUZZ_CHECK(file.Given() == data.size());
  }
  if (!loaded && loaded.Failed().record == entry.word_count + 1) {
    // Refused at the first record too many: it is there, it was never counted, and of its
    // bytes no more were read than the one read that showed it begins.
    const books::LoadFailure& r = loaded.Failed();
    FUZZ_CHECK(r.kind == (own ? LoadFault::TooManyRecords : LoadFault::WrongCount));
    FUZZ_CHECK(book.Count() == entry.word_count && r.found == entry.word_count);
    const std::size_t first = lines_a_record * static_cast<std::size_t>(entry.word_count) + 1;
    FUZZ_CHECK(static_cast<std::size_t>(r.line) == first);
    FUZZ_CHECK(lines >= first);
    FUZZ_CHECK(file.Given() <= starts[first - 1] + piece);
  }
  // A refused own book keeps its lines undecoded: its encoding was never decided.
  if (loaded || !own)
    for (const books::Word& word : book.words) {
      FUZZ_CHECK(text::IsValidUtf8(word.english));
      FUZZ_CHECK(text::IsValidUtf8(word.chinese));
    }
  return 0;
}
