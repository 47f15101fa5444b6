// A book that loads, dumped as `vantle-book dump` prints it and made again from that as
// `vantle-book convert` does, loads with the same records. Convert may refuse only a book it
// cannot write: text GBK cannot hold or a line break inside a field, or in a catalogue book
// an English entry whose first character cannot be stored lowered by one.
// The same book exported as CSV, flash-card text and KVTML imports back to its records: CSV
// exactly, the other two with white space as their readers take it (runs as one space, none
// at either end); a record with no text is left out, and KVTML may refuse only a character
// XML cannot hold.
#include <cstdint>
#include <vector>

#include "books/gbk.h"
#include "booktool/book_list.h"
#include "booktool/export.h"
#include "booktool/import.h"
#include "booktool/import_parts.h"
#include "fuzz_book.h"

namespace {

bool Unwritable(const std::string& text, std::string& gbk) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
         !books::EncodeGbk(text, gbk);
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
  for (int i = 1; i <= book.WordCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (entry.Kind == books::BookKind::IdiomBook) {
      // The idiom is its halves joined, without the "-" each was given.
      const std::string& a = book.EnglishEntries[k];
      if (Unwritable(a.substr(0, a.size() - 1) + book.ChineseMeanings[k].substr(1), gbk))
        return true;
      continue;
    }
    if (Unwritable(book.ChineseMeanings[k], gbk) || Unwritable(book.EnglishEntries[k], gbk))
      return true;
    if (entry.Kind == books::BookKind::CatalogueBook && i > 1 && CannotBeLowered(gbk)) return true;
  }
  return false;
}

// Export, then import: the records come back.
void ExportAndImport(const books::WordBook& book) {
  const std::vector<booktool::ListRecord> records = booktool::BookRecords(book);
  using booktool::ImportFormat;
  for (ImportFormat format : {ImportFormat::Csv, ImportFormat::Flashcards, ImportFormat::Kvtml}) {
    std::string bytes, error;
    if (!booktool::ExportRecords(records, format, "fuzz", bytes, error)) {
      FUZZ_CHECK(format == ImportFormat::Kvtml);
      continue;
    }
    booktool::ImportOptions options;
    options.Format = format;
    const booktool::ImportedList list = booktool::ParseImport(bytes, options);
    FUZZ_CHECK(list.Failure.Reason.empty());
    std::size_t at = 0;
    for (const booktool::ListRecord& r : records) {
      // What each reader makes of a field.
      auto clean = [&](const std::string& field) {
        if (format == ImportFormat::Csv) return field;
        if (format == ImportFormat::Kvtml) return booktool::import::CollapseSpace(field);
        return booktool::import::CardText(field, false);
      };
      const std::string english = clean(r.English), meaning = clean(r.Chinese);
      if (booktool::import::Trim(english).empty() && booktool::import::Trim(meaning).empty())
        continue;  // a row without text
      FUZZ_CHECK(at < list.Records.size());
      const booktool::ListRecord& back = list.Records[at++];
      FUZZ_CHECK(back.English == english && back.Chinese == meaning);
    }
    FUZZ_CHECK(at == list.Records.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const books::CatalogueEntry entry = fuzz::TakeEntry(data);
  books::WordBook book;
  if (!fuzz::MemoryFile(data).Load(entry, book).Ok()) return 0;

  std::vector<booktool::ListRecord> records;
  booktool::Refusal refusal;
  FUZZ_CHECK(booktool::ParseList(booktool::DumpBook(book), entry.Kind, records, refusal));
  FUZZ_CHECK(records.size() == static_cast<std::size_t>(book.WordCount));
  std::string again;
  booktool::BookEncoding encoding;
  if (!booktool::EncodeBook(records, entry, again, encoding, refusal)) {
    FUZZ_CHECK(CannotBeWritten(book, entry));
    return 0;
  }
  ExportAndImport(book);
  books::WordBook reloaded;
  FUZZ_CHECK(fuzz::MemoryFile(again).Load(entry, reloaded).Ok());
  // A list's leading byte-order mark is taken for the file's, not the first record's: an own
  // book whose first English entry begins with one (a UTF-8 file that began with two) comes
  // back without it. Dump prints the record as the program holds it, so this stays so.
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (book.EnglishEntries[1].starts_with(kBom)) book.EnglishEntries[1].erase(0, kBom.size());
  FUZZ_CHECK(fuzz::SameRecords(book, reloaded));
  return 0;
}
