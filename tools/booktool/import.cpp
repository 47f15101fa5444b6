#include "booktool/import.h"

#include <array>

#include "booktool/import_parts.h"

namespace booktool {
namespace {

using import::IsHeaderLine;
using import::Lower;
using import::Trim;

// The names --format takes; the first of a format is the one shown.
constexpr std::array<std::pair<std::string_view, ImportFormat>, 4> kFormatNames = {{
    {"csv", ImportFormat::Csv},
    {"flashcards", ImportFormat::Flashcards},
    {"anki", ImportFormat::Flashcards},
    {"kvtml", ImportFormat::Kvtml},
}};

ImportFormat Detect(std::string_view bytes) {
  std::string_view head = Trim(bytes.substr(0, 4096));
  if (head.starts_with("<?xml") || head.starts_with("<kvtml") || head.starts_with("<!DOCTYPE"))
    return ImportFormat::Kvtml;
  if (IsHeaderLine(head.substr(0, head.find_first_of("\r\n")))) {
    const std::string key = Lower(head.substr(1, head.find(':') - 1));
    if (key == "separator" || key == "html" || key == "columns" || key.ends_with(" column") ||
        key == "tags" || key == "deck" || key == "notetype")
      return ImportFormat::Flashcards;
  }
  return ImportFormat::Csv;
}

}  // namespace

ImportedList ParseImport(std::string_view bytes, const ImportOptions& options) {
  ImportedList list;
  if (bytes.starts_with("PK\x03\x04")) {
    list.Format = options.Format == ImportFormat::Detect ? ImportFormat::Csv : options.Format;
    list.Failure = {0, "a zipped file, such as a spreadsheet workbook: save it as CSV first"};
    return list;
  }
  const import::DecodedText text = import::DecodeText(bytes);
  list.Format = options.Format == ImportFormat::Detect ? Detect(text.Text) : options.Format;
  const bool utf16 = text.Encoding.starts_with("UTF-16");
  if (list.Format == ImportFormat::Kvtml) {
    // The XML parser reads the file's own encoding, UTF-16 among them.
    import::ReadKvtml(bytes, options, list);
  } else if (!utf16 && bytes.substr(0, 4096).find('\0') != std::string_view::npos) {
    list.Failure = {0, "a NUL byte: this is no text file"};
  } else if (list.Format == ImportFormat::Flashcards) {
    import::ReadFlashcards(text, options, list);
  } else {
    import::ReadCsv(text, options, list);
  }
  return list;
}

std::string_view FormatName(ImportFormat format) {
  for (const auto& [name, f] : kFormatNames)
    if (f == format) return name;
  return "detect";
}

ImportFormat FormatForName(std::string_view name) {
  for (const auto& [known, format] : kFormatNames)
    if (known == Lower(name)) return format;
  return ImportFormat::Detect;
}

}  // namespace booktool
