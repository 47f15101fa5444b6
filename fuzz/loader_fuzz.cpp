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
using books::LoadFailure;

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
  const books::LoadResult r = file.Load(entry, book);

  const bool own = entry.kind == BookKind::OwnBook;
  const std::size_t lines_a_record = entry.kind == BookKind::IdiomBook ? 1 : 2;
  // The book holds the complete records read, never more than the entry takes.
  FUZZ_CHECK(book.Count() <= entry.word_count);
  FUZZ_CHECK(r.found == book.Count());
  FUZZ_CHECK(r.Ok() || (r.record >= r.found && r.record <= r.found + 1));
  FUZZ_CHECK(r.Ok() == r.message.empty());
  FUZZ_CHECK((r.invalid_sequences == 0) == r.invalid_lines.empty());
  FUZZ_CHECK(std::is_sorted(r.invalid_lines.begin(), r.invalid_lines.end()));

  const std::vector<std::size_t> starts = LineStarts(data);
  const std::size_t lines = starts.size() - 1;
  if (r.Ok()) {
    FUZZ_CHECK(own ? book.Count() >= 2 : book.Count() == entry.word_count);
    FUZZ_CHECK(lines == lines_a_record * book.words.size());
    FUZZ_CHECK(file.Given() == data.size());
  }
  if (r.record == entry.word_count + 1) {
    // Refused at the first record too many: it is there, it was never counted, and of its
    // bytes no more were read than the one read that showed it begins.
    FUZZ_CHECK(r.failure == (own ? LoadFailure::TooManyRecords : LoadFailure::WrongCount));
    FUZZ_CHECK(book.Count() == entry.word_count && r.found == entry.word_count);
    const std::size_t first = lines_a_record * static_cast<std::size_t>(entry.word_count) + 1;
    FUZZ_CHECK(static_cast<std::size_t>(r.line) == first);
    FUZZ_CHECK(lines >= first);
    FUZZ_CHECK(file.Given() <= starts[first - 1] + piece);
  }
  // A refused own book keeps its lines undecoded: its encoding was never decided.
  if (r.Ok() || !own)
    for (const books::Word& word : book.words) {
      FUZZ_CHECK(text::IsValidUtf8(word.english));
      FUZZ_CHECK(text::IsValidUtf8(word.chinese));
    }
  return 0;
}
