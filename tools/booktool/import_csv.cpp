#include <algorithm>

#include "booktool/import_parts.h"

namespace booktool::import {

Result<ImportedList> ReadCsv(const DecodedText& decoded, const ImportOptions& options) {
  std::string_view text = decoded.text;
  // A spreadsheet may name its separator on a first line of its own, "sep=;".
  int first_line = 1;
  std::optional<char> separator;
  if (const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
      line.size() == 5 && line.starts_with("sep=")) {
    separator = line[4];
    text.remove_prefix(std::min(text.size(), line.size() + (text.substr(5, 2) == "\r\n" ? 2 : 1)));
    first_line = 2;
  } else {
    separator = DetectSeparator(text);
  }
  if (!separator)
    return Failure{
        "no separator found: the rows need two columns with a comma, a semicolon or "
        "a tab between them"};
  Result<std::vector<Row>> split = SplitAll(text, *separator, first_line);
  if (!split.Ok()) return split.Failed();
  std::vector<Row>& rows = *split;
  // vantle-book's export, known by its header row, is read exactly as written; elsewhere the
  // lines of a cell are joined.
  const bool exact = !rows.empty() &&
                     rows.front().fields == std::vector<std::string>{std::string(kEnglishColumn),
                                                                     std::string(kChineseColumn)} &&
                     rows.front().quoted == std::vector<bool>{true, true};
  // The first row names the columns when it names both sides, or when --columns names one.
  std::vector<std::string> names;
  const bool by_name =
      std::any_of(options.columns.begin(), options.columns.end(), [](const std::string& c) {
        return c.empty() || c.find_first_not_of("0123456789") != std::string::npos;
      });
  if (!rows.empty() && (by_name || NamedColumns(rows.front().fields))) {
    names = rows.front().fields;
    rows.erase(rows.begin());
  }
  Cells cells;
  for (const Row& row : rows) {
    cells.emplace_back();
    for (const std::string& field : row.fields)
      cells.back().push_back(exact ? field : JoinLines(field));
  }
  const std::size_t width = std::max<std::size_t>(WidestRow(rows), 2);
  std::vector<std::size_t> usable;
  for (std::size_t i = 0; i < width; ++i) usable.push_back(i);
  const Result<Columns> columns =
      ChooseColumns(options, names, usable, IdentifierColumns(rows, width), cells);
  if (!columns.Ok()) return columns.Failed();
  Result<TakenRecords> taken = TakeRecords(rows, cells, *columns);
  if (!taken.Ok()) return taken.Failed();
  ImportedList list;
  list.description = "CSV in " + decoded.encoding + ", separated by " + SeparatorName(*separator) +
                     (names.empty() ? "" : ", header row skipped") + "; " +
                     ColumnsDescription(*columns, names) + TurnedDescription(taken->turned);
  list.records = std::move(taken->records);
  return list;
}

}  // namespace booktool::import
