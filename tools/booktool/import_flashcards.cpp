#include <algorithm>
#include <array>
#include <set>

#include "booktool/import_parts.h"

namespace booktool::import {
namespace {

struct CardHeader {
  char separator = '\t';
  bool html = true;
  // Written by vantle-book: the columns named on its own line, the texts exactly as written.
  bool exact = false;
  std::vector<std::string> names;      // from #columns: (or vantle-book's own line)
  std::set<std::size_t> meta_columns;  // note type, deck, tags, guid: never a side
  int lines = 0;                       // header lines before the first note
  std::size_t body = 0;                // where the first note begins
};

// The separators a "#separator:" line names.
constexpr std::array<std::pair<std::string_view, char>, 6> kSeparatorNames = {{
    {"tab", '\t'},
    {"comma", ','},
    {"semicolon", ';'},
    {"space", ' '},
    {"pipe", '|'},
    {"colon", ':'},
}};

std::optional<char> SeparatorFromName(std::string_view value) {
  const std::string name = Lower(Trim(value));
  for (const auto& [known, separator] : kSeparatorNames)
    if (known == name) return separator;
  if (value.size() == 1) return value[0];
  return std::nullopt;
}

// Reads the "#key:value" lines at the top of an export; refused on a bad separator.
Result<CardHeader> ReadCardHeader(std::string_view text) {
  CardHeader header;
  std::string_view columns_line, own_columns_line;
  bool has_columns = false, has_own_columns = false;
  while (header.body < text.size()) {
    std::size_t end = text.find_first_of("\r\n", header.body);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(header.body, end - header.body);
    if (!IsHeaderLine(line)) break;
    ++header.lines;
    const std::size_t colon = line.find(':');
    const std::string key = Lower(Trim(line.substr(1, colon - 1)));
    const std::string_view value = line.substr(colon + 1);
    if (key == "separator") {
      const std::optional<char> separator = SeparatorFromName(value);
      if (!separator) return Failure{"unknown separator " + Quoted(value), header.lines};
      header.separator = *separator;
    } else if (key == "html") {
      header.html = Lower(Trim(value)) == "true";
    } else if (key == "columns") {
      columns_line = value;
      has_columns = true;
    } else if (key == kListColumnsKey) {
      own_columns_line = value;
      has_own_columns = true;
    } else if (key.ends_with(" column")) {  // notetype, deck, tags, guid column: 1-based
      if (const std::optional<std::size_t> n = ParseCount(Trim(value)); n && *n > 0)
        header.meta_columns.insert(*n - 1);
    }
    // Other lines (#tags:, #deck:, #notetype:, #if matches: ...) say nothing about the words.
    header.body = end;
    if (header.body < text.size() && text[header.body] == '\r') ++header.body;
    if (header.body < text.size() && text[header.body] == '\n') ++header.body;
  }
  // The names are split only now: #separator: may come after #columns:.
  header.exact = has_own_columns && !header.html;
  if (has_own_columns || has_columns)
    for (Row& row :
         SplitRows(has_own_columns ? own_columns_line : columns_line, header.separator, 1, 1))
      header.names = std::move(row.fields);
  return header;
}

std::string Description(const DecodedText& decoded, const CardHeader& header,
                        const Columns& columns, int turned) {
  return "flash-card export in " + decoded.encoding + ", separated by " +
         SeparatorName(header.separator) +
         (header.exact  ? ", written by vantle-book (read exactly as written)"
          : header.html ? ", HTML"
                        : ", plain text") +
         "; " + ColumnsDescription(columns, header.names) + TurnedDescription(turned);
}

}  // namespace

std::string CardText(std::string_view field, bool html) {
  if (html) return HtmlToText(field);
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (const std::size_t sound = SoundReference(field.substr(i))) {
      i += sound - 1;
      continue;
    }
    text += field[i];
  }
  return CollapseSpace(text);
}

bool IsHeaderLine(std::string_view line) {
  return line.starts_with('#') && line.find(':') != std::string_view::npos;
}

Result<ImportedList> ReadFlashcards(const DecodedText& decoded, const ImportOptions& options) {
  const std::string_view text = decoded.text;
  const Result<CardHeader> header = ReadCardHeader(text);
  if (!header.Ok()) return header.Failed();
  Result<std::vector<Row>> rows =
      SplitAll(text.substr(header->body), header->separator, header->lines + 1);
  if (!rows.Ok()) return rows.Failed();
  Cells cells;
  for (const Row& row : *rows) {
    cells.emplace_back();
    for (const std::string& field : row.fields)
      cells.back().push_back(header->exact ? field : CardText(field, header->html));
  }
  const std::size_t width = std::max({WidestRow(*rows), header->names.size(), std::size_t{2}});
  std::vector<std::size_t> usable;
  for (std::size_t i = 0; i < width; ++i)
    if (!header->meta_columns.contains(i)) usable.push_back(i);
  // What a flash-card program wrote may begin with the notes' identifiers; what vantle-book
  // wrote holds its columns as they are named.
  const std::vector<std::size_t> identifiers =
      header->exact ? std::vector<std::size_t>() : IdentifierColumns(*rows, width);
  const Result<Columns> columns = ChooseColumns(options, header->names, usable, identifiers, cells);
  if (!columns.Ok()) return columns.Failed();
  Result<TakenRecords> taken = TakeRecords(*rows, cells, *columns);
  if (!taken.Ok()) return taken.Failed();
  ImportedList list;
  list.description = Description(decoded, *header, *columns, taken->turned);
  list.records = std::move(taken->records);
  return list;
}

}  // namespace booktool::import
