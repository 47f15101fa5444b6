#include "booktool/write_book.h"

#include "books/loader.h"
#include "booktool/book_check.h"
#include "booktool/command.h"

namespace booktool {
namespace {

// Makes the book's bytes, adding what is wrong with any record to what reading the list
// found, so that one run names every fault. The count of records is only judged once every
// line reads: lines left out would make it misleading.
Result<EncodedBook, ListFailure> EncodeRecords(const std::vector<ListRecord>& records,
                                               const books::CatalogueEntry& entry,
                                               Refusals refused) {
  Result<EncodedBook, ListFailure> encoded = EncodeBook(records, entry);
  if (encoded && !refused.Any()) return encoded;
  if (!encoded) {
    Refusals& found = encoded.Failed().faults;
    if (refused.Any() && found.kept.front().line == 0) {
      found.kept.erase(found.kept.begin());
      --found.total;
    }
    refused.Merge(found);
  }
  return Refused(std::move(refused));
}

}  // namespace

int WriteBook(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
              const std::string& source, const WriteTarget& target, std::ostream& out,
              std::ostream& err, Refusals refused) {
  const Result<EncodedBook, ListFailure> encoded =
      EncodeRecords(records, entry, std::move(refused));
  if (!encoded) {
    PrintRefusals(encoded.Failed().faults, source, err);
    return kExitRefused;
  }
  books::WordBook book;
  books::Decoding decoding;
  const auto verify = [&](const std::string& temp) -> Result<> {
    const books::BookLoad loaded = books::ReadWordBook(temp, entry, book);
    if (!loaded)
      return Failure{"the program would refuse it: " + DescribeFailure(loaded.Failed(), entry), 0,
                     target.path};
    decoding = *loaded;
    const int differs = FirstDifference(book, entry, records);
    if (differs < 0) return {};
    return Failure{"record " + std::to_string(differs) + " would not read back as written", 0,
                   target.path};
  };
  const Result<std::string> written = WriteAtomically(target, encoded->bytes, verify);
  if (!written) return Refuse(written.Failed(), err);
  out << target.path << ": wrote " << records.size() << " records of " << entry.label
      << (encoded->encoding == books::Encoding::Utf8
              ? " in UTF-8 (its GBK bytes would have read as UTF-8)"
              : " in GBK")
      << LinkNote(target.path, *written) << "\n";
  PrintWarnings(target.path, FindWarnings(book, entry, decoding), out);
  return kExitGood;
}

}  // namespace booktool
