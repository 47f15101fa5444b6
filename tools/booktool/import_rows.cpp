#include <algorithm>
#include <array>
#include <map>

#include "booktool/import_parts.h"

namespace booktool::import {
namespace {

bool IsBlank(const Row& row) {
  return std::all_of(row.fields.begin(), row.fields.end(),
                     [](const std::string& f) { return Trim(f).empty(); }) &&
         std::none_of(row.quoted.begin(), row.quoted.end(), [](bool q) { return q; });
}

constexpr std::array<char, 3> kSeparators = {'\t', ';', ','};

}  // namespace

std::vector<Row> SplitRows(std::string_view text, char separator, int first_line, std::size_t limit,
                           int* unclosed) {
  std::vector<Row> rows;
  std::size_t kept = 0;
  int line = first_line;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto line_end = [&](std::size_t at) {  // the length of a line break at `at`, or 0
    if (text[at] == '\r') return at + 1 < n && text[at + 1] == '\n' ? 2 : 1;
    return text[at] == '\n' ? 1 : 0;
  };
  while (i < n && kept < limit) {
    Row row;
    row.line = line;
    std::string field;
    bool quoted = false, was_quoted = false;
    int quote_line = 0;
    for (; i < n; ++i) {
      const char c = text[i];
      if (quoted) {
        if (c == '"' && i + 1 < n && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else if (c == '"') {
          quoted = false;
        } else {
          if (const int brk = line_end(i)) {
            ++line;
            field.append(text.substr(i, static_cast<std::size_t>(brk)));
            i += static_cast<std::size_t>(brk) - 1;
            continue;
          }
          field += c;
        }
      } else if (c == '"' && field.empty() && !was_quoted) {
        quoted = was_quoted = true;
        quote_line = line;
      } else if (c == separator) {
        row.fields.push_back(std::move(field));
        row.quoted.push_back(was_quoted);
        field.clear();
        was_quoted = false;
      } else if (const int brk = line_end(i)) {
        i += static_cast<std::size_t>(brk);
        break;
      } else {
        field += c;
      }
    }
    ++line;
    if (quoted && unclosed) *unclosed = quote_line;
    row.fields.push_back(std::move(field));
    row.quoted.push_back(was_quoted);
    if (!IsBlank(row)) {
      rows.push_back(std::move(row));
      ++kept;
    }
  }
  return rows;
}

// A quoted field never closed would swallow every row after it.
Result<std::vector<Row>> SplitAll(std::string_view text, char separator, int first_line) {
  int unclosed = 0;
  std::vector<Row> rows = SplitRows(text, separator, first_line, SIZE_MAX, &unclosed);
  if (unclosed == 0) return rows;
  return Failure{"the quote that opens a field here is never closed", unclosed};
}

std::string SeparatorName(char separator) {
  switch (separator) {
    case '\t':
      return "tabs";
    case ';':
      return "semicolons";
    case ',':
      return "commas";
    case ' ':
      return "spaces";
    default:
      return Quoted(std::string_view(&separator, 1));
  }
}

// The separator of a CSV file: the candidate that splits the most of the first rows into the
// same number (at least two) of fields; on a tie, the one that comes first on more lines,
// since the English entry comes first and a meaning may hold the others.
std::optional<char> DetectSeparator(std::string_view text) {
  constexpr std::size_t kSample = 50;
  std::optional<char> best;
  std::pair<int, int> best_score{0, 0};
  for (char sep : kSeparators) {
    std::map<std::size_t, int> counts;
    for (const Row& row : SplitRows(text, sep, 1, kSample)) ++counts[row.fields.size()];
    int consistent = 0;
    for (const auto& [fields, count] : counts)
      if (fields >= 2 && count > consistent) consistent = count;
    if (consistent == 0) continue;
    int first = 0, lines = 0;
    for (std::size_t at = 0; at < text.size() && lines < static_cast<int>(kSample); ++lines) {
      std::size_t end = text.find_first_of("\r\n", at);
      std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
      std::size_t earliest = line.find_first_of("\t;,");
      if (earliest != std::string_view::npos && line[earliest] == sep) ++first;
      at = end == std::string_view::npos ? text.size() : end + 1;
    }
    const std::pair<int, int> score{consistent, first};
    if (score > best_score) {
      best_score = score;
      best = sep;
    }
  }
  return best;
}

std::size_t WidestRow(const std::vector<Row>& rows) {
  std::size_t widest = 0;
  for (const Row& row : rows) widest = std::max(widest, row.fields.size());
  return widest;
}

}  // namespace booktool::import
