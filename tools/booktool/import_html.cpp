#include <algorithm>
#include <array>
#include <cctype>

#include "booktool/import_parts.h"
#include "text/text.h"

namespace booktool {
namespace {

using import::CollapseSpace;
using import::Lower;
using import::SoundReference;

struct NamedEntity {
  std::string_view name;
  char32_t code;
};

constexpr std::array<NamedEntity, 21> kEntities = {{
    {"amp", U'&'},        {"lt", U'<'},          {"gt", U'>'},          {"quot", U'"'},
    {"apos", U'\''},      {"nbsp", U' '},        {"ensp", U' '},        {"emsp", U' '},
    {"mdash", U'\u2014'}, {"ndash", U'\u2013'},  {"hellip", U'\u2026'}, {"lsquo", U'\u2018'},
    {"rsquo", U'\u2019'}, {"ldquo", U'\u201C'},  {"rdquo", U'\u201D'},  {"middot", U'\u00B7'},
    {"times", U'\u00D7'}, {"divide", U'\u00F7'}, {"deg", U'\u00B0'},    {"bull", U'\u2022'},
    {"sect", U'\u00A7'},
}};

// Decodes the entity at the start of `s` (which begins with '&'); returns its length, or 0
// when there is no entity there.
std::size_t DecodeEntity(std::string_view s, std::string& out) {
  const std::size_t semi = s.find(';');
  if (semi == std::string_view::npos || semi < 2 || semi > 12) return 0;
  std::string_view body = s.substr(1, semi - 1);
  if (body[0] == '#') {
    const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    char32_t cp = 0;
    for (char c : digits) {
      int d = c >= '0' && c <= '9'          ? c - '0'
              : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
              : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                            : -1;
      if (d < 0) return 0;
      cp = std::min<char32_t>(cp * (hex ? 16 : 10) + static_cast<char32_t>(d), 0x110000);
    }
    text::AppendUtf8(out, cp);
    return semi + 1;
  }
  for (const NamedEntity& e : kEntities) {
    if (e.name != body) continue;
    text::AppendUtf8(out, e.code);
    return semi + 1;
  }
  return 0;
}

// The elements a flash-card program's editor writes into a field.
constexpr std::array<std::string_view, 24> kCardTags = {
    "a",  "b", "blockquote", "br", "code", "div",  "em",     "font", "hr",  "i",     "img", "li",
    "ol", "p", "pre",        "rt", "ruby", "span", "strong", "sub",  "sup", "table", "u",   "ul"};

// Whether `s` begins with a tag of kCardTags, opening or closing.
bool StartsWithCardTag(std::string_view s) {
  if (!s.starts_with('<')) return false;
  s.remove_prefix(s.size() > 1 && s[1] == '/' ? 2 : 1);
  std::size_t end = 0;
  while (end < s.size() && std::isalnum(static_cast<unsigned char>(s[end]))) ++end;
  if (end == s.size() || (s[end] != '>' && s[end] != ' ' && s[end] != '/')) return false;
  const std::string name = Lower(s.substr(0, end));
  return std::find(kCardTags.begin(), kCardTags.end(), name) != kCardTags.end();
}

}  // namespace

namespace import {

bool HasCardMarkup(std::string_view field) {
  std::string decoded;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const std::string_view rest = field.substr(i);
    if (SoundReference(rest) || StartsWithCardTag(rest) ||
        (rest[0] == '&' && DecodeEntity(rest, decoded)))
      return true;
  }
  return false;
}

}  // namespace import

std::string HtmlToText(std::string_view html) {
  std::string out;
  for (std::size_t i = 0; i < html.size(); ++i) {
    const std::string_view rest = html.substr(i);
    if (const std::size_t sound = SoundReference(rest)) {
      i += sound - 1;
      continue;
    }
    if (rest.starts_with("<!--")) {
      const std::size_t close = rest.find("-->");
      i += close == std::string_view::npos ? rest.size() : close + 2;
      continue;
    } else if (rest.size() > 1 && rest[0] == '<' &&
               (std::isalpha(static_cast<unsigned char>(rest[1])) || rest[1] == '/' ||
                rest[1] == '!')) {
      const std::size_t close = rest.find('>');
      if (close != std::string_view::npos) {
        const std::string_view tag = rest.substr(rest[1] == '/' ? 2 : 1);
        std::size_t name_end = 0;
        while (name_end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[name_end])))
          ++name_end;
        const std::string name = Lower(tag.substr(0, name_end));
        if (name == "br" || name == "div" || name == "p" || name == "li" || name == "tr" ||
            name == "td")
          out += ' ';
        i += close;
        // Style sheets and scripts are no text.
        if ((name == "style" || name == "script") && rest[1] != '/') {
          const std::string end = "</" + name;
          std::size_t stop = Lower(rest).find(end, close);
          if (stop != std::string::npos) i = i - close + stop - 1;
        }
        continue;
      }
    } else if (rest[0] == '&') {
      if (std::size_t n = DecodeEntity(rest, out)) {
        i += n - 1;
        continue;
      }
    }
    out += html[i];
  }
  return CollapseSpace(out);
}

}  // namespace booktool
