// The readers behind `vantle-book import` (CSV, flash-card exports, KVTML) on any bytes, in
// any format and with any columns: what they give is UTF-8 in line order, sifting puts every
// record in exactly one place, and the records it keeps make an own book that loads back
// exactly as they read.
#include <cstdint>
#include <vector>

#include "books/gbk.h"
#include "booktool/book_check.h"
#include "booktool/book_list.h"
#include "booktool/import.h"
#include "fuzz_book.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const unsigned char how = fuzz::TakeByte(data);
  booktool::ImportOptions options;
  options.format = static_cast<booktool::ListFormat>(how % 4);
  if (how & 4) options.columns = {"2", "1"};
  const base::Result<booktool::ImportedList> imported = booktool::ParseImport(data, options);
  if (!imported.Ok()) return 0;
  const booktool::ImportedList& list = *imported;
  int line = 0;
  for (const booktool::ListRecord& r : list.records) {
    FUZZ_CHECK(r.line >= line);
    line = r.line;
    FUZZ_CHECK(text::IsValidUtf8(r.english) && text::IsValidUtf8(r.chinese));
  }

  const books::CatalogueEntry& own = books::BookCatalogue().front();
  const booktool::SiftedList sifted = booktool::SiftRecords(list.records, own, (how & 8) != 0);
  FUZZ_CHECK(sifted.kept.size() + sifted.bad.size() + static_cast<std::size_t>(sifted.dropped) ==
             list.records.size());
  if (sifted.kept.size() < 2) return 0;
  const base::Result<booktool::EncodedBook, booktool::ListFailure> encoded =
      booktool::EncodeBook(sifted.kept, own);
  FUZZ_CHECK(encoded.Ok());
  books::WordBook book;
  FUZZ_CHECK(fuzz::MemoryFile(encoded->bytes).Load(own, book).Ok());
  FUZZ_CHECK(booktool::FirstDifference(book, own, sifted.kept) == -1);
  return 0;
}
