#include "books/rules.h"
#include "booktool/import.h"

namespace booktool {

SiftedList SiftRecords(std::vector<ListRecord> records, const books::CatalogueEntry& entry,
                       bool dedupe) {
  SiftedList sifted;
  // A pair twice is a slip in a learner's own list; a catalogue book's fixed count may repeat
  // pairs, as the catalogue's own books do, and its export must import back.
  books::BookRules rules(entry,
                         {.empty_side = true, .repeat = entry.kind == books::BookKind::OwnBook});
  std::string english, meaning;
  for (ListRecord& r : records) {
    std::vector<books::RecordFault> faults = rules.Check(
        r.english, r.chinese, static_cast<int>(sifted.kept.size()), r.line, english, meaning);
    if (faults.empty()) {
      sifted.kept.push_back(std::move(r));
    } else if (dedupe && faults.front().kind == books::Fault::Repeat) {
      ++sifted.dropped;
    } else {
      sifted.bad.push_back({faults.front().kind, r.line, std::move(faults.front().message)});
    }
  }
  for (std::size_t i = 0; i < sifted.kept.size(); ++i)
    if (auto fault = rules.RoomFault(static_cast<int>(i)))
      sifted.bad.push_back({fault->kind, sifted.kept[i].line, std::move(fault->message)});
  sifted.kept.resize(
      std::min(sifted.kept.size(), static_cast<std::size_t>(books::MaxRecords(entry))));
  return sifted;
}

}  // namespace booktool
