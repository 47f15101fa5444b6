// The sample-data generator: groups without repeats, the levels each book draws on, the
// project's own word lists, and the books it writes and checks.
#include "samples/samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "books/gbk.h"
#include "books/loader.h"
#include "booktool/book_check.h"
#include "booktool/export.h"
#include "booktool/files.h"
#include "booktool/import.h"
#include "booktool/tool.h"
#include "kit/files.h"

namespace {

using booktool::ListRecord;

std::string ReadAll(const std::string& path) {
  const base::Result<std::string> bytes = booktool::ReadWholeFile(path);
  EXPECT_TRUE(bytes.Ok()) << bytes.Failed().reason;
  return bytes.Ok() ? *bytes : std::string();
}

// No entry and no meaning twice within any group of 18.
void ExpectNoRepeatInGroups(const std::vector<ListRecord>& book, bool idioms) {
  for (std::size_t start = 0; start < book.size(); start += 18) {
    std::set<std::string> entries, meanings;
    for (std::size_t k = start; k < std::min(book.size(), start + 18); ++k) {
      std::string en = book[k].english, zh = book[k].chinese;
      if (idioms) books::CutIdiom(book[k].english, en, zh);
      EXPECT_TRUE(entries.insert(en).second) << "record " << k + 1 << ": " << en;
      EXPECT_TRUE(meanings.insert(zh).second) << "record " << k + 1 << ": " << zh;
    }
  }
}

TEST(FillBook, RepeatsTheStreamWithoutRepeatsInAGroup) {
  // 20 records, where several share a meaning: a group can never hold two of those.
  std::vector<ListRecord> stream;
  for (int i = 0; i < 20; ++i)
    stream.push_back(
        {i + 1, kit::Numbered("w", i), i % 5 == 0 ? "同义" : kit::Numbered("义", i, "条")});
  ASSERT_FALSE(samples::FillBook(stream, 100, false).Ok())
      << "four records share a meaning: only 17 distinct meanings";
  stream.push_back({21, "x", "另一"});
  stream.push_back({22, "y", "再一"});
  const base::Result<std::vector<ListRecord>> book = samples::FillBook(stream, 100, false);
  ASSERT_TRUE(book.Ok()) << book.Failed().reason;
  EXPECT_EQ(book->size(), 100u);
  ExpectNoRepeatInGroups(*book, false);
}

TEST(FillBook, ComparesIdiomsByTheHalvesTheProgramShows) {
  std::vector<ListRecord> idioms;
  for (const char* idiom : {"一心一意", "一心二用", "三心二意", "半心半意"})
    idioms.push_back({0, idiom, ""});
  ASSERT_FALSE(samples::FillBook(idioms, 18, true).Ok()) << "only four idioms";
  for (int i = 0; i < 30; ++i) {
    const std::string n = std::to_string(i);
    idioms.push_back({0, "甲" + n + "乙" + n, ""});  // halves 甲<n>- and -乙<n>
  }
  const base::Result<std::vector<ListRecord>> book = samples::FillBook(idioms, 54, true);
  ASSERT_TRUE(book.Ok()) << book.Failed().reason;
  ExpectNoRepeatInGroups(*book, true);
}

TEST(LevelsFor, BooksDrawOnTheLevelTheirTitleNames) {
  struct Row {
    const char* label;
    std::vector<std::string> levels;
  } rows[] = {
      {"《小学英语》(第一册)(91)", {"primary", "junior"}},
      {"新版《初中英语》(第二册)(612)", {"junior", "primary", "senior"}},
      {"《高考英语词汇手册》(3468)", {"senior", "junior", "cet4"}},
      {"《大学英语1-4级词组》(1773)", {"phrases"}},
      {"《大学英语5-6级词汇》(2090)", {"cet6", "cet4", "postgraduate"}},
      {"《计算机常用词组》(2382)", {"computing_phrases", "computing_words"}},
      {"《研究生英语入学考试大纲》(6489)", {"postgraduate", "cet6", "toefl"}},
      {"《最新TOEFL词组》(941)", {"phrases"}},
      {"《最新TOEFL词汇》(3480)", {"toefl", "postgraduate", "cet6"}},
      {"《新概念英语》(第一册)(874)", {"junior", "primary", "senior"}},
      {"新版《新概念英语》(第四册)(791)", {"cet6", "cet4", "postgraduate"}},
  };
  for (const Row& r : rows) EXPECT_EQ(samples::LevelsFor(r.label), r.levels) << r.label;
}

class SampleData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    base::Result<samples::Sources> read = samples::ReadSources(VANTLE_DATA_DIR);
    ASSERT_TRUE(read.Ok()) << base::Describe(read.Failed());
    sources = new samples::Sources(std::move(*read));
  }
  static void TearDownTestSuite() {
    delete sources;
    sources = nullptr;
  }
  static samples::Sources* sources;
};

samples::Sources* SampleData::sources = nullptr;

TEST_F(SampleData, WordListsAreLargeEnoughAndAllGbk) {
  std::set<std::string> english, phrases, computing;
  books::GbkEncoder encoder;
  for (const auto& [level, records] : sources->levels) {
    EXPECT_GE(records.size(), 200u) << level;
    for (const ListRecord& r : records) {
      english.insert(r.english);
      if (r.english.find(' ') != std::string::npos) phrases.insert(r.english);
      if (level.starts_with("computing")) computing.insert(r.english);
      EXPECT_TRUE(encoder.Encode(r.english) && encoder.Encode(r.chinese)) << level << ":" << r.line;
    }
  }
  EXPECT_GE(english.size(), 3000u);
  EXPECT_GE(phrases.size(), 400u);
  EXPECT_GE(computing.size(), 400u);
  std::set<std::string> idioms;
  for (const ListRecord& r : sources->idioms) {
    idioms.insert(r.english);
    EXPECT_TRUE(encoder.Encode(r.english)) << r.english;
    EXPECT_GE(r.english.size(), 4u * 3) << "an idiom has four characters or more: " << r.english;
  }
  EXPECT_GE(idioms.size(), 5000u);
  EXPECT_EQ(idioms.size(), sources->idioms.size()) << "an idiom is listed twice";
}

TEST_F(SampleData, EveryBookIsPlannedWithItsCountAndNoRepeatInAGroup) {
  const base::Result<samples::Plan> planned = samples::PlanBooks(*sources);
  const base::Result<samples::Plan> planned_again = samples::PlanBooks(*sources);
  ASSERT_TRUE(planned.Ok()) << base::Describe(planned.Failed());
  ASSERT_TRUE(planned_again.Ok());
  const samples::Plan &plan = *planned, &again = *planned_again;
  EXPECT_EQ(plan.size(), 55u);
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    SCOPED_TRACE(std::string(entry.label));
    const auto& book = plan.at(std::string(entry.label));
    const int want =
        entry.kind == books::BookKind::OwnBook ? samples::kSampleOwnBookRecords : entry.word_count;
    EXPECT_EQ(static_cast<int>(book.size()), want);
    ExpectNoRepeatInGroups(book, entry.kind == books::BookKind::IdiomBook);
    if (entry.kind == books::BookKind::IdiomBook) {
      // The idioms are spread evenly: none comes up more often than the list's size forces.
      const std::size_t listed = sources->idioms.size();
      const std::size_t most = (book.size() + listed - 1) / listed;
      std::map<std::string, std::size_t> times;
      for (const ListRecord& r : book) ++times[r.english];
      const auto often = std::max_element(times.begin(), times.end(),
                                          [](auto& a, auto& b) { return a.second < b.second; });
      EXPECT_LE(often->second, most) << often->first;
      EXPECT_GE(times.size(), 5000u);
    }
    const auto& second = again.at(std::string(entry.label));
    ASSERT_EQ(book.size(), second.size());
    for (std::size_t k = 0; k < book.size(); ++k)
      ASSERT_EQ(book[k].english, second[k].english) << "the same books on every run";
  }
  // Two volumes of one series hold different words.
  EXPECT_NE(plan.at("新版《小学英语》(第一册)(200)")[0].english,
            plan.at("新版《小学英语》(第二册)(200)")[0].english);
}

TEST_F(SampleData, WrittenBooksLoadWithTheirExactCounts) {
  kit::TempDir dir;
  std::ostringstream log;
  const base::Result<> written = samples::WriteSamples(*sources, dir.Path(), log);
  ASSERT_TRUE(written.Ok()) << base::Describe(written.Failed());
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    books::WordBook book;
    const books::BookLoad loaded =
        books::ReadWordBook(books::BookFilePath(dir.Str(), entry), entry, book);
    ASSERT_TRUE(loaded.Ok()) << entry.label << ": " << loaded.Failed().reason;
    EXPECT_EQ(book.Count(), entry.kind == books::BookKind::OwnBook ? 300 : entry.word_count);
    EXPECT_EQ(loaded->encoding, books::Encoding::Gbk) << entry.label;
    EXPECT_EQ(loaded->invalid_sequences, 0) << entry.label;
  }

  // The generator's own check catches a book that does not hold what was planned.
  const base::Result<samples::Plan> plan = samples::PlanBooks(*sources);
  ASSERT_TRUE(plan.Ok());
  const books::CatalogueEntry& first = books::BookCatalogue()[1];
  const std::string path = books::BookFilePath(dir.Str(), first);
  std::vector<ListRecord> records = plan->at(std::string(first.label));
  base::Result<> checked = samples::CheckSampleBook(path, first, records);
  EXPECT_TRUE(checked.Ok()) << base::Describe(checked.Failed());
  records[5].chinese += "！";
  checked = samples::CheckSampleBook(path, first, records);
  ASSERT_FALSE(checked.Ok());
  EXPECT_NE(checked.Failed().reason.find("record 6"), std::string::npos) << checked.Failed().reason;
  // ... and one with a repeat in a group, though it loads.
  records = plan->at(std::string(first.label));
  records[3] = records[2];
  const base::Result<booktool::EncodedBook, booktool::ListFailure> encoded =
      booktool::EncodeBook(records, first);
  ASSERT_TRUE(encoded.Ok());
  kit::WriteFile(path, encoded->bytes);
  checked = samples::CheckSampleBook(path, first, records);
  ASSERT_FALSE(checked.Ok());
  EXPECT_NE(checked.Failed().reason.find("group 1"), std::string::npos) << checked.Failed().reason;
}

TEST_F(SampleData, EveryBookExportedInEveryFormatImportsBackToItsRecords) {
  kit::TempDir dir;
  std::ostringstream log, out, err;
  const base::Result<> written = samples::WriteSamples(*sources, dir.Path(), log);
  ASSERT_TRUE(written.Ok()) << base::Describe(written.Failed());
  const std::pair<const char*, booktool::ListFormat> formats[] = {
      {"csv", booktool::ListFormat::Csv},
      {"txt", booktool::ListFormat::Flashcards},
      {"kvtml", booktool::ListFormat::Kvtml}};
  for (const books::CatalogueEntry& entry : books::BookCatalogue()) {
    books::WordBook book;
    const std::string path = books::BookFilePath(dir.Str(), entry);
    ASSERT_TRUE(books::ReadWordBook(path, entry, book).Ok()) << entry.label;
    const std::vector<ListRecord> records = booktool::BookRecords(book);
    for (const auto& [extension, format] : formats) {
      const std::string exported = (dir.Path() / "export.").string() + extension;
      ASSERT_EQ(
          booktool::RunBookTool(
              {"export", path, exported, "--label", std::string(entry.label), "--force"}, out, err),
          booktool::kExitGood)
          << entry.label << " " << extension << ": " << err.str();
      const base::Result<booktool::ImportedList> imported =
          booktool::ParseImport(ReadAll(exported), {});
      ASSERT_TRUE(imported.Ok()) << entry.label << ": " << imported.Failed().reason;
      const booktool::ImportedList& list = *imported;
      EXPECT_EQ(list.format, format) << entry.label;
      ASSERT_EQ(list.records.size(), records.size()) << entry.label << " " << extension;
      // ... and import takes them all: no rule of import refuses what the program holds.
      if (entry.kind != books::BookKind::IdiomBook) {
        const booktool::SiftedList sifted = booktool::SiftRecords(list.records, entry, false);
        EXPECT_TRUE(sifted.bad.empty()) << entry.label << ": " << sifted.bad.front().reason;
        EXPECT_EQ(sifted.kept.size(), records.size()) << entry.label;
      }
      for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(list.records[i].english, records[i].english) << entry.label << " " << i;
        EXPECT_EQ(list.records[i].chinese, records[i].chinese) << entry.label << " " << i;
      }
    }
  }
}

}  // namespace
