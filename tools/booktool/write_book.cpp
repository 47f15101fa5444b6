#include "booktool/write_book.h"

#include "books/loader.h"
#include "booktool/book_check.h"
#include "booktool/command.h"

namespace booktool {
namespace {

// Makes the book's bytes, adding what is wrong with any record to what reading the list
// found, so that one run names every fault. The count of records is only judged once every
// line reads: lines left out would make it misleading.
bool EncodeRecords(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
                   EncodedBook& book, Refusals& refused) {
  const bool parsed = !refused.Any();
  Refusals encoded;
  if (EncodeBook(records, entry, book, encoded)) return parsed;
  if (!parsed && encoded.kept.front().line == 0) {
    encoded.kept.erase(encoded.kept.begin());
    --encoded.total;
  }
  refused.Merge(encoded);
  return false;
}

}  // namespace

int WriteBook(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
              const std::string& source, const WriteTarget& target, std::ostream& out,
              std::ostream& err, Refusals refused) {
  EncodedBook encoded;
  if (!EncodeRecords(records, entry, encoded, refused)) {
    PrintRefusals(refused, source, err);
    return kExitRefused;
  }
  books::WordBook book;
  books::LoadResult result;
  const auto verify = [&](const std::string& temp) -> Result<> {
    result = books::ReadWordBook(temp, entry, book);
    const int differs = result.Ok() ? FirstDifference(book, entry, records) : 0;
    if (differs < 0) return {};
    return Refusal{target.path, 0,
                   result.Ok()
                       ? "record " + std::to_string(differs) + " would not read back as written"
                       : "the program would refuse it: " + DescribeFailure(result, entry)};
  };
  const Result<std::string> written = WriteAtomically(target, encoded.bytes, verify);
  if (!written.Ok()) return Refuse(written.Refused(), err);
  out << target.path << ": wrote " << records.size() << " records of " << entry.label
      << (encoded.encoding == BookEncoding::Utf8
              ? " in UTF-8 (its GBK bytes would have read as UTF-8)"
              : " in GBK")
      << LinkNote(target.path, *written) << "\n";
  PrintWarnings(target.path, FindWarnings(book, entry, result), out);
  return kExitGood;
}

}  // namespace booktool
