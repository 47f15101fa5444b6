// A book that loads, dumped as `vantle-book dump` prints it and made again from that as
// `vantle-book convert` does, loads with the same records. Convert may refuse only a book it
// cannot write: text GBK cannot hold or a line break inside a field, or in a catalogue book
// an English entry whose first character cannot be stored lowered by one.
// The same book exported as CSV, flash-card text and KVTML, and imported without naming the
// format, comes back record by record, byte for byte: white space, empty records, line ends
// and text that looks like markup or header lines included. CSV holds every record; flash-card
// text may refuse only a NUL byte, KVTML only a character XML cannot hold (both of which only
// a damaged first character raised by the loader makes).
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "books/gbk.h"
#include "booktool/book_list.h"
#include "booktool/export.h"
#include "booktool/import.h"
#include "fuzz_book.h"
#include "text/text.h"

namespace {

bool Unwritable(const std::string& text, std::string& gbk) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return true;
  std::optional<std::string> encoded = books::EncodeGbk(text);
  if (encoded) gbk = std::move(*encoded);
  return !encoded;
}

bool CannotBeLowered(const std::string& gbk) {
  if (gbk.empty()) return true;
  std::string stored = gbk;
  books::LowerFirstCharacter(stored);
  std::string back = stored;
  books::RaiseFirstCharacter(back);
  return back != gbk || stored.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

bool CannotBeWritten(const books::WordBook& book, const books::CatalogueEntry& entry) {
  std::string gbk;
  for (std::size_t i = 0; i < book.words.size(); ++i) {
    const books::Word& word = book.words[i];
    if (entry.kind == books::BookKind::IdiomBook) {
      // The idiom is its halves joined, without the "-" each was given.
      const std::string& a = word.english;
      if (Unwritable(a.substr(0, a.size() - 1) + word.chinese.substr(1), gbk)) return true;
      continue;
    }
    if (Unwritable(word.chinese, gbk) || Unwritable(word.english, gbk)) return true;
    if (entry.kind == books::BookKind::CatalogueBook && i > 0 && CannotBeLowered(gbk)) return true;
  }
  return false;
}

// Whether a text holds a character XML 1.0 cannot: a control character but the tab and the
// line ends, U+FFFE or U+FFFF.
bool NotXml(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = text::NextCodePoint(text, i);
    if ((cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0xFFFE || cp == 0xFFFF)
      return true;
  }
  return false;
}

bool HasNul(const std::string& text) {
  return text.find('\0') != std::string::npos;
}

// Whether any record holds a text `unheld` is true of.
bool AnyHolds(const std::vector<booktool::ListRecord>& records,
              bool (*unheld)(const std::string&)) {
  return std::any_of(records.begin(), records.end(), [&](const booktool::ListRecord& r) {
    return unheld(r.english) || unheld(r.chinese);
  });
}

// Export, then import: the records come back exactly.
void ExportAndImport(const books::WordBook& book) {
  const std::vector<booktool::ListRecord> records = booktool::BookRecords(book);
  using booktool::ListFormat;
  for (ListFormat format : {ListFormat::Csv, ListFormat::Flashcards, ListFormat::Kvtml}) {
    const base::Result<std::string> bytes = booktool::ExportRecords(records, format, "fuzz");
    if (!bytes.Ok()) {
      FUZZ_CHECK(format != ListFormat::Csv);
      FUZZ_CHECK(AnyHolds(records, format == ListFormat::Kvtml ? NotXml : HasNul));
      continue;
    }
    const base::Result<booktool::ImportedList> list = booktool::ParseImport(*bytes, {});
    FUZZ_CHECK(list.Ok());
    FUZZ_CHECK(list->format == format);
    FUZZ_CHECK(list->records.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      FUZZ_CHECK(list->records[i].english == records[i].english);
      FUZZ_CHECK(list->records[i].chinese == records[i].chinese);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const books::CatalogueEntry entry = fuzz::TakeEntry(data);
  books::WordBook book;
  if (!fuzz::MemoryFile(data).Load(entry, book).Ok()) return 0;
  ExportAndImport(book);

  const base::Result<std::vector<booktool::ListRecord>, booktool::ListFailure> records =
      booktool::ParseList(booktool::DumpBook(book), entry.kind);
  FUZZ_CHECK(records.Ok());
  FUZZ_CHECK(records->size() == book.words.size());
  const base::Result<booktool::EncodedBook, booktool::ListFailure> again =
      booktool::EncodeBook(*records, entry);
  if (!again.Ok()) {
    FUZZ_CHECK(CannotBeWritten(book, entry));
    return 0;
  }
  books::WordBook reloaded;
  FUZZ_CHECK(fuzz::MemoryFile(again->bytes).Load(entry, reloaded).Ok());
  // A list's leading byte-order mark is taken for the file's, not the first record's: an own
  // book whose first English entry begins with one (a UTF-8 file that began with two) comes
  // back without it. Dump prints the record as the program holds it, so this stays so.
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (std::string& first = book.words.front().english; first.starts_with(kBom))
    first.erase(0, kBom.size());
  FUZZ_CHECK(fuzz::SameRecords(book, reloaded));
  return 0;
}
