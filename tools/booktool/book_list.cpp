#include "booktool/book_list.h"

#include <algorithm>

#include "books/gbk.h"
#include "text/text.h"

namespace booktool {
namespace {

using books::BookKind;

// Splits text into lines at LF, CR LF or CR; a last line without terminator counts.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '\\' && i + 1 < field.size()) {
      char next = field[i + 1];
      char plain = next == '\\'  ? '\\'
                   : next == 't' ? '\t'
                   : next == 'r' ? '\r'
                   : next == 'n' ? '\n'
                                 : 0;
      if (plain) {
        out += plain;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

// An idiom as dump prints it, "一心-<TAB>-一意": the halves joined again. False for any other
// line.
bool DumpedIdiom(std::string_view line, std::string& idiom) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos)
    return false;
  const std::string entry = Unescape(line.substr(0, tab)), meaning = Unescape(line.substr(tab + 1));
  if (!entry.ends_with('-') || !meaning.starts_with('-')) return false;
  idiom = entry.substr(0, entry.size() - 1) + meaning.substr(1);
  return true;
}

}  // namespace

Result<std::vector<ListRecord>, ListFailure> ParseList(std::string_view text, BookKind kind) {
  std::vector<ListRecord> records;
  Refusals refusals;
  if (text.starts_with(text::kUtf8Bom)) text.remove_prefix(text::kUtf8Bom.size());
  int number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    if (line.empty()) continue;
    if (!text::IsValidUtf8(line)) {
      refusals.Add({"the line is not UTF-8", number});
      continue;
    }
    std::size_t tab = line.find('\t');
    if (kind == BookKind::IdiomBook) {
      std::string idiom(line);
      if (tab != std::string_view::npos && !DumpedIdiom(line, idiom)) {
        refusals.Add(
            {"a tab: the idiom book takes one idiom per line, or its halves as dump "
             "prints them",
             number});
        continue;
      }
      records.push_back({number, std::move(idiom), {}});
      continue;
    }
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) {
      refusals.Add({tab == std::string_view::npos
                        ? "no tab between the English entry and the Chinese meaning"
                        : "more than one tab (write a tab inside a field as \\t)",
                    number});
      continue;
    }
    records.push_back({number, Unescape(line.substr(0, tab)), Unescape(line.substr(tab + 1))});
  }
  if (!refusals.Any()) return records;
  ListFailure failure = Refused(std::move(refusals));
  failure.readable = std::move(records);
  return failure;
}

Result<EncodedBook, ListFailure> EncodeBook(const std::vector<ListRecord>& records,
                                            const books::CatalogueEntry& entry) {
  EncodedBook book;
  Refusals refusals;
  books::BookRules rules(entry, {});
  if (auto fault = rules.CountFault(static_cast<int>(records.size())))
    refusals.Add({std::move(fault->message)});
  std::string english, chinese;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ListRecord& r = records[i];
    auto faults = rules.Check(r.english, r.chinese, static_cast<int>(i), r.line, english, chinese);
    for (books::RecordFault& f : faults) refusals.Add({std::move(f.message), r.line});
    if (!faults.empty()) continue;
    book.bytes += english + "\r\n";
    if (entry.kind != BookKind::IdiomBook) book.bytes += chinese + "\r\n";
  }
  if (refusals.Any()) return Refused(std::move(refusals));

  // GBK bytes that happen to read as UTF-8 would be misread, so such an own book is written
  // in UTF-8 itself.
  if (entry.kind == BookKind::OwnBook && books::OwnBookReadsAsUtf8(book.bytes)) {
    book.encoding = books::Encoding::Utf8;
    book.bytes.clear();
    for (const ListRecord& r : records) book.bytes += r.english + "\r\n" + r.chinese + "\r\n";
  }
  return book;
}

ListFailure Refused(Refusals faults) {
  ListFailure failure;
  static_cast<Failure&>(failure) = faults.kept.front();
  failure.faults = std::move(faults);
  return failure;
}

const books::CatalogueEntry* EntryForFileName(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto catalogue = books::BookCatalogue();
  if (name == "《My词库》.txt") return &catalogue.front();
  if (name == "《成语大全》.txt") return &catalogue.back();
  const books::CatalogueEntry* entry = books::FindEntry(catalogue, name);
  return entry && entry->kind == BookKind::CatalogueBook ? entry : nullptr;
}

const books::CatalogueEntry* EntryForLabel(std::string_view label) {
  if (const books::CatalogueEntry* entry = books::FindEntry(books::BookCatalogue(), label))
    return entry;
  return EntryForFileName(label);
}

Result<const books::CatalogueEntry*> EntryFor(const std::optional<std::string>& label,
                                              const std::string& file) {
  if (label) {
    if (const books::CatalogueEntry* entry = EntryForLabel(*label)) return entry;
    return NoSuchLabel(*label);
  }
  if (const books::CatalogueEntry* entry = EntryForFileName(file)) return entry;
  return Failure{file + ": the name is no book's name; give the book with --label LABEL"};
}

Failure NoSuchLabel(std::string_view label) {
  return Failure{text::Concat({"\"", label, "\" is no label of the catalogue"})};
}

std::string UserOwnBook() {
  return books::UserOwnBookPath(books::UserDataDirectory());
}

std::string DumpBook(const books::WordBook& book) {
  std::string text;
  for (const books::Word& word : book.words)
    text += Escape(word.english) + "\t" + Escape(word.chinese) + "\n";
  return text;
}

}  // namespace booktool
