// The list reader behind `vantle-book convert` on any text as any book: what it takes is
// UTF-8, and a list it makes a book of loads back exactly as the list.
#include <cstdint>
#include <vector>

#include "books/gbk.h"
#include "booktool/book_check.h"
#include "booktool/book_list.h"
#include "fuzz_book.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const books::CatalogueEntry entry = fuzz::TakeEntry(data);

  const base::Result<std::vector<booktool::ListRecord>, booktool::ListFailure> parsed =
      booktool::ParseList(data, entry.kind);
  if (!parsed.Ok()) {
    const booktool::ListFailure& refused = parsed.Failed();
    FUZZ_CHECK(refused.line >= 1 && !refused.reason.empty());
    FUZZ_CHECK(refused.faults.total >= 1 && refused.faults.kept.front().line == refused.line);
    for (const booktool::ListRecord& r : refused.readable) FUZZ_CHECK(r.line != refused.line);
    return 0;
  }
  const std::vector<booktool::ListRecord>& records = *parsed;
  int line = 0;
  for (const booktool::ListRecord& r : records) {
    FUZZ_CHECK(r.line > line);
    line = r.line;
    FUZZ_CHECK(text::IsValidUtf8(r.english) && text::IsValidUtf8(r.chinese));
    FUZZ_CHECK(entry.kind != books::BookKind::IdiomBook || r.chinese.empty());
  }

  const base::Result<booktool::EncodedBook, booktool::ListFailure> encoded =
      booktool::EncodeBook(records, entry);
  if (!encoded.Ok()) {
    FUZZ_CHECK(!encoded.Failed().reason.empty());
    return 0;
  }
  FUZZ_CHECK(encoded->encoding == books::Encoding::Gbk || entry.kind == books::BookKind::OwnBook);
  FUZZ_CHECK(encoded->bytes.ends_with("\r\n"));
  books::WordBook book;
  const books::BookLoad loaded = fuzz::MemoryFile(encoded->bytes).Load(entry, book);
  FUZZ_CHECK(loaded.Ok());
  FUZZ_CHECK(loaded->invalid_sequences == 0);
  FUZZ_CHECK(booktool::FirstDifference(book, entry, records) == -1);
  return 0;
}
