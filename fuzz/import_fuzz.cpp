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
  options.Format = static_cast<booktool::ImportFormat>(how % 4);
  if (how & 4) options.Columns = {"2", "1"};
  const booktool::ImportedList list = booktool::ParseImport(data, options);
  if (!list.Failure.Reason.empty()) return 0;
  int line = 0;
  for (const booktool::ListRecord& r : list.Records) {
    FUZZ_CHECK(r.Line >= line);
    line = r.Line;
    FUZZ_CHECK(text::IsValidUtf8(r.English) && text::IsValidUtf8(r.Chinese));
  }

  const books::CatalogueEntry& own = books::BookCatalogue().front();
  const booktool::SiftedList sifted = booktool::SiftRecords(list.Records, own, (how & 8) != 0);
  FUZZ_CHECK(sifted.Kept.size() + sifted.Bad.size() + static_cast<std::size_t>(sifted.Dropped) ==
             list.Records.size());
  if (sifted.Kept.size() < 2) return 0;
  std::string book_bytes;
  booktool::BookEncoding encoding = booktool::BookEncoding::Gbk;
  booktool::Refusal refusal;
  FUZZ_CHECK(booktool::EncodeBook(sifted.Kept, own, book_bytes, encoding, refusal));
  books::WordBook book;
  FUZZ_CHECK(fuzz::MemoryFile(book_bytes).Load(own, book).Ok());
  FUZZ_CHECK(booktool::FirstDifference(book, own, sifted.Kept) == -1);
  return 0;
}
