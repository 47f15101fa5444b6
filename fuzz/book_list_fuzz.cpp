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

  const booktool::Result<std::vector<booktool::ListRecord>> parsed =
      booktool::ParseList(data, entry.kind);
  if (!parsed.Ok()) {
    FUZZ_CHECK(parsed.Refused().line >= 1 && !parsed.Refused().reason.empty());
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

  const booktool::Result<booktool::EncodedBook> encoded = booktool::EncodeBook(records, entry);
  if (!encoded.Ok()) {
    FUZZ_CHECK(!encoded.Refused().reason.empty());
    return 0;
  }
  FUZZ_CHECK(encoded->encoding == booktool::BookEncoding::Gbk ||
             entry.kind == books::BookKind::OwnBook);
  FUZZ_CHECK(encoded->bytes.ends_with("\r\n"));
  books::WordBook book;
  const books::LoadResult result = fuzz::MemoryFile(encoded->bytes).Load(entry, book);
  FUZZ_CHECK(result.Ok());
  FUZZ_CHECK(result.invalid_sequences == 0);
  FUZZ_CHECK(booktool::FirstDifference(book, entry, records) == -1);
  return 0;
}
