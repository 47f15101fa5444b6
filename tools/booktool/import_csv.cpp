#include <algorithm>

#include "booktool/import_parts.h"

namespace booktool::import {

void ReadCsv(const DecodedText& decoded, const ImportOptions& options, ImportedList& list) {
  std::string_view text = decoded.Text;
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
  if (!separator) {
    list.Failure = {0,
                    "no separator found: the rows need two columns with a comma, a "
                    "semicolon or a tab between them"};
    return;
  }
  std::vector<Row> rows;
  if (!SplitAll(text, *separator, first_line, rows, list)) return;
  // The first row names the columns when it names both sides, or when --columns names one.
  std::vector<std::string> names;
  const bool by_name =
      std::any_of(options.Columns.begin(), options.Columns.end(), [](const std::string& c) {
        return c.empty() || c.find_first_not_of("0123456789") != std::string::npos;
      });
  if (!rows.empty() && (by_name || NamedColumns(rows.front().Fields))) {
    names = rows.front().Fields;
    rows.erase(rows.begin());
  }
  Cells cells;
  for (const Row& row : rows) {
    cells.emplace_back();
    for (const std::string& field : row.Fields) cells.back().push_back(JoinLines(field));
  }
  std::vector<std::size_t> usable;
  for (std::size_t i = 0; i < std::max<std::size_t>(WidestRow(rows), 2); ++i) usable.push_back(i);
  Columns columns;
  std::string error;
  if (!ChooseColumns(options, names, usable, cells, columns, error)) {
    list.Failure = {0, error};
    return;
  }
  list.Description = "CSV in " + decoded.Encoding + ", separated by " + SeparatorName(*separator) +
                     (names.empty() ? "" : ", header row skipped") + "; " +
                     ColumnsDescription(columns, names);
  TakeRecords(rows, cells, columns, list);
}

}  // namespace booktool::import
