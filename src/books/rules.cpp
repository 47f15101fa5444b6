#include "books/rules.h"

#include <array>

#include "text/text.h"

namespace books {
namespace {

struct FaultText {
  Fault kind;
  std::string_view few_words;  // for counting faults of the kind
  // {english} {meaning} {what} {text} quote texts; {char} {number} {first} {room} {holder}
  // {count} {book} stand for the other details.
  std::string_view message;
};

constexpr std::array<FaultText, 13> kFaultTexts = {{
    {Fault::EmptyEnglish, "with an empty side", "empty English entry (meaning {meaning})"},
    {Fault::EmptyMeaning, "with an empty side", "empty meaning (English entry {english})"},
    {Fault::LineBreak, "with a line break",
     "{what} {text} holds a line break or a NUL byte, which a book line cannot hold"},
    {Fault::NotUtf8, "with text that is not UTF-8", "{what} {text} is not UTF-8"},
    {Fault::Unreadable, "with text GBK cannot hold",
     "{what} {text} holds bytes that are neither UTF-8 nor GBK"},
    {Fault::NotGbk, "with text GBK cannot hold",
     "{what} {text} holds \"{char}\", which GBK cannot hold"},
    {Fault::Marker, "with a meaning ending in 0, 1 or a space",
     "meaning {meaning} ends in 0, 1 or a space, which the program removes"},
    {Fault::NoFirstCharacter, "with an empty side",
     "empty English entry: from the second record on, a catalogue book stores its first "
     "character lowered by one, so it needs one"},
    {Fault::NotLowerable, "with a first character that cannot be stored",
     "English entry {english}: its first character cannot be stored lowered by one"},
    {Fault::Repeat, "repeating a pair",
     "the pair {english} / {meaning} again (first on line {first})"},
    {Fault::TooMany, "beyond what the book holds",
     "record {number} is beyond the {room} records {holder} holds"},
    {Fault::OwnCount, "of a wrong count", "{count}: the own book holds from 2 to {room} records"},
    {Fault::ExactCount, "of a wrong count", "{count}, but {book} holds exactly {room} records"},
}};

const FaultText& TextOf(Fault fault) {
  for (const FaultText& t : kFaultTexts)
    if (t.kind == fault) return t;
  return kFaultTexts.front();
}

// The first character of UTF-8 `text` that GBK cannot hold, or empty when there is none.
std::string FirstNonGbk(GbkEncoder& encoder, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = text::CharOffset(text.substr(i), 1);
    const std::string_view ch = text.substr(i, n);
    if (!encoder.Encode(ch)) return std::string(ch);
    i += n;
  }
  return {};
}

}  // namespace

bool IsMarker(char c) {
  return c == '0' || c == '1' || c == ' ';
}

bool EndsInMarker(std::string_view meaning) {
  return !meaning.empty() && IsMarker(meaning.back());
}

int MinRecords(const CatalogueEntry& entry) {
  return entry.kind == BookKind::OwnBook ? 2 : entry.word_count;
}

int MaxRecords(const CatalogueEntry& entry) {
  return entry.word_count;  // the own book's count is its capacity
}

void OwnBookEncoding::Add(std::string_view bytes) {
  if (!valid_ || text::IsAscii(bytes)) return;
  beyond_ascii_ = true;
  valid_ = text::IsValidUtf8(bytes);
}

bool OwnBookReadsAsUtf8(std::string_view bytes) {
  OwnBookEncoding encoding;
  encoding.Add(bytes);
  return encoding.ReadsAsUtf8();
}

std::string FaultMessage(Fault fault, const FaultDetails& d) {
  const std::string_view message = TextOf(fault).message;
  const std::string holder = d.entry == nullptr                   ? std::string("the book")
                             : d.entry->kind == BookKind::OwnBook ? std::string("the own book")
                                                                  : std::string(d.entry->label);
  const std::string room = d.entry ? std::to_string(MaxRecords(*d.entry)) : std::string();
  const std::pair<std::string_view, std::string> values[] = {
      {"{english}", Quoted(d.english)},
      {"{meaning}", Quoted(d.meaning)},
      {"{what}", d.what},
      {"{text}", Quoted(d.text)},
      {"{char}", d.character},
      {"{number}", std::to_string(d.number)},
      {"{first}", std::to_string(d.first)},
      {"{room}", room},
      {"{holder}", holder},
      {"{count}", RecordCount(d.number)},
      {"{book}", d.entry ? std::string(d.entry->label) : std::string()},
  };
  std::string out;
  for (std::size_t i = 0; i < message.size();) {
    bool replaced = false;
    if (message[i] == '{') {
      for (const auto& [name, value] : values) {
        if (!message.substr(i).starts_with(name)) continue;
        out += value;
        i += name.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += message[i++];
  }
  return out;
}

std::string RecordCount(int n) {
  return std::to_string(n) + (n == 1 ? " record" : " records");
}

std::string_view FaultShort(Fault fault) {
  return TextOf(fault).few_words;
}

std::string Escape(std::string_view field) {
  std::string out;
  for (char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Quoted(std::string_view text) {
  return text::Concat({"\"", Escape(text), "\""});
}

BookRules::BookRules(const CatalogueEntry& entry, Strictness strictness)
    : entry_(entry), strictness_(strictness) {}

std::optional<RecordFault> BookRules::FieldFault(std::string_view text, const char* what,
                                                 std::string& gbk) {
  FaultDetails d;
  d.what = what;
  d.text = std::string(text);
  Fault fault;
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    fault = Fault::LineBreak;
  } else if (std::optional<std::string> encoded = encoder_.Encode(text)) {
    gbk = std::move(*encoded);
    return std::nullopt;
  } else if (!text::IsValidUtf8(text)) {
    fault = Fault::NotUtf8;
  } else {
    d.character = FirstNonGbk(encoder_, text);
    fault = d.character == text::kReplacementUtf8 ? Fault::Unreadable : Fault::NotGbk;
  }
  return RecordFault{fault, FaultMessage(fault, d)};
}

std::vector<RecordFault> BookRules::Check(std::string_view english, std::string_view meaning,
                                          int index, int line, std::string& gbk_english,
                                          std::string& gbk_meaning) {
  std::vector<RecordFault> faults;
  FaultDetails d;
  d.english = std::string(english);
  d.meaning = std::string(meaning);
  auto add = [&](Fault fault) { faults.push_back({fault, FaultMessage(fault, d)}); };
  if (entry_.kind == BookKind::IdiomBook) {
    if (auto fault = FieldFault(english, "idiom", gbk_english)) faults.push_back(*fault);
    gbk_meaning.clear();
    return faults;
  }
  if (strictness_.empty_side && (english.empty() || meaning.empty())) {
    add(english.empty() ? Fault::EmptyEnglish : Fault::EmptyMeaning);
    return faults;
  }
  // Both fields are looked at, so that one run names every fault of the record.
  for (auto fault : {FieldFault(english, kEnglishSide, gbk_english),
                     FieldFault(meaning, kMeaningSide, gbk_meaning)})
    if (fault) faults.push_back(*fault);
  if (!faults.empty()) return faults;
  if (EndsInMarker(meaning)) {
    add(Fault::Marker);
    return faults;
  }
  if (entry_.kind == BookKind::CatalogueBook && index > 0) {
    if (gbk_english.empty()) {
      add(Fault::NoFirstCharacter);
      return faults;
    }
    // Stored lowered by one; the loader's raise must give the same line back.
    std::string stored = gbk_english;
    LowerFirstCharacter(stored);
    std::string back = stored;
    RaiseFirstCharacter(back);
    if (back != gbk_english ||
        stored.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      add(Fault::NotLowerable);
      return faults;
    }
    gbk_english = std::move(stored);
  }
  if (strictness_.repeat) {
    auto [it, fresh] = seen_.emplace(std::pair{d.english, d.meaning}, line);
    if (!fresh) {
      d.first = it->second;
      add(Fault::Repeat);
    }
  }
  return faults;
}

std::optional<RecordFault> BookRules::CountFault(int count) const {
  if (count >= MinRecords(entry_) && count <= MaxRecords(entry_)) return std::nullopt;
  FaultDetails d;
  d.number = count;
  d.entry = &entry_;
  const Fault kind = entry_.kind == BookKind::OwnBook ? Fault::OwnCount : Fault::ExactCount;
  return RecordFault{kind, FaultMessage(kind, d)};
}

std::optional<RecordFault> BookRules::RoomFault(int index) const {
  if (index < MaxRecords(entry_)) return std::nullopt;
  FaultDetails d;
  d.number = index + 1;
  d.entry = &entry_;
  return RecordFault{Fault::TooMany, FaultMessage(Fault::TooMany, d)};
}

}  // namespace books
