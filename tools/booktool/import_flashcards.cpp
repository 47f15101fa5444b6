#include <algorithm>
#include <map>
#include <set>

#include "booktool/import_parts.h"

namespace booktool::import {
namespace {

struct CardHeader {
  char Separator = '\t';
  bool Html = true;
  std::vector<std::string> Names;     // from #columns:
  std::set<std::size_t> MetaColumns;  // note type, deck, tags, guid: never a side
  int Lines = 0;                      // header lines before the first note
};

std::optional<char> SeparatorFromName(std::string_view value) {
  const std::string name = Lower(Trim(value));
  static const std::map<std::string, char, std::less<>> kNames = {
      {"tab", '\t'},  {"comma", ','}, {"semicolon", ';'},
      {"space", ' '}, {"pipe", '|'},  {"colon", ':'}};
  if (auto it = kNames.find(name); it != kNames.end()) return it->second;
  if (value.size() == 1) return value[0];
  return std::nullopt;
}

// Reads the "#key:value" lines at the top of an export; false with `error` on a bad one.
bool ReadCardHeader(std::string_view text, CardHeader& header, std::size_t& body,
                    std::string& error) {
  body = 0;
  std::vector<std::string_view> columns_lines;
  while (body < text.size()) {
    std::size_t end = text.find_first_of("\r\n", body);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(body, end - body);
    if (!IsHeaderLine(line)) break;
    ++header.Lines;
    const std::size_t colon = line.find(':');
    const std::string key = Lower(Trim(line.substr(1, colon - 1)));
    std::string_view value = line.substr(colon + 1);
    if (key == "separator") {
      auto sep = SeparatorFromName(value);
      if (!sep) {
        error = "line " + std::to_string(header.Lines) + ": unknown separator " + Quote(value);
        return false;
      }
      header.Separator = *sep;
    } else if (key == "html") {
      header.Html = Lower(Trim(value)) == "true";
    } else if (key == "columns") {
      columns_lines.push_back(value);
    } else if (key.ends_with(" column")) {  // notetype, deck, tags, guid column: 1-based
      if (const std::optional<std::size_t> n = ParseCount(Trim(value)); n && *n > 0)
        header.MetaColumns.insert(*n - 1);
    }
    // Other lines (#tags:, #deck:, #notetype:, #if matches: ...) say nothing about the words.
    body = end;
    if (body < text.size() && text[body] == '\r') ++body;
    if (body < text.size() && text[body] == '\n') ++body;
  }
  // The names are split only now: #separator: may come after #columns:.
  for (std::string_view line : columns_lines)
    for (Row& row : SplitRows(line, header.Separator, 1, 1)) header.Names = std::move(row.Fields);
  return true;
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

void ReadFlashcards(const DecodedText& decoded, const ImportOptions& options, ImportedList& list) {
  const std::string& text = decoded.Text;
  CardHeader header;
  std::size_t body = 0;
  std::string error;
  if (!ReadCardHeader(text, header, body, error)) {
    list.Failure = {0, error};
    return;
  }
  std::vector<Row> rows;
  if (!SplitAll(std::string_view(text).substr(body), header.Separator, header.Lines + 1, rows,
                list))
    return;
  Cells cells;
  for (const Row& row : rows) {
    cells.emplace_back();
    for (const std::string& field : row.Fields)
      cells.back().push_back(CardText(field, header.Html));
  }
  std::vector<std::size_t> usable;
  for (std::size_t i = 0; i < std::max({WidestRow(rows), header.Names.size(), std::size_t{2}}); ++i)
    if (!header.MetaColumns.contains(i)) usable.push_back(i);
  Columns columns;
  if (!ChooseColumns(options, header.Names, usable, cells, columns, error)) {
    list.Failure = {0, error};
    return;
  }
  list.Description = "flash-card export in " + decoded.Encoding + ", separated by " +
                     SeparatorName(header.Separator) + (header.Html ? ", HTML" : ", plain text") +
                     "; " + ColumnsDescription(columns, header.Names);
  TakeRecords(rows, cells, columns, list);
}

}  // namespace booktool::import
