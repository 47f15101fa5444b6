#include "samples/samples.h"

#include <algorithm>
#include <deque>
#include <set>

#include "books/loader.h"
#include "books/word_book.h"
#include "booktool/book_check.h"
#include "booktool/files.h"

namespace samples {
namespace {

using base::Failure;
using base::Result;
using books::BookKind;

constexpr std::uint64_t kSeed = 0x56616E746C65ULL;

Result<std::vector<ListRecord>> ReadList(const std::filesystem::path& path, BookKind kind) {
  const Result<std::string> text = booktool::ReadWholeFile(path.string());
  if (!text) return Failure{text.Failed().reason, 0, path.string()};
  Result<std::vector<ListRecord>, booktool::ListFailure> parsed = booktool::ParseList(*text, kind);
  if (!parsed) return Failure{parsed.Failed().reason, parsed.Failed().line, path.string()};
  if (kind == BookKind::IdiomBook) return std::move(*parsed);
  for (const ListRecord& r : *parsed)
    for (const std::string* text : {&r.english, &r.chinese}) {
      const int lines = booktool::ButtonLines(*text);
      if (text->empty() || lines > booktool::kButtonLines)
        return Failure{
            "\"" + *text + "\" " + (text->empty() ? "is empty" : "is too long for a board button"),
            r.line, path.string()};
    }
  return std::move(*parsed);
}

// The records of `levels` in order, each level shuffled once (the same way for every book)
// and turned to start at `offset`; an English entry already taken is left out.
std::vector<ListRecord> Stream(const std::map<std::string, std::vector<ListRecord>>& shuffled,
                               const std::vector<std::string>& levels, std::size_t offset) {
  std::vector<ListRecord> stream;
  std::set<std::string> taken;
  for (const std::string& level : levels) {
    const std::vector<ListRecord>& pool = shuffled.at(level);
    for (std::size_t k = 0; k < pool.size(); ++k) {
      const ListRecord& r = pool[(offset + k) % pool.size()];
      if (taken.insert(r.english).second) stream.push_back(r);
    }
  }
  return stream;
}

std::pair<std::string, std::string> Texts(const ListRecord& r, bool idioms) {
  if (!idioms) return {r.english, r.chinese};
  std::pair<std::string, std::string> halves;
  books::CutIdiom(r.english, halves.first, halves.second);
  return halves;
}

}  // namespace

std::uint64_t Shuffler::Next() {
  // splitmix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

Result<Sources> ReadSources(const std::filesystem::path& data) {
  Sources sources;
  std::vector<std::string> levels = kGradedLevels;
  levels.insert(levels.end(), kOtherLevels.begin(), kOtherLevels.end());
  for (const std::string& level : levels) {
    Result<std::vector<ListRecord>> list =
        ReadList(data / "words" / (level + ".tsv"), BookKind::CatalogueBook);
    if (!list) return list.Failed();
    sources.levels[level] = std::move(*list);
  }
  Result<std::vector<ListRecord>> idioms = ReadList(data / "idioms.txt", BookKind::IdiomBook);
  if (!idioms) return idioms.Failed();
  sources.idioms = std::move(*idioms);
  return sources;
}

std::vector<std::string> LevelsFor(std::string_view label) {
  struct Rule {
    std::string_view title;
    std::vector<std::string> levels;
  };
  // The first rule whose text the label holds decides; school series without a level in
  // their title are graded by volume.
  static const std::vector<Rule> kRules = {
      {"小学英语", {"primary", "junior"}},
      {"初中英语", {"junior", "primary", "senior"}},
      {"高中英语", {"senior", "junior", "cet4"}},
      {"高考", {"senior", "junior", "cet4"}},
      {"大学英语精读", {"cet4", "senior", "cet6"}},
      {"1-4级词汇", {"cet4", "senior", "cet6"}},
      {"5-6级词汇", {"cet6", "cet4", "postgraduate"}},
      {"计算机常用词汇", {"computing_words", "computing_phrases"}},
      {"计算机常用词组", {"computing_phrases", "computing_words"}},
      {"词组", {"phrases"}},
      {"申硕", {"postgraduate", "cet6", "toefl"}},
      {"研究生", {"postgraduate", "cet6", "toefl"}},
      {"TOEFL", {"toefl", "postgraduate", "cet6"}},
      {"(第一册)", {"junior", "primary", "senior"}},
      {"(第二册)", {"senior", "junior", "cet4"}},
      {"(第三册)", {"cet4", "senior", "cet6"}},
      {"(第四册)", {"cet6", "cet4", "postgraduate"}},
  };
  for (const Rule& rule : kRules)
    if (label.find(rule.title) != std::string_view::npos) return rule.levels;
  return {"cet4", "senior", "cet6"};
}

Result<std::vector<ListRecord>> FillBook(const std::vector<ListRecord>& stream, int count,
                                         bool idioms) {
  std::vector<ListRecord> book;
  const std::size_t n = stream.size();
  if (n == 0) return Failure{"no records to draw on"};
  std::vector<std::pair<std::string, std::string>> texts;
  for (const ListRecord& r : stream) texts.push_back(Texts(r, idioms));
  std::deque<std::size_t> waiting;
  std::size_t next = 0;
  for (int start = 0; start < count; start += books::kGroupSize) {
    const int size = std::min(books::kGroupSize, count - start);
    std::set<std::string> entries, meanings;
    auto take = [&](std::size_t k) {
      if (entries.count(texts[k].first) || meanings.count(texts[k].second)) return false;
      entries.insert(texts[k].first);
      meanings.insert(texts[k].second);
      book.push_back(stream[k]);
      return true;
    };
    for (int slot = 0; slot < size; ++slot) {
      auto it = std::find_if(waiting.begin(), waiting.end(), take);
      if (it != waiting.end()) {
        waiting.erase(it);
        continue;
      }
      for (std::size_t tries = 0;; ++tries) {
        if (tries > n)
          return Failure{"the lists cannot fill group " +
                         std::to_string(start / books::kGroupSize + 1) +
                         " without repeating an entry or a meaning"};
        const std::size_t k = next++ % n;
        if (take(k)) break;
        waiting.push_back(k);
      }
    }
  }
  return book;
}

Result<Plan> PlanBooks(const Sources& sources) {
  std::map<std::string, std::vector<ListRecord>> shuffled = sources.levels;
  std::uint64_t seed = kSeed;
  for (auto& [level, records] : shuffled) Shuffler(seed++).Shuffle(records);

  Plan plan;
  std::map<std::string, std::size_t> used;  // records taken so far from each first level
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    // What the book draws on, in order.
    std::vector<ListRecord> stream;
    int count = entry.word_count;
    if (entry.kind == BookKind::IdiomBook) {
      stream = sources.idioms;
      Shuffler(seed++).Shuffle(stream);
    } else if (entry.kind == BookKind::OwnBook) {
      // A learner's own collection: words and phrases by turns.
      const auto& words = shuffled.at("cet4");
      const auto& phrases = shuffled.at("phrases");
      for (std::size_t k = 0; k < std::max(words.size(), phrases.size()); ++k) {
        if (k < words.size()) stream.push_back(words[k]);
        if (k < phrases.size()) stream.push_back(phrases[k]);
      }
      count = kSampleOwnBookRecords;
    } else {
      // Volumes of one level follow each other through its words.
      const std::vector<std::string> levels = LevelsFor(entry.label);
      std::size_t& offset = used[levels.front()];
      stream = Stream(shuffled, levels, offset);
      offset += static_cast<std::size_t>(entry.word_count);
    }
    Result<std::vector<ListRecord>> book =
        FillBook(stream, count, entry.kind == BookKind::IdiomBook);
    if (!book) return Failure{book.Failed().reason, 0, std::string(entry.label)};
    plan[std::string(entry.label)] = std::move(*book);
  }
  return plan;
}

Result<> CheckSampleBook(const std::string& path, const books::CatalogueEntry& entry,
                         const std::vector<ListRecord>& records) {
  const Result<booktool::CheckedBook, books::LoadFailure> checked =
      booktool::CheckBook(path, entry);
  const std::string label(entry.label);
  if (!checked) return Failure{booktool::DescribeFailure(checked.Failed(), entry), 0, label};
  const books::WordBook& book = checked->book;
  if (entry.kind != BookKind::OwnBook && book.Count() != entry.word_count)
    return Failure{"holds " + books::RecordCount(book.Count()), 0, label};
  const int differs = booktool::FirstDifference(book, entry, records);
  if (differs >= 0)
    return Failure{"record " + std::to_string(differs) + " does not read back as planned", 0,
                   label};
  if (!checked->warnings.empty()) return Failure{checked->warnings.front().text, 0, label};
  return {};
}

// Writes the sample of `entry` into `program_directory` and checks it.
Result<> WriteSample(const books::CatalogueEntry& entry, const std::vector<ListRecord>& records,
                     const std::filesystem::path& program_directory) {
  const std::string label(entry.label);
  const int want = entry.kind == BookKind::OwnBook ? kSampleOwnBookRecords : entry.word_count;
  if (static_cast<int>(records.size()) != want)
    return Failure{
        "the word lists gave " + std::to_string(records.size()) + " of " + books::RecordCount(want),
        0, label};
  const Result<booktool::EncodedBook, booktool::ListFailure> encoded =
      booktool::EncodeBook(records, entry);
  if (!encoded)
    return Failure{
        "data line " + std::to_string(encoded.Failed().line) + ": " + encoded.Failed().reason, 0,
        label};
  if (encoded->encoding != books::Encoding::Gbk) return Failure{"would not be GBK", 0, label};
  const std::string path = books::BookFilePath(program_directory.string(), entry);
  const Result<std::string> written =
      booktool::WriteAtomically({.path = path, .force = true}, encoded->bytes);
  if (!written) return Failure{written.Failed().reason, 0, path};
  return CheckSampleBook(path, entry, records);
}

Result<> WriteSamples(const Sources& sources, const std::filesystem::path& program_directory,
                      std::ostream& log) {
  std::error_code ec;
  std::filesystem::create_directories(program_directory / "Study", ec);
  if (ec) return Failure{ec.message(), 0, (program_directory / "Study").string()};
  const Result<Plan> plan = PlanBooks(sources);
  if (!plan) return plan.Failed();
  long total = 0;
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    const std::vector<ListRecord>& records = plan->at(std::string(entry.label));
    if (Result<> written = WriteSample(entry, records, program_directory); !written) return written;
    total += static_cast<long>(records.size());
  }
  log << "vantle-samples: wrote and checked " << books::BookCatalogue().size() << " books ("
      << total << " records) in " << program_directory.string() << "\n";
  return {};
}

}  // namespace samples
