#include <expat.h>

#include <algorithm>
#include <map>

#include "booktool/import_parts.h"

namespace booktool::import {
namespace {

struct Language {
  std::string Id, Name, Locale;
};

struct KvtmlEntry {
  int Line = 0;
  std::map<std::string, std::string> Texts;  // translation id -> text
};

class KvtmlReader {
 public:
  explicit KvtmlReader(std::string_view bytes) {
    parser_ = XML_ParserCreate(nullptr);
    if (!parser_) {
      failure_ = {0, "out of memory"};
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
        failure_ = {
            static_cast<int>(XML_GetCurrentLineNumber(parser_)),
            std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(parser_))};
        break;
      }
      at += n;
    } while (at < bytes.size());
    XML_ParserFree(parser_);
    if (failure_.Reason.empty() && root_ != "kvtml")
      failure_ = {0, "the XML file is no KVTML file (its root element is <" + root_ + ">)"};
    else if (failure_.Reason.empty() &&
             (version_.starts_with("1") || (old_entries_ && languages_.empty())))
      failure_ = {0, "a KVTML 1 file: save it in KVTML 2 first"};
  }

  const Refusal& Failure() const { return failure_; }
  const std::vector<Language>& Languages() const { return languages_; }
  const std::vector<KvtmlEntry>& Entries() const { return entries_; }

 private:
  static void Start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* self = static_cast<KvtmlReader*>(data);
    std::string id;
    for (const XML_Char** a = attributes; a[0]; a += 2) {
      if (std::string_view(a[0]) == "id") id = a[1];
      if (self->path_.empty() && std::string_view(a[0]) == "version") self->version_ = a[1];
    }
    self->Open(name, std::move(id));
  }
  static void End(void* data, const XML_Char*) { static_cast<KvtmlReader*>(data)->Close(); }
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
      languages_.push_back({std::move(id), {}, {}});
    } else if (At({"entries", "entry"})) {
      entries_.push_back({static_cast<int>(XML_GetCurrentLineNumber(parser_)), {}});
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
        entries_.back().Texts[translation_] = text_;
      else if (At({"identifiers", "identifier", "name"}))
        languages_.back().Name = text_;
      else
        languages_.back().Locale = text_;
    }
    collect_ = false;
    path_.pop_back();
  }

  XML_Parser parser_ = nullptr;
  std::vector<std::string> path_;
  std::string root_, version_, translation_, text_;
  bool collect_ = false, old_entries_ = false;
  std::vector<Language> languages_;
  std::vector<KvtmlEntry> entries_;
  Refusal failure_;
};

std::string LanguageText(const Language& language) {
  std::string text = Quote(Trim(language.Name).empty() ? language.Id : Trim(language.Name));
  if (!Trim(language.Locale).empty()) text += " (" + std::string(Trim(language.Locale)) + ")";
  return text;
}

std::string KnownLanguages(const std::vector<Language>& languages) {
  std::string known;
  for (std::size_t k = 0; k < languages.size(); ++k)
    known += (k ? ", " : "") + std::to_string(k + 1) + " " + LanguageText(languages[k]);
  return known.empty() ? std::string("none") : known;
}

}  // namespace

void ReadKvtml(std::string_view bytes, const ImportOptions& options, ImportedList& list) {
  KvtmlReader reader(bytes);
  if (!reader.Failure().Reason.empty()) {
    list.Failure = reader.Failure();
    return;
  }
  const std::vector<Language>& languages = reader.Languages();
  // A language is chosen by its number in the file's order, its locale ("zh" also stands for
  // "zh_CN") or its name.
  std::vector<std::string> locales, languages_of_locales, names;
  for (const Language& l : languages) {
    locales.push_back(l.Locale);
    const std::string locale = Lower(Trim(l.Locale));
    languages_of_locales.push_back(locale.substr(0, locale.find_first_of("_-")));
    names.push_back(l.Name);
  }
  std::vector<std::size_t> chosen;
  for (const std::string& wanted : options.Columns) {
    std::string error;
    std::optional<std::size_t> i = ColumnFor(wanted, locales, error);
    if (!i) i = ColumnFor(wanted, languages_of_locales, error);
    if (!i) i = ColumnFor(wanted, names, error);
    if (!i || *i >= languages.size()) {
      list.Failure = {0, "no language " + Quote(wanted) + " in the file (it has " +
                             KnownLanguages(languages) + ")"};
      return;
    }
    chosen.push_back(*i);
  }
  std::string how;
  if (chosen.empty()) {
    if (languages.size() < 2) {
      list.Failure = {
          0, "the file has " + std::to_string(languages.size()) + " languages; two are needed"};
      return;
    }
    // English is the language whose locale is English, the meaning the one whose locale is
    // Chinese. Languages without a locale are told apart by their names or their content, as
    // the columns of a CSV file are; one left alone takes the side no locale names.
    std::optional<std::size_t> english, chinese;
    for (std::size_t k = 0; k < languages.size(); ++k) {
      if (!english && languages_of_locales[k] == "en") english = k;
      if (!chinese && languages_of_locales[k] == "zh") chinese = k;
    }
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < languages.size(); ++k)
      if (Trim(languages[k].Locale).empty() && english != k && chinese != k) open.push_back(k);
    if (!english && !chinese && open.size() >= 2) {
      Cells cells;
      for (const KvtmlEntry& entry : reader.Entries()) {
        cells.emplace_back();
        for (const Language& l : languages) {
          auto it = entry.Texts.find(l.Id);
          cells.back().push_back(it == entry.Texts.end() ? std::string()
                                                         : CollapseSpace(it->second));
        }
      }
      Columns columns;
      std::string error;
      if (!ChooseColumns({}, names, open, cells, columns, error)) {
        list.Failure = {0, "the file gives no locales, and " + error};
        return;
      }
      english = columns.English;
      chinese = columns.Chinese;
      how = columns.ByContent ? " (told apart by their content: the file gives no locale)"
                              : " (told apart by their names: the file gives no locale)";
    } else if (!english != !chinese && !open.empty()) {
      (english ? chinese : english) = open.front();
      how = " (the one without a locale)";
    }
    if (!english || !chinese) {
      list.Failure = {0,
                      "cannot tell the English language from the Chinese one by their "
                      "locales (the file has " +
                          KnownLanguages(languages) +
                          "); name them with --columns A,B, the English one first"};
      return;
    }
    chosen = {*english, *chinese};
  }
  const Language& english = languages[chosen[0]];
  const Language& chinese = languages[chosen[1]];
  list.Description = "KVTML; English from " + LanguageText(english) + ", meanings from " +
                     LanguageText(chinese) + how;
  for (const KvtmlEntry& entry : reader.Entries()) {
    auto text = [&](const Language& language) {
      auto it = entry.Texts.find(language.Id);
      return it == entry.Texts.end() ? std::string() : CollapseSpace(it->second);
    };
    ListRecord record{entry.Line, text(english), text(chinese)};
    if (record.English.empty() && record.Chinese.empty()) continue;
    list.Records.push_back(std::move(record));
  }
}

}  // namespace booktool::import
