#include <expat.h>

#include <algorithm>
#include <map>

#include "booktool/import_parts.h"

namespace booktool::import {
namespace {

struct Language {
  std::string id, name, locale;
};

struct KvtmlText {
  std::string text;
  bool preserved = false;  // xml:space="preserve" holds for it: its white space is meant
};

struct KvtmlEntry {
  int line = 0;
  std::map<std::string, KvtmlText> texts;  // translation id -> text
};

struct KvtmlDocument {
  std::vector<Language> languages;
  std::vector<KvtmlEntry> entries;
};

// Reads a KVTML 2 document with expat: its languages and the texts of its entries.
class KvtmlReader {
 public:
  explicit KvtmlReader(std::string_view bytes) {
    parser_ = XML_ParserCreate(nullptr);
    if (!parser_) {
      refusal_ = {"out of memory"};
      return;
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &KvtmlReader::Start, &KvtmlReader::End);
    XML_SetCharacterDataHandler(parser_, &KvtmlReader::Characters);
    // Parsed in pieces so that no length exceeds what expat's int takes.
    constexpr std::size_t kPiece = 1 << 20;
    std::size_t at = 0;
    do {
      const std::size_t n = std::min(kPiece, bytes.size() - at);
      const bool last = at + n == bytes.size();
      if (XML_Parse(parser_, bytes.data() + at, static_cast<int>(n), last) != XML_STATUS_OK) {
        refusal_ = {
            std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(parser_)),
            static_cast<int>(XML_GetCurrentLineNumber(parser_))};
        break;
      }
      at += n;
    } while (at < bytes.size());
    XML_ParserFree(parser_);
    if (!refusal_.reason.empty()) return;
    if (root_ != "kvtml")
      refusal_ = {"the XML file is no KVTML file (its root element is <" + root_ + ">)"};
    else if (version_.starts_with("1") || (old_entries_ && document_.languages.empty()))
      refusal_ = {"a KVTML 1 file: save it in KVTML 2 first"};
  }

  Result<KvtmlDocument> Document() && {
    if (!refusal_.reason.empty()) return refusal_;
    return std::move(document_);
  }

 private:
  static void Start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* self = static_cast<KvtmlReader*>(data);
    std::string id;
    bool preserve = self->preserve_.empty() ? false : self->preserve_.back();
    for (const XML_Char** a = attributes; a[0]; a += 2) {
      const std::string_view attribute = a[0];
      if (attribute == "id") id = a[1];
      if (attribute == "xml:space") preserve = std::string_view(a[1]) == "preserve";
      if (self->path_.empty() && attribute == "version") self->version_ = a[1];
    }
    self->preserve_.push_back(preserve);
    self->Open(name, std::move(id));
  }
  static void End(void* data, const XML_Char*) {
    auto* self = static_cast<KvtmlReader*>(data);
    self->Close();
    self->preserve_.pop_back();
  }
  static void Characters(void* data, const XML_Char* s, int len) {
    auto* self = static_cast<KvtmlReader*>(data);
    if (self->collect_) self->text_.append(s, static_cast<std::size_t>(len));
  }

  // The path of the element being read, e.g. kvtml/entries/entry/translation/text.
  bool At(std::initializer_list<std::string_view> tail) const {
    if (path_.size() != tail.size() + 1 || path_[0] != "kvtml") return false;
    return std::equal(tail.begin(), tail.end(), path_.begin() + 1);
  }

  void Open(std::string_view name, std::string id) {
    if (path_.empty()) root_ = name;
    path_.emplace_back(name);
    old_entries_ = old_entries_ || At({"e"});  // KVTML 1 keeps its words in <e> elements
    if (At({"identifiers", "identifier"})) {
      document_.languages.push_back({std::move(id), {}, {}});
    } else if (At({"entries", "entry"})) {
      document_.entries.push_back({static_cast<int>(XML_GetCurrentLineNumber(parser_)), {}});
    } else if (At({"entries", "entry", "translation"})) {
      translation_ = std::move(id);
    }
    collect_ = At({"identifiers", "identifier", "name"}) ||
               At({"identifiers", "identifier", "locale"}) ||
               At({"entries", "entry", "translation", "text"});
    text_.clear();
  }

  void Close() {
    if (collect_) {
      if (At({"entries", "entry", "translation", "text"}))
        document_.entries.back().texts[translation_] = {text_, preserve_.back()};
      else if (At({"identifiers", "identifier", "name"}))
        document_.languages.back().name = text_;
      else
        document_.languages.back().locale = text_;
    }
    collect_ = false;
    path_.pop_back();
  }

  XML_Parser parser_ = nullptr;
  std::vector<std::string> path_;
  std::vector<bool> preserve_;  // xml:space="preserve" in effect, element by element
  std::string root_, version_, translation_, text_;
  bool collect_ = false, old_entries_ = false;
  KvtmlDocument document_;
  Failure refusal_;
};

// A language's text in an entry: where the file keeps its white space, as it stands; elsewhere
// with runs of white space, line breaks among them, as one space.
std::string TextOf(const KvtmlEntry& entry, const Language& language, bool* preserved = nullptr) {
  const auto it = entry.texts.find(language.id);
  if (it == entry.texts.end()) return {};
  if (preserved) *preserved = *preserved || it->second.preserved;
  return it->second.preserved ? it->second.text : CollapseSpace(it->second.text);
}

std::string LanguageText(const Language& language) {
  std::string text = Quoted(Trim(language.name).empty() ? language.id : Trim(language.name));
  if (!Trim(language.locale).empty()) text += " (" + std::string(Trim(language.locale)) + ")";
  return text;
}

std::string KnownLanguages(const std::vector<Language>& languages) {
  std::string known;
  for (std::size_t k = 0; k < languages.size(); ++k)
    known += (k ? ", " : "") + std::to_string(k + 1) + " " + LanguageText(languages[k]);
  return known.empty() ? std::string("none") : known;
}

// A language's locale without its country: "zh" for "zh_CN".
std::string LanguageOfLocale(const Language& language) {
  const std::string locale = Lower(Trim(language.locale));
  return locale.substr(0, locale.find_first_of("_-"));
}

// The English and the Chinese language, and how they were told apart.
struct ChosenLanguages {
  std::size_t english = 0, chinese = 1;
  std::string how;                // for the summary, after the languages
  Choice choice = Choice::Given;  // by locale, as --columns gives, or as the columns of a list
};

// The languages --columns names, each by its number in the file's order, its locale ("zh"
// also stands for "zh_CN") or its name.
Result<ChosenLanguages> LanguagesAsked(const std::vector<Language>& languages,
                                       const ImportOptions& options) {
  std::vector<std::string> locales, languages_of_locales, names;
  for (const Language& l : languages) {
    locales.push_back(l.locale);
    languages_of_locales.push_back(LanguageOfLocale(l));
    names.push_back(l.name);
  }
  std::vector<std::size_t> chosen;
  for (const std::string& wanted : options.columns) {
    Result<std::size_t> i = ColumnFor(wanted, locales);
    if (!i.Ok()) i = ColumnFor(wanted, languages_of_locales);
    if (!i.Ok()) i = ColumnFor(wanted, names);
    if (!i.Ok() || *i >= languages.size())
      return Failure{"no language " + Quoted(wanted) + " in the file (it has " +
                     KnownLanguages(languages) + ")"};
    chosen.push_back(*i);
  }
  if (chosen[0] == chosen[1])
    return Failure{"--columns gives the language " + LanguageText(languages[chosen[0]]) +
                   " for both sides; give the English language, then the meaning's"};
  return ChosenLanguages{chosen[0], chosen[1], {}, Choice::Given};
}

// English is the language whose locale is English, the meaning the one whose locale is
// Chinese. Languages without a locale are told apart by their names or their content, as the
// columns of a CSV file are; one left alone takes the side no locale names.
Result<ChosenLanguages> LanguagesByLocale(const KvtmlDocument& document) {
  const std::vector<Language>& languages = document.languages;
  if (languages.size() < 2)
    return Failure{"the file has " + std::to_string(languages.size()) +
                   " languages; two are needed"};
  std::optional<std::size_t> english, chinese;
  for (std::size_t k = 0; k < languages.size(); ++k) {
    if (!english && LanguageOfLocale(languages[k]) == "en") english = k;
    if (!chinese && LanguageOfLocale(languages[k]) == "zh") chinese = k;
  }
  std::vector<std::size_t> open;
  for (std::size_t k = 0; k < languages.size(); ++k)
    if (Trim(languages[k].locale).empty() && english != k && chinese != k) open.push_back(k);
  if (english && chinese) return ChosenLanguages{*english, *chinese, {}, Choice::NamedLanguage};
  if (!english != !chinese && !open.empty()) {
    (english ? chinese : english) = open.front();
    return ChosenLanguages{*english, *chinese, " (the one without a locale)",
                           Choice::NamedLanguage};
  }
  if (english || chinese || open.size() < 2)
    return Failure{
        "cannot tell the English language from the Chinese one by their locales (the "
        "file has " +
        KnownLanguages(languages) + "); name them with --columns A,B, the English one first"};
  Cells cells;
  for (const KvtmlEntry& entry : document.entries) {
    cells.emplace_back();
    for (const Language& l : languages) cells.back().push_back(TextOf(entry, l));
  }
  std::vector<std::string> names;
  for (const Language& l : languages) names.push_back(l.name);
  const Result<Columns> columns = ChooseColumns({}, names, open, {}, cells);
  if (!columns.Ok()) return Failure{"the file gives no locales, and " + columns.Failed().reason};
  return ChosenLanguages{columns->english, columns->chinese,
                         columns->choice == Choice::ByContent
                             ? " (told apart by their content: the file gives no locale)"
                             : " (told apart by their names: the file gives no locale)",
                         columns->choice};
}

}  // namespace

Result<ImportedList> ReadKvtml(std::string_view bytes, const ImportOptions& options) {
  Result<KvtmlDocument> document = KvtmlReader(bytes).Document();
  if (!document.Ok()) return document.Failed();
  const Result<ChosenLanguages> chosen = options.columns.empty()
                                             ? LanguagesByLocale(*document)
                                             : LanguagesAsked(document->languages, options);
  if (!chosen.Ok()) return chosen.Failed();
  const Language& english = document->languages[chosen->english];
  const Language& chinese = document->languages[chosen->chinese];
  ImportedList list;
  // An entry without text is left out, unless the file keeps its white space: then it is
  // what vantle-book wrote for a record of two empty texts.
  const bool turn = !TakenAtTheirWord(chosen->choice);
  int turned = 0;
  for (const KvtmlEntry& entry : document->entries) {
    bool preserved = false;
    ListRecord record{entry.line, TextOf(entry, english, &preserved),
                      TextOf(entry, chinese, &preserved)};
    if (record.english.empty() && record.chinese.empty() && !preserved) continue;
    if (turn && TurnByContent(record)) ++turned;
    list.records.push_back(std::move(record));
  }
  list.description = "KVTML; English from " + LanguageText(english) + ", meanings from " +
                     LanguageText(chinese) + chosen->how + TurnedDescription(turned);
  return list;
}

}  // namespace booktool::import
