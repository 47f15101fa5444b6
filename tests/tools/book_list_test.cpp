// Lists into books: what convert reads, what it refuses, and that the program's loader reads
// back exactly the list.
#include "booktool/book_list.h"

#include <gtest/gtest.h>

#include <optional>

#include "books/book_files.h"
#include "books/gbk.h"
#include "books/loader.h"
#include "booktool/book_check.h"
#include "kit/files.h"

namespace {

using book_files::Entry;
using book_files::Own;
using books::BookKind;
using booktool::ListRecord;

std::vector<ListRecord> Records(std::initializer_list<std::pair<const char*, const char*>> rows) {
  std::vector<ListRecord> records;
  int line = 0;
  for (const auto& [en, zh] : rows) records.push_back({++line, en, zh});
  return records;
}

// Writes the book made from `records` and loads it with the program's loader.
class RoundTrip : public ::testing::Test {
 protected:
  bool Make(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry) {
    const base::Result<booktool::EncodedBook, booktool::ListFailure> encoded =
        booktool::EncodeBook(records, entry);
    if (!encoded.Ok()) {
      refusal_ = encoded.Failed();
      return false;
    }
    kit::WriteFile(dir_.Path() / "book", encoded->bytes);
    bytes_ = encoded->bytes;
    encoding_ = encoded->encoding;
    loaded_ = books::ReadWordBook((dir_.Path() / "book").string(), entry, book_);
    return true;
  }

  kit::TempDir dir_;
  std::string bytes_;
  books::Encoding encoding_ = books::Encoding::Gbk;
  base::Failure refusal_;
  std::optional<books::BookLoad> loaded_;
  books::WordBook book_;
};

TEST(ParseList, ReadsTabSeparatedRecordsWithEscapes) {
  const std::string text =
      "\xEF\xBB\xBF"
      "apple\t苹果\r\n"
      "\n"
      "back\\\\slash\t反\\t斜\\n线\r"
      "C:\\dir\t路径\n"
      "last\t最后";
  const base::Result<std::vector<ListRecord>, booktool::ListFailure> parsed =
      booktool::ParseList(text, BookKind::CatalogueBook);
  ASSERT_TRUE(parsed.Ok()) << parsed.Failed().reason;
  const std::vector<ListRecord>& records = *parsed;
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].english, "apple") << "the byte-order mark is dropped";
  EXPECT_EQ(records[1].line, 3) << "empty lines are skipped but counted";
  EXPECT_EQ(records[1].english, "back\\slash");
  EXPECT_EQ(records[1].chinese, "反\t斜\n线");
  EXPECT_EQ(records[2].english, "C:\\dir") << "a backslash before another letter stays";
  EXPECT_EQ(records[3].line, 5);
  EXPECT_EQ(records[3].chinese, "最后");
}

TEST(ParseList, RefusesMalformedLinesWithTheirNumber) {
  struct Row {
    const char* what;
    std::string text;
    BookKind kind;
    int line;
  } rows[] = {
      {"no tab", "a\tA\nb B\n", BookKind::CatalogueBook, 2},
      {"two tabs", "a\tA\n\nb\tB\tC\n", BookKind::OwnBook, 3},
      {"not UTF-8", "a\tA\nb\t\xB9\xFB\n", BookKind::CatalogueBook, 2},  // GBK
      {"tab in an idiom", "一心一意\n三心\t二意\n", BookKind::IdiomBook, 2},
  };
  for (const Row& r : rows) {
    const base::Result<std::vector<ListRecord>, booktool::ListFailure> parsed =
        booktool::ParseList(r.text, r.kind);
    ASSERT_FALSE(parsed.Ok()) << r.what;
    EXPECT_EQ(parsed.Failed().line, r.line) << r.what;
    EXPECT_FALSE(parsed.Failed().reason.empty()) << r.what;
  }
  const base::Result<std::vector<ListRecord>, booktool::ListFailure> parsed =
      booktool::ParseList("一心一意\r\n\\n不变\r\n一心-\t-二\\t意\n-\t-\n", BookKind::IdiomBook);
  ASSERT_TRUE(parsed.Ok());
  const std::vector<ListRecord>& idioms = *parsed;
  EXPECT_EQ(idioms[1].english, "\\n不变") << "idiom lines are taken as they stand";
  EXPECT_EQ(idioms[2].english, "一心二\t意") << "the halves dump prints are joined";
  EXPECT_EQ(idioms[3].english, "") << "an empty idiom line dumps as its two bare halves";
}

TEST_F(RoundTrip, CatalogueBookLoadsBackAsTheList) {
  // First characters of every kind: ASCII, a Chinese character, the first of a GBK row (丂,
  // 0x8140) and one whose second byte is 0x80 (亐, 0x8180), both of which leave the trail
  // range when lowered; a punctuation mark.
  const auto records = Records({{"apple", "苹果"},
                                {"苹果 apple", "苹果"},
                                {"丂", "第一行的字"},
                                {"亐", "第八一八〇号"},
                                {"…and so on", "等等"},
                                {"Zebra crossing", "斑马线"},
                                {"a", "一个"},
                                {"  spaced  ", "空格 在中间"},
                                {"1st", "第一"},
                                {"`grave", "重音符"}});
  ASSERT_TRUE(Make(records, Entry(10))) << refusal_.reason;
  ASSERT_TRUE(loaded_->Ok()) << loaded_->Failed().reason;
  EXPECT_EQ(booktool::FirstDifference(book_, Entry(10), records), -1);
  EXPECT_EQ(encoding_, books::Encoding::Gbk);
  // Stored as the format says: GBK, CR LF, the second English line lowered by one.
  std::string second = kit::Gbk("苹果 apple");
  books::LowerFirstCharacter(second);
  EXPECT_TRUE(bytes_.starts_with("apple\r\n" + kit::Gbk("苹果") + "\r\n" + second + "\r\n"));
  EXPECT_TRUE(bytes_.ends_with(kit::Gbk("重音符") + "\r\n"));
}

TEST_F(RoundTrip, OwnAndIdiomBooksLoadBackAsTheList) {
  const auto own = Records({{"apple", "苹果"}, {"`pple", "不变"}, {"", "空的英文"}});
  ASSERT_TRUE(Make(own, Own())) << refusal_.reason;
  ASSERT_TRUE(loaded_->Ok());
  EXPECT_EQ(booktool::FirstDifference(book_, Own(), own), -1);
  EXPECT_TRUE(bytes_.starts_with("apple\r\n" + kit::Gbk("苹果") + "\r\n`pple\r\n"))
      << "the own book is stored as displayed";

  const std::vector<ListRecord> idioms = {
      {1, "一心一意", ""}, {2, "既来之则安之", ""}, {3, "千里之行始于足下", ""}, {4, "好", ""}};
  ASSERT_TRUE(Make(idioms, Entry(4, BookKind::IdiomBook))) << refusal_.reason;
  ASSERT_TRUE(loaded_->Ok());
  EXPECT_EQ(booktool::FirstDifference(book_, Entry(4, BookKind::IdiomBook), idioms), -1);
  EXPECT_EQ(book_.words[1].english, "既来之-");
  EXPECT_EQ(bytes_, kit::GbkLines({"一心一意", "既来之则安之", "千里之行始于足下", "好"}));
}

TEST_F(RoundTrip, OwnBookWhoseGbkWouldReadAsUtf8IsWrittenInUtf8) {
  // The GBK codes of 路 and 猫 are also UTF-8 (C2 B7, C3 A8): written in GBK, the program
  // would read "·" and "è".
  const auto records = Records({{"road", "路"}, {"cat", "猫"}});
  ASSERT_TRUE(Make(records, Own()));
  EXPECT_EQ(encoding_, books::Encoding::Utf8);
  ASSERT_TRUE(loaded_->Ok());
  EXPECT_EQ(booktool::FirstDifference(book_, Own(), records), -1);

  const auto longer = Records({{"road", "路"}, {"cat", "猫"}, {"tea", "茶"}});
  ASSERT_TRUE(Make(longer, Own()));
  EXPECT_EQ(encoding_, books::Encoding::Gbk) << "茶 is no UTF-8";
  EXPECT_EQ(booktool::FirstDifference(book_, Own(), longer), -1);
}

TEST_F(RoundTrip, RefusesWhatTheProgramCouldNotReadBack) {
  struct Row {
    const char* what;
    std::vector<ListRecord> records;
    books::CatalogueEntry entry;
    int line;
    const char* reason_part;
  } rows[] = {
      {"too few for the label", Records({{"a", "一"}, {"b", "二"}}), Entry(3), 0, "exactly 3"},
      {"too many for the label", Records({{"a", "一"}, {"b", "二"}}), Entry(1), 0, "exactly 1"},
      {"own book of one record", Records({{"a", "一"}}), Own(), 0, "2 to 30000"},
      {"more than the own book's capacity", Records({{"a", "一"}, {"b", "二"}, {"c", "三"}}),
       Entry(2, BookKind::OwnBook), 0, "2 to 2"},
      {"no GBK code", Records({{"a", "一"}, {"smile", "微笑😀"}}), Entry(2), 2, "😀"},
      {"Hangul", Records({{"a", "一"}, {"b", "二"}, {"한", "韩"}}), Own(), 3, "한"},
      {"empty English from record 2", Records({{"a", "一"}, {"", "二"}}), Entry(2), 2,
       "empty English"},
      {"meaning ending in 1", Records({{"a", "第1"}, {"b", "二"}}), Entry(2), 1, "ends in 0, 1"},
      {"meaning ending in a space", Records({{"a", "一"}, {"b", "二 "}}), Own(), 2, "ends in 0, 1"},
      {"line break in a field", Records({{"a", "一"}, {"b\nc", "二"}}), Entry(2), 2, "line break"},
      {"first character lowered to a line end",
       Records({{"a", "一"},
                {"\x0E"
                 "x",
                 "二"}}),
       Entry(2), 2, "lowered"},
  };
  for (const Row& r : rows) {
    EXPECT_FALSE(Make(r.records, r.entry)) << r.what;
    EXPECT_EQ(refusal_.line, r.line) << r.what;
    EXPECT_NE(refusal_.reason.find(r.reason_part), std::string::npos)
        << r.what << ": " << refusal_.reason;
  }
  // An empty English entry is fine where nothing is lowered.
  EXPECT_TRUE(Make(Records({{"", "一"}, {"b", "二"}}), Entry(2)));
}

TEST_F(RoundTrip, OwnBookTakesAtMost30000Records) {
  std::vector<ListRecord> records;
  for (int i = 1; i <= 30001; ++i) records.push_back({i, kit::Numbered("w", i), "义"});
  EXPECT_FALSE(Make(records, Own()));
  records.pop_back();
  ASSERT_TRUE(Make(records, Own()));
  EXPECT_EQ(book_.Count(), 30000);
}

TEST(EntryForFileName, KnowsTheBooksByTheirFileNames) {
  struct Row {
    const char* path;
    const char* label;  // null: no book
  } rows[] = {
      {"《My词库》.txt", "《My词库》"},
      {"/x/y/《My词库》.txt", "《My词库》"},
      {"Study/《成语大全》.txt", "《成语大全》(17508)"},
      {"Study/《小学英语》(第一册)(91)", "《小学英语》(第一册)(91)"},
      {"《小学英语》(第一册)(91).txt", nullptr},
      {"《My词库》", nullptr},
      {"《成语大全》(17508)", nullptr},
      {"words.tsv", nullptr},
  };
  for (const Row& r : rows) {
    const books::CatalogueEntry* entry = booktool::EntryForFileName(r.path);
    EXPECT_EQ(entry ? std::string(entry->label) : "(none)", r.label ? r.label : "(none)") << r.path;
  }
  EXPECT_EQ(booktool::EntryForLabel("《成语大全》(17508)")->kind, BookKind::IdiomBook);
  EXPECT_EQ(booktool::EntryForLabel("《My词库》.txt")->kind, BookKind::OwnBook);
  EXPECT_EQ(booktool::EntryForLabel("《我的词库》"), nullptr);
}

}  // namespace
