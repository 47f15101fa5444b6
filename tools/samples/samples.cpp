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

using books::BookKind;

constexpr std::uint64_t kSeed = 0x56616E746C65ULL;

bool ReadList(const std::filesystem::path& path, BookKind kind, std::vector<ListRecord>& records,
              std::string& error) {
  const booktool::Result<std::string> text = booktool::ReadWholeFile(path.string());
  if (!text.Ok()) {
    error = path.string() + ": " + text.Refused().reason;
    return false;
  }
  booktool::Result<std::vector<ListRecord>> parsed = booktool::ParseList(*text, kind);
  if (!parsed.Ok()) {
    error = path.string() + ":" + std::to_string(parsed.Refused().line) + ": " +
            parsed.Refused().reason;
    return false;
  }
  records = std::move(*parsed);
  if (kind == BookKind::IdiomBook) return true;
  for (const ListRecord& r : records)
    for (const std::string* text : {&r.english, &r.chinese}) {
      const int lines = booktool::ButtonLines(*text);
      if (text->empty() || lines > booktool::kButtonLines) {
        error = path.string() + ":" + std::to_string(r.line) + ": \"" + *text + "\" " +
                (text->empty() ? "is empty" : "is too long for a board button");
        return false;
      }
    }
  return true;
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

bool ReadSources(const std::filesystem::path& data, Sources& sources, std::string& error) {
  std::vector<std::string> levels = kGradedLevels;
  levels.insert(levels.end(), kOtherLevels.begin(), kOtherLevels.end());
  for (const std::string& level : levels)
    if (!ReadList(data / "words" / (level + ".tsv"), BookKind::CatalogueBook, sources.levels[level],
                  error))
      return false;
  return ReadList(data / "idioms.txt", BookKind::IdiomBook, sources.idioms, error);
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

bool FillBook(const std::vector<ListRecord>& stream, int count, bool idioms,
              std::vector<ListRecord>& book, std::string& error) {
  book.clear();
  const std::size_t n = stream.size();
  if (n == 0) {
    error = "no records to draw on";
    return false;
  }
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
        if (tries > n) {
          error = "the lists cannot fill group " + std::to_string(start / books::kGroupSize + 1) +
                  " without repeating an entry or a meaning";
          return false;
        }
        const std::size_t k = next++ % n;
        if (take(k)) break;
        waiting.push_back(k);
      }
    }
  }
  return true;
}

bool PlanBooks(const Sources& sources, std::map<std::string, std::vector<ListRecord>>& plan,
               std::string& error) {
  std::map<std::string, std::vector<ListRecord>> shuffled = sources.levels;
  std::uint64_t seed = kSeed;
  for (auto& [level, records] : shuffled) Shuffler(seed++).Shuffle(records);

  plan.clear();
  std::map<std::string, std::size_t> used;  // records taken so far from each first level
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    std::vector<ListRecord>& book = plan[std::string(entry.label)];
    bool ok = true;
    if (entry.kind == BookKind::IdiomBook) {
      std::vector<ListRecord> idioms = sources.idioms;
      Shuffler(seed++).Shuffle(idioms);
      ok = FillBook(idioms, entry.word_count, true, book, error);
    } else if (entry.kind == BookKind::OwnBook) {
      // A learner's own collection: words and phrases by turns.
      std::vector<ListRecord> mixed;
      const auto& words = shuffled.at("cet4");
      const auto& phrases = shuffled.at("phrases");
      for (std::size_t k = 0; k < std::max(words.size(), phrases.size()); ++k) {
        if (k < words.size()) mixed.push_back(words[k]);
        if (k < phrases.size()) mixed.push_back(phrases[k]);
      }
      ok = FillBook(mixed, kSampleOwnBookRecords, false, book, error);
    } else {
      // Volumes of one level follow each other through its words.
      const std::vector<std::string> levels = LevelsFor(entry.label);
      std::size_t& offset = used[levels.front()];
      ok = FillBook(Stream(shuffled, levels, offset), entry.word_count, false, book, error);
      offset += static_cast<std::size_t>(entry.word_count);
    }
    if (!ok) {
      error = std::string(entry.label) + ": " + error;
      return false;
    }
  }
  return true;
}

bool CheckSampleBook(const std::string& path, const books::CatalogueEntry& entry,
                     const std::vector<ListRecord>& records, std::string& error) {
  booktool::CheckReport report = booktool::CheckBook(path, entry);
  const std::string label(entry.label);
  if (!report.result.Ok()) {
    error = label + ": " + booktool::DescribeFailure(report.result, entry);
    return false;
  }
  if (entry.kind != BookKind::OwnBook && report.book.Count() != entry.word_count) {
    error = label + ": holds " + std::to_string(report.book.Count()) + " records";
    return false;
  }
  const int differs = booktool::FirstDifference(report.book, entry, records);
  if (differs >= 0) {
    error = label + ": record " + std::to_string(differs) + " does not read back as planned";
    return false;
  }
  if (!report.warnings.empty()) {
    error = label + ": " + report.warnings.front().text;
    return false;
  }
  return true;
}

bool WriteSamples(const Sources& sources, const std::filesystem::path& program_directory,
                  std::ostream& log, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(program_directory / "Study", ec);
  if (ec) {
    error = (program_directory / "Study").string() + ": " + ec.message();
    return false;
  }
  std::map<std::string, std::vector<ListRecord>> plan;
  if (!PlanBooks(sources, plan, error)) return false;
  long total = 0;
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    const std::vector<ListRecord>& records = plan.at(std::string(entry.label));
    const std::string label(entry.label);
    const int want = entry.kind == BookKind::OwnBook ? kSampleOwnBookRecords : entry.word_count;
    if (static_cast<int>(records.size()) != want) {
      error = label + ": the word lists gave " + std::to_string(records.size()) + " of " +
              std::to_string(want) + " records";
      return false;
    }
    const booktool::Result<booktool::EncodedBook> encoded = booktool::EncodeBook(records, entry);
    if (!encoded.Ok()) {
      error = label + ": data line " + std::to_string(encoded.Refused().line) + ": " +
              encoded.Refused().reason;
      return false;
    }
    if (encoded->encoding != booktool::BookEncoding::Gbk) {
      error = label + ": would not be GBK";
      return false;
    }
    const std::string path = books::BookFilePath(program_directory.string(), entry);
    const booktool::Result<std::string> written =
        booktool::WriteAtomically({path, true, {}}, encoded->bytes);
    if (!written.Ok()) {
      error = path + ": " + written.Refused().reason;
      return false;
    }
    if (!CheckSampleBook(path, entry, records, error)) return false;
    total += static_cast<long>(records.size());
  }
  log << "vantle-samples: wrote and checked " << books::BookCatalogue().size() << " books ("
      << total << " records) in " << program_directory.string() << "\n";
  return true;
}

}  // namespace samples
