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

  std::vector<booktool::ListRecord> records;
  booktool::Refusal refusal;
  if (!booktool::ParseList(data, entry.Kind, records, refusal)) {
    FUZZ_CHECK(refusal.Line >= 1 && !refusal.Reason.empty());
    return 0;
  }
  int line = 0;
  for (const booktool::ListRecord& r : records) {
    FUZZ_CHECK(r.Line > line);
    line = r.Line;
    FUZZ_CHECK(text::IsValidUtf8(r.English) && text::IsValidUtf8(r.Chinese));
    FUZZ_CHECK(entry.Kind != books::BookKind::IdiomBook || r.Chinese.empty());
  }

  std::string book_bytes;
  booktool::BookEncoding encoding = booktool::BookEncoding::Gbk;
  if (!booktool::EncodeBook(records, entry, book_bytes, encoding, refusal)) {
    FUZZ_CHECK(!refusal.Reason.empty());
    return 0;
  }
  FUZZ_CHECK(encoding == booktool::BookEncoding::Gbk || entry.Kind == books::BookKind::OwnBook);
  FUZZ_CHECK(book_bytes.ends_with("\r\n"));
  books::WordBook book;
  const books::LoadResult result = fuzz::MemoryFile(book_bytes).Load(entry, book);
  FUZZ_CHECK(result.Ok());
  FUZZ_CHECK(result.InvalidSequences == 0);
  FUZZ_CHECK(booktool::FirstDifference(book, entry, records) == -1);
  return 0;
}
