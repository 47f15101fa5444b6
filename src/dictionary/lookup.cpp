#include "dictionary/lookup.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "text/text.h"

namespace dictionary {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Whether a text holds the query. Short queries go to std::string_view::find (a memchr on
// the first byte, then a compare), which is the fastest on the short texts of a word book;
// from 16 bytes on a Boyer-Moore-Horspool table, built once per lookup, skips ahead faster.
class Matcher {
 public:
  static constexpr std::size_t kLongQuery = 16;

  explicit Matcher(std::string_view query) : query_(query) {
    if (query.size() >= kLongQuery) long_.emplace(query.begin(), query.end());
  }

  bool In(std::string_view text) const {
    if (!long_) return text.find(query_) != std::string_view::npos;
    return std::search(text.begin(), text.end(), *long_) != text.end();
  }

 private:
  std::string_view query_;
  std::optional<std::boyer_moore_horspool_searcher<std::string_view::const_iterator>> long_;
};

// The text without its first character (a whole UTF-8 character, however many bytes).
std::string_view WithoutFirstChar(std::string_view text) {
  return text.substr(text::CharOffset(text, 1));
}

// The text without its last character.
std::string_view WithoutLastChar(std::string_view text) {
  std::size_t count = text::CharCount(text);
  return text.substr(0, count == 0 ? 0 : text::CharOffset(text, count - 1));
}

}  // namespace

std::string IdiomLine(std::string_view english, std::string_view chinese) {
  std::string line(WithoutLastChar(english));
  line += WithoutFirstChar(chinese);
  return line;
}

Hits FindEntries(const books::WordBook& book, std::string_view query, BlockStyle style) {
  // One pass finds the hits and the size of the text, so the text grows only once.
  struct Hit {
    std::string_view english, chinese;
  };
  std::vector<Hit> hits;
  Hits found;
  std::size_t size = 0;
  const Matcher matcher(query);
  for (std::size_t i = 0; i < book.words.size(); ++i) {
    std::string_view english = book.words[i].english;
    std::string_view chinese = book.words[i].chinese;
    if (!matcher.In(english) && !matcher.In(chinese)) continue;
    if (style == BlockStyle::WholeLine) {
      english = WithoutLastChar(english);
      chinese = WithoutFirstChar(chinese);
      size += english.size() + chinese.size() + 2 * kLineEnd.size();
    } else {
      size += english.size() + chinese.size() + 3 * kLineEnd.size();
    }
    hits.push_back({english, chinese});
    found.words.push_back(i);
  }

  std::string& text = found.text;
  text.reserve(size);
  for (const Hit& hit : hits) {
    text += hit.english;
    if (style == BlockStyle::TwoLines) text += kLineEnd;
    text += hit.chinese;
    text += kLineEnd;
    text += kLineEnd;
  }
  return found;
}

}  // namespace dictionary
