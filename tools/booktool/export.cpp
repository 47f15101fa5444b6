#include "booktool/export.h"

#include "booktool/import_parts.h"
#include "text/text.h"

namespace booktool {
namespace {

std::string CsvField(std::string_view field) {
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

// A field of the flash-card text. Quoted when a reader would take it otherwise: a tab, a
// quote or a line break inside, a '#' at the start (a comment line, when it is the first
// field), or no text (a row of blank fields is skipped as empty).
std::string CardField(std::string_view field) {
  const bool quote = field.find_first_of("\t\"\r\n") != std::string_view::npos ||
                     field.starts_with('#') || import::Trim(field).empty();
  return quote ? CsvField(field) : std::string(field);
}

// What XML 1.0 holds: no control character but the tab and the line ends, nor U+FFFE or
// U+FFFF.
bool XmlHolds(char32_t cp) {
  return (cp >= 0x20 || cp == '\t' || cp == '\n' || cp == '\r') && cp != 0xFFFE && cp != 0xFFFF;
}

// What a text file read line by line holds: anything but a NUL byte, which a loaded record
// holds only where the first character of a damaged book was raised into one.
bool TextHolds(char32_t cp) {
  return cp != 0;
}

std::string Hex(char32_t cp) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "U+";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(cp >> shift) & 0xF];
  return out;
}

// Refused at the first record holding a character `holds` refuses, which `format` names.
Result<> CheckHeld(const std::vector<ListRecord>& records, bool (*holds)(char32_t),
                   std::string_view format) {
  for (const ListRecord& r : records)
    for (const auto& [what, text] :
         {std::pair{books::kEnglishSide, &r.english}, std::pair{books::kMeaningSide, &r.chinese}})
      for (std::size_t i = 0; i < text->size();) {
        const char32_t cp = text::NextCodePoint(*text, i);
        if (!holds(cp))
          return Failure{text::Concat({"record ", std::to_string(r.line), ": ", what, " ",
                                       Quoted(*text), " holds ", Hex(cp), ", which ", format,
                                       " cannot hold; export the book as CSV"})};
      }
  return {};
}

// Text for XML, with line ends as references: XML reads a line end written out as a line
// feed, whichever it was.
std::string XmlText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '\n':
        out += "&#10;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A translation's <text>: its white space marked as meant where a reader would otherwise
// change it (runs, ends, tabs, no-break spaces) or where it is all there is.
std::string KvtmlText(std::string_view text) {
  const bool preserve = text.empty() || import::CollapseSpace(text) != text;
  return text::Concat(
      {preserve ? "<text xml:space=\"preserve\">" : "<text>", XmlText(text), "</text>"});
}

Result<std::string> Kvtml(const std::vector<ListRecord>& records, std::string_view title) {
  if (Result<> held = CheckHeld(records, XmlHolds, "XML"); !held.Ok()) return held.Failed();
  std::string bytes = text::Concat({
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kvtml version=\"2.0\">\n"
      "  <information>\n"
      "    <generator>vantle-book</generator>\n"
      "    <title>",
      XmlText(title),
      "</title>\n"
      "  </information>\n"
      "  <identifiers>\n"
      "    <identifier id=\"0\">\n"
      "      <name>English</name>\n"
      "      <locale>en</locale>\n"
      "    </identifier>\n"
      "    <identifier id=\"1\">\n"
      "      <name>中文</name>\n"
      "      <locale>zh_CN</locale>\n"
      "    </identifier>\n"
      "  </identifiers>\n"
      "  <entries>\n",
  });
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ListRecord& r = records[i];
    bytes += text::Concat({"    <entry id=\"", std::to_string(i), "\">\n",
                           "      <translation id=\"0\">", KvtmlText(r.english), "</translation>\n",
                           "      <translation id=\"1\">", KvtmlText(r.chinese), "</translation>\n",
                           "    </entry>\n"});
  }
  bytes += "  </entries>\n</kvtml>\n";
  return bytes;
}

Result<std::string> Flashcards(const std::vector<ListRecord>& records) {
  if (Result<> held = CheckHeld(records, TextHolds, "flash-card text"); !held.Ok())
    return held.Failed();
  std::string bytes = text::Concat({"#separator:tab\n#html:false\n#", kListColumnsKey, ":",
                                    kEnglishColumn, "\t", kChineseColumn, "\n"});
  for (const ListRecord& r : records)
    bytes += text::Concat({CardField(r.english), "\t", CardField(r.chinese), "\n"});
  return bytes;
}

// Every field quoted, the header row too: so import knows the file for one it reads exactly.
std::string Csv(const std::vector<ListRecord>& records) {
  std::string bytes = text::Concat(
      {text::kUtf8Bom, CsvField(kEnglishColumn), ",", CsvField(kChineseColumn), "\r\n"});
  for (const ListRecord& r : records)
    bytes += text::Concat({CsvField(r.english), ",", CsvField(r.chinese), "\r\n"});
  return bytes;
}

}  // namespace

std::vector<ListRecord> BookRecords(const books::WordBook& book) {
  std::vector<ListRecord> records;
  int number = 0;  // the record's number in the book, from 1
  for (const books::Word& word : book.words)
    records.push_back({++number, word.english, word.chinese});
  return records;
}

ListFormat FormatForExtension(std::string_view path) {
  const std::size_t dot = path.find_last_of("./");
  if (dot == std::string_view::npos || path[dot] != '.') return ListFormat::Detect;
  const std::string ext = import::Lower(path.substr(dot + 1));
  if (ext == "csv") return ListFormat::Csv;
  if (ext == "txt" || ext == "tsv") return ListFormat::Flashcards;
  if (ext == "kvtml" || ext == "xml") return ListFormat::Kvtml;
  return ListFormat::Detect;
}

Result<std::string> ExportRecords(const std::vector<ListRecord>& records, ListFormat format,
                                  std::string_view title) {
  switch (format) {
    case ListFormat::Kvtml:
      return Kvtml(records, title);
    case ListFormat::Flashcards:
      return Flashcards(records);
    case ListFormat::Csv:
    case ListFormat::Detect:
      break;
  }
  return Csv(records);
}

}  // namespace booktool
