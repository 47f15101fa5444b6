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
  const auto capacity = static_cast<std::size_t>(entry.word_count) + 1;
  FUZZ_CHECK(book.english_entries.size() == capacity && book.chinese_meanings.size() == capacity);
  FUZZ_CHECK(book.record_index >= 0 && book.record_index <= entry.word_count);
  const books::Decoding& decoded = loaded ? *loaded : loaded.Failed().decoded;
  FUZZ_CHECK((decoded.invalid_sequences == 0) == decoded.invalid_lines.empty());
  FUZZ_CHECK(std::is_sorted(decoded.invalid_lines.begin(), decoded.invalid_lines.end()));

  const std::vector<std::size_t> starts = LineStarts(data);
  const std::size_t lines = starts.size() - 1;
  if (!loaded) {
    const books::LoadFailure& r = loaded.Failed();
    FUZZ_CHECK(r.found >= 0 && r.found <= book.record_index);
    FUZZ_CHECK(!r.reason.empty() && r.expected == entry.word_count);
  }
  if (loaded) {
    FUZZ_CHECK(book.word_count == book.record_index);
    FUZZ_CHECK(own ? book.word_count >= 2 : book.word_count == entry.word_count);
    FUZZ_CHECK(lines == lines_a_record * static_cast<std::size_t>(book.word_count));
    FUZZ_CHECK(file.Given() == data.size());
    FUZZ_CHECK(book.english_entries[0].empty() && book.chinese_meanings[0].empty());
  }
  if (!loaded && loaded.Failed().record == entry.word_count + 1) {
    // Refused at the first record too many: it is there, it was never counted, and of its
    // bytes no more were read than the one read that showed it begins.
    const books::LoadFailure& r = loaded.Failed();
    FUZZ_CHECK(r.kind == (own ? LoadFault::TooManyRecords : LoadFault::WrongCount));
    FUZZ_CHECK(book.record_index == entry.word_count && r.found == entry.word_count);
    const std::size_t first = lines_a_record * static_cast<std::size_t>(entry.word_count) + 1;
    FUZZ_CHECK(static_cast<std::size_t>(r.line) == first);
    FUZZ_CHECK(lines >= first);
    FUZZ_CHECK(file.Given() <= starts[first - 1] + piece);
  }
  // A refused own book keeps its lines undecoded: its encoding was never decided.
  if (loaded || !own)
    for (int i = 0; i <= book.record_index; ++i) {
      const auto k = static_cast<std::size_t>(i);
      FUZZ_CHECK(text::IsValidUtf8(book.english_entries[k]));
      FUZZ_CHECK(text::IsValidUtf8(book.chinese_meanings[k]));
    }
  return 0;
}
