#include "booktool/export.h"

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

std::string CardField(std::string_view field) {
  const bool quote =
      field.find_first_of("\t\"") != std::string_view::npos || field.starts_with('#');
  return quote ? CsvField(field) : std::string(field);
}

// The first character XML 1.0 cannot hold, or 0 when there is none.
char32_t NotXml(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = text::NextCodePoint(text, i);
    if ((cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0xFFFE || cp == 0xFFFF)
      return cp;
  }
  return 0;
}

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
      default:
        out += c;
    }
  }
  return out;
}

std::string Hex(char32_t cp) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "U+";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(cp >> shift) & 0xF];
  return out;
}

bool Kvtml(const std::vector<ListRecord>& records, std::string_view title, std::string& bytes,
           std::string& error) {
  bytes =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kvtml version=\"2.0\">\n"
      "  <information>\n"
      "    <generator>vantle-book</generator>\n"
      "    <title>" +
      XmlText(title) +
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
      "  <entries>\n";
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ListRecord& r = records[i];
    for (const auto& [what, text] :
         {std::pair{"English entry", &r.English}, std::pair{"meaning", &r.Chinese}}) {
      if (const char32_t cp = NotXml(*text)) {
        error = "record " + std::to_string(r.Line) + ": " + what + " " + Quoted(*text) + " holds " +
                Hex(cp) + ", which XML cannot hold; export the book as CSV";
        return false;
      }
    }
    bytes += "    <entry id=\"" + std::to_string(i) + "\">\n" +
             "      <translation id=\"0\"><text>" + XmlText(r.English) + "</text></translation>\n" +
             "      <translation id=\"1\"><text>" + XmlText(r.Chinese) + "</text></translation>\n" +
             "    </entry>\n";
  }
  bytes += "  </entries>\n</kvtml>\n";
  return true;
}

}  // namespace

std::vector<ListRecord> BookRecords(const books::WordBook& book) {
  std::vector<ListRecord> records;
  for (int i = 1; i <= book.WordCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    records.push_back({i, book.EnglishEntries[k], book.ChineseMeanings[k]});
  }
  return records;
}

ImportFormat FormatForExtension(std::string_view path) {
  const std::size_t dot = path.find_last_of("./");
  if (dot == std::string_view::npos || path[dot] != '.') return ImportFormat::Detect;
  std::string ext(path.substr(dot + 1));
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (ext == "csv") return ImportFormat::Csv;
  if (ext == "txt" || ext == "tsv") return ImportFormat::Flashcards;
  if (ext == "kvtml" || ext == "xml") return ImportFormat::Kvtml;
  return ImportFormat::Detect;
}

bool ExportRecords(const std::vector<ListRecord>& records, ImportFormat format,
                   std::string_view title, std::string& bytes, std::string& error) {
  switch (format) {
    case ImportFormat::Kvtml:
      return Kvtml(records, title, bytes, error);
    case ImportFormat::Flashcards:
      bytes = "#separator:tab\n#html:false\n#columns:English\tChinese\n";
      for (const ListRecord& r : records)
        bytes += CardField(r.English) + "\t" + CardField(r.Chinese) + "\n";
      return true;
    case ImportFormat::Csv:
    case ImportFormat::Detect:
      break;
  }
  bytes = std::string(text::kUtf8Bom) + "English,Chinese\r\n";
  for (const ListRecord& r : records)
    bytes += CsvField(r.English) + "," + CsvField(r.Chinese) + "\r\n";
  return true;
}

}  // namespace booktool
