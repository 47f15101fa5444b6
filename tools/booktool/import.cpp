#include "booktool/import.h"

#include <algorithm>
#include <array>

#include "booktool/import_parts.h"
#include "text/text.h"

namespace booktool {
namespace {

using import::IsHeaderLine;
using import::Lower;
using import::Trim;

// The names --format takes; the first of a format is the one shown.
constexpr std::array<std::pair<std::string_view, ListFormat>, 4> kFormatNames = {{
    {"csv", ListFormat::Csv},
    {"flashcards", ListFormat::Flashcards},
    {"anki", ListFormat::Flashcards},
    {"kvtml", ListFormat::Kvtml},
}};

// A flash-card program's export without header lines (older versions write none, newer ones
// leave them out on request): tab-separated, no header row naming the columns, and fields
// holding the program's HTML.
bool HeaderlessCardExport(std::string_view text) {
  constexpr std::size_t kSample = 50;
  if (import::DetectSeparator(text) != '\t') return false;
  const std::vector<import::Row> rows = import::SplitRows(text, '\t', 1, kSample);
  if (rows.empty() || import::NamedColumns(rows.front().fields)) return false;
  return std::any_of(rows.begin(), rows.end(), [](const import::Row& row) {
    return std::any_of(row.fields.begin(), row.fields.end(), import::HasCardMarkup);
  });
}

ListFormat Detect(std::string_view text) {
  const std::string_view head = Trim(text.substr(0, 4096));
  if (head.starts_with("<?xml") || head.starts_with("<kvtml") || head.starts_with("<!DOCTYPE"))
    return ListFormat::Kvtml;
  if (IsHeaderLine(head.substr(0, head.find_first_of("\r\n")))) {
    const std::string key = Lower(Trim(head.substr(1, head.find(':') - 1)));
    if (key == "separator" || key == "html" || key == "columns" || key.ends_with(" column") ||
        key == "tags" || key == "deck" || key == "notetype" || key == kListColumnsKey)
      return ListFormat::Flashcards;
  }
  return HeaderlessCardExport(text) ? ListFormat::Flashcards : ListFormat::Csv;
}

Result<ImportedList> ReadAs(ListFormat format, std::string_view bytes,
                            const import::DecodedText& text, const ImportOptions& options) {
  // The XML parser reads the file's own encoding, UTF-16 among them.
  if (format == ListFormat::Kvtml) return import::ReadKvtml(bytes, options);
  // A NUL byte near the start tells a binary file, or UTF-16 without its byte-order mark;
  // a file that begins with a byte-order mark says what it is.
  if (!text.encoding.starts_with("UTF-16") && !bytes.starts_with(text::kUtf8Bom) &&
      bytes.substr(0, 4096).find('\0') != std::string_view::npos)
    return Failure{"a NUL byte: this is no text file"};
  if (format == ListFormat::Flashcards) return import::ReadFlashcards(text, options);
  return import::ReadCsv(text, options);
}

}  // namespace

Result<ImportedList> ParseImport(std::string_view bytes, const ImportOptions& options) {
  const bool zipped = bytes.starts_with("PK\x03\x04");
  const import::DecodedText text = zipped ? import::DecodedText() : import::DecodeText(bytes);
  const ListFormat format = options.format != ListFormat::Detect ? options.format
                            : zipped                             ? ListFormat::Csv
                                                                 : Detect(text.text);
  Result<ImportedList> list =
      zipped ? Failure{"a zipped file, such as a spreadsheet workbook: save it as CSV first"}
             : ReadAs(format, bytes, text, options);
  if (!list.Ok()) {
    Failure refusal = list.Failed();
    refusal.reason = "as " + std::string(FormatName(format)) + ": " + refusal.reason;
    return refusal;
  }
  list->format = format;
  return list;
}

std::string_view FormatName(ListFormat format) {
  for (const auto& [name, f] : kFormatNames)
    if (f == format) return name;
  return "detect";
}

Result<ListFormat> FormatNamed(std::string_view name) {
  for (const auto& [known, format] : kFormatNames)
    if (known == Lower(name)) return format;
  // "csv, flashcards (or anki) or kvtml": a format's other names in brackets after its first.
  std::vector<std::string> names;
  for (std::size_t i = 0; i < kFormatNames.size(); ++i) {
    const auto& [known, format] = kFormatNames[i];
    if (i > 0 && kFormatNames[i - 1].second == format)
      names.back().append(" (or ").append(known).append(")");
    else
      names.emplace_back(known);
  }
  std::string choices;
  for (std::size_t i = 0; i < names.size(); ++i)
    choices.append(i == 0 ? "" : i + 1 == names.size() ? " or " : ", ").append(names[i]);
  return Failure{"--format takes " + choices};
}

}  // namespace booktool
