// What check tells about a book: where a damaged book goes wrong, and the warnings about books
// that load but would hurt a player.
#include "booktool/book_check.h"

#include <gtest/gtest.h>

#include "kit/files.h"

namespace {

using books::BookKind;
using booktool::WarningKind;

TEST(ButtonLines, WrapsWordsAndChineseCharactersIntoNineColumns) {
  struct Row {
    const char* text;
    int lines;
  } rows[] = {
      {"apple", 1},
      {"ninechars", 1},
      {"tencharsxx", 2},  // a word longer than a line breaks
      {"give up", 1},
      {"look forward to", 3},  // "look" / "forward" / "to"
      {"take into account", 2},
      {"in the long run", 2},
      {"integrated development environment", 6},
      {"苹果", 1},
      {"四个汉字", 1},  // 8 columns
      {"五个汉字啊", 2},
      {"丰富的；充裕的", 2},
      {"一二三四五六七八九十一二三四五六", 4},  // 16 characters: the most that fits
      {"一二三四五六七八九十一二三四五六七", 5},
      {"", 1},
      {"   ", 1},
  };
  for (const Row& r : rows) EXPECT_EQ(booktool::ButtonLines(r.text), r.lines) << r.text;
}

class CheckTest : public ::testing::Test {
 protected:
  using Checked = base::Result<booktool::CheckedBook, books::LoadFailure>;
  Checked Check(const std::string& bytes, const books::CatalogueEntry& entry) {
    kit::WriteFile(dir_.Path() / "book", bytes);
    return booktool::CheckBook((dir_.Path() / "book").string(), entry);
  }
  static int Count(const Checked& report, WarningKind kind) {
    int n = 0;
    for (const auto& w : report->warnings) n += w.kind == kind ? 1 : 0;
    return n;
  }
  static std::string All(const Checked& report) {
    std::string all;
    for (const auto& w : report->warnings) all += w.text + "\n";
    return all;
  }
  kit::TempDir dir_;
};

constexpr books::CatalogueEntry Entry(int count) {
  return {"《测试词库》(n)", count, BookKind::CatalogueBook, false};
}
const books::CatalogueEntry& Own() {
  return books::BookCatalogue().front();
}

// An own book of records "w<i>" / "第<i>义".
std::string OwnBook(int n) {
  std::vector<std::string> lines;
  for (int i = 1; i <= n; ++i) {
    lines.push_back(kit::Numbered("w", i));
    lines.push_back(kit::Numbered("第", i, "义"));
  }
  return kit::GbkLines(lines);
}

TEST_F(CheckTest, RepeatsAreWarnedOnlyWithinAGroupOfEighteen) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 40; ++i) {
    // Record 5 repeats record 2's entry, record 17 record 3's meaning; record 20 repeats
    // record 1's entry, but in the next group.
    std::string en = i == 5 ? "w2" : i == 20 ? "w1" : kit::Numbered("w", i);
    std::string zh = i == 17 ? "第3义" : kit::Numbered("第", i, "义");
    lines.push_back(en);
    lines.push_back(zh);
  }
  const Checked report = Check(kit::GbkLines(lines), Own());
  ASSERT_TRUE(report.Ok());
  EXPECT_EQ(Count(report, WarningKind::Repeat), 2) << All(report);
  EXPECT_NE(All(report).find("group 1 (records 1-18): English entry \"w2\" at records 2 and 5"),
            std::string::npos)
      << All(report);
  EXPECT_NE(All(report).find("meaning \"第3义\" at records 3 and 17"), std::string::npos);
  EXPECT_EQ(Count(report, WarningKind::TooLong) + Count(report, WarningKind::Empty), 0);
}

TEST_F(CheckTest, LongAndEmptyTextsAreWarned) {
  const Checked report =
      Check(kit::GbkLines({"integrated development environment", "集成开发环境", "", "空的英文",
                           "x", "一二三四五六七八九十一二三四五六七八"}),
            Own());
  ASSERT_TRUE(report.Ok());
  EXPECT_EQ(Count(report, WarningKind::TooLong), 2) << All(report);
  EXPECT_EQ(Count(report, WarningKind::Empty), 1) << All(report);
  EXPECT_NE(All(report).find("record 1: English entry \"integrated development environment\" "
                             "needs 6 lines"),
            std::string::npos)
      << All(report);
  EXPECT_NE(All(report).find("record 2: empty English entry"), std::string::npos);
}

TEST_F(CheckTest, EncodingsThatWouldShowGarbledAreWarned) {
  struct Row {
    const char* what;
    std::string bytes;
    books::CatalogueEntry entry;
    const char* warning;  // null: none
  } rows[] = {
      {"GBK catalogue book", kit::GbkLines({"a", "苹果", "a", "香蕉"}), Entry(2), nullptr},
      {"UTF-8 catalogue book", "a\r\n苹果\r\n`\r\n香蕉\r\n", Entry(2), "the file is UTF-8"},
      {"bytes that are not GBK", "a\r\nA\xFF\r\n`\r\nB\r\n", Entry(2),
       "bytes that are not GBK on line 2"},
      {"UTF-8 own book", "a\r\n苹果\r\nb\r\n香蕉\r\n", Own(), nullptr},
      {"UTF-8 own book with one GBK line",
       "\xEF\xBB\xBF"
       "a\r\n苹果\r\nb\r\n" +
           kit::Gbk("香蕉") + "\r\n",
       Own(), "starts as UTF-8 but is not all UTF-8"},
      {"own book in neither", "a\r\n\xFF\xFE\r\nb\r\n" + kit::Gbk("香蕉") + "\r\nc\r\n\xFF\r\n",
       Own(), "neither UTF-8 nor GBK: on lines 2, 6"},
  };
  for (const Row& r : rows) {
    const Checked report = Check(r.bytes, r.entry);
    ASSERT_TRUE(report.Ok()) << r.what;
    if (!r.warning) {
      EXPECT_EQ(Count(report, WarningKind::Encoding), 0) << r.what << ": " << All(report);
      continue;
    }
    EXPECT_EQ(Count(report, WarningKind::Encoding), 1) << r.what << ": " << All(report);
    EXPECT_NE(All(report).find(r.warning), std::string::npos) << r.what << ": " << All(report);
  }
}

TEST_F(CheckTest, DamagedBooksAreDescribedWithLineRecordAndCounts) {
  std::string three;
  for (const char* en : {"a", "`", "`"})
    three += std::string(en) + "\r\n" + kit::Gbk("义") + "\r\n";
  struct Row {
    const char* what;
    std::string bytes;
    books::CatalogueEntry entry;
    std::vector<std::string> parts;
  } rows[] = {
      {"missing meaning line",
       three + "`\r\n",
       Entry(4),
       {"line 7, record 4", "ends inside a record", "expected 4, found 3"}},
      {"2N-2 lines", three, Entry(4), {"line 6", "after 3 records", "expected 4, found 3"}},
      {"2N+2 lines", three, Entry(2), {"line 5, record 3", "a record too many", "expected 2"}},
      {"30001 own records",
       OwnBook(30001),
       Own(),
       {"line 60001, record 30001", "beyond the own book's 30000", "expected 30000"}},
      {"a single record", "a\r\nA\r\n", Own(), {"line 2", "a single record"}},
      {"binary", std::string("a\r\nA\r\n\0\0\0", 9), Own(), {"line 3, record 2", "NUL"}},
  };
  for (const Row& r : rows) {
    const Checked report = Check(r.bytes, r.entry);
    ASSERT_FALSE(report.Ok()) << r.what;
    const std::string description = booktool::DescribeFailure(report.Failed(), r.entry);
    for (const std::string& part : r.parts)
      EXPECT_NE(description.find(part), std::string::npos) << r.what << ": " << description;
  }
}

}  // namespace
