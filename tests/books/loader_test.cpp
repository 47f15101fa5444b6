// The word-book loader on GBK files the tests write: every rule of the format and every
// refusal, with where reading stopped.
#include "books/loader.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <optional>

#include "book_files.h"
#include "books/gbk.h"
#include "kit/files.h"
#include "text/text.h"

namespace {

using namespace std::string_literals;

using book_files::Chinese;
using book_files::English;
using book_files::Entry;
using book_files::Idioms;
using book_files::Own;
using books::BookKind;
using books::LoadFault;

std::string Lowered(const std::string& utf8) {
  std::string gbk = kit::Gbk(utf8);
  books::LowerFirstCharacter(gbk);
  return gbk;
}

class LoaderTest : public ::testing::Test {
 protected:
  books::BookLoad Load(const std::string& bytes, const books::CatalogueEntry& entry) {
    kit::WriteFile(Path(), bytes);
    return books::ReadWordBook(Path().string(), entry, book_);
  }
  // Why the book was refused; a book that loads fails the test.
  static books::LoadFailure Refused(const books::BookLoad& loaded) {
    EXPECT_FALSE(loaded.Ok()) << "the book loads";
    return loaded.Ok() ? books::LoadFailure{} : loaded.Failed();
  }
  static std::string Reason(const books::BookLoad& loaded) {
    return loaded.Ok() ? std::string() : loaded.Failed().reason;
  }
  std::filesystem::path Path() const { return dir_.Path() / "book"; }
  // The texts of record `i`, counted from 1 as in the file.
  std::string En(int i) const { return book_.words.at(static_cast<std::size_t>(i - 1)).english; }
  std::string Zh(int i) const { return book_.words.at(static_cast<std::size_t>(i - 1)).chinese; }

  kit::TempDir dir_;
  books::WordBook book_;
};

TEST_F(LoaderTest, CatalogueBookLoadsOnlyWithExactlyItsCountOfRecords) {
  constexpr int kN = 91;
  const std::string good = book_files::CatalogueBook(kN);
  struct Row {
    const char* what;
    std::string bytes;
    std::optional<LoadFault> fault;  // none: the book loads
    int found, line, record;
  } rows[] = {
      {"2N lines", good, std::nullopt, kN, 2 * kN, kN},
      {"2N-2 lines", book_files::CatalogueBook(kN - 1), LoadFault::WrongCount, kN - 1, 2 * kN - 2,
       kN - 1},
      {"2N+2 lines", book_files::CatalogueBook(kN + 1), LoadFault::WrongCount, kN, 2 * kN + 1,
       kN + 1},
      {"2N+1 lines", good + "x\r\n", LoadFault::WrongCount, kN, 2 * kN + 1, kN + 1},
      {"a blank line after the last", good + "\r\n", LoadFault::WrongCount, kN, 2 * kN + 1, kN + 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const books::BookLoad loaded = Load(r.bytes, Entry(kN));
    EXPECT_EQ(book_.Count(), r.found) << "the complete records alone; a record too many never";
    EXPECT_LE(book_.Count(), kN) << "the book holds N words at most";
    if (!r.fault) {
      EXPECT_TRUE(loaded.Ok()) << Reason(loaded);
      continue;
    }
    const books::LoadFailure failure = Refused(loaded);
    EXPECT_EQ(failure.kind, *r.fault);
    EXPECT_EQ(failure.reason, "词库已损坏\r\n请重新解压");
    EXPECT_EQ(failure.expected, kN);
    EXPECT_EQ(failure.found, r.found);
    EXPECT_EQ(failure.line, r.line);
    EXPECT_EQ(failure.record, r.record);
  }
  ASSERT_TRUE(Load(good, Entry(kN)).Ok());
  EXPECT_EQ(book_.Count(), kN);
  EXPECT_EQ(En(1), English(1));
  EXPECT_EQ(En(kN), English(kN));
  EXPECT_EQ(Zh(kN), Chinese(kN));
  EXPECT_EQ(book_.words.front(), (books::Word{English(1), Chinese(1)})) << "record 1 is word 0";
}

TEST_F(LoaderTest, RecordsBeyondTheCountAreRefusedWithoutReadingOn) {
  // A thousand records too many: reading stops where the first of them begins.
  const books::LoadFailure result = Refused(Load(book_files::CatalogueBook(1091), Entry(91)));
  EXPECT_EQ(result.kind, LoadFault::WrongCount);
  EXPECT_EQ(result.line, 183);
  EXPECT_EQ(result.record, 92);
  EXPECT_EQ(book_.Count(), 91) << "the records before the first too many";
  EXPECT_EQ(result.found, 91);
}

TEST_F(LoaderTest, OnlyTrailingMarkersAreRemovedFromMeanings) {
  struct Row {
    const char* stored;
    const char* meaning;
  } rows[] = {
      {"苹果01 1", "苹果"},  // 0, 1, space, 1: all four go
      {"苹果", "苹果"},
      {"第1课", "第1课"},  // a 1 followed by another character stays
      {"1a", "1a"},
      {"二十10", "二十"},
      {"三 0 ", "三"},
      {"0 1 ", ""},  // markers only
      {"", ""},
      {"计算 2", "计算 2"},  // 2 is no marker
  };
  for (const BookKind kind : {BookKind::CatalogueBook, BookKind::OwnBook}) {
    std::vector<std::string> lines;
    for (const Row& r : rows) {
      const bool lowered = kind == BookKind::CatalogueBook && !lines.empty();
      lines.push_back(lowered ? "vord 1 " : "word 1 ");
      lines.push_back(r.stored);
    }
    const books::CatalogueEntry entry =
        kind == BookKind::OwnBook ? Own() : Entry(static_cast<int>(std::size(rows)));
    ASSERT_TRUE(Load(kit::GbkLines(lines), entry).Ok());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      EXPECT_EQ(Zh(static_cast<int>(i) + 1), rows[i].meaning) << rows[i].stored;
      EXPECT_EQ(En(static_cast<int>(i) + 1), "word 1 ") << "English lines keep their ends";
    }
  }
}

TEST_F(LoaderTest, FirstCharacterIsRestoredFromRecordTwoOfCatalogueBooksOnly) {
  const std::string stored = "`pple\r\n" + kit::Gbk("苹果") + "\r\n" +  // record 1 as stored
                             "`pple\r\n" + kit::Gbk("苹果") + "\r\n" +  // record 2: apple
                             Lowered("苹果") + "\r\n" + kit::Gbk("苹果") + "\r\n" +
                             Lowered("丂字") + "\r\n" + kit::Gbk("字") + "\r\n" + "\r\n" +
                             kit::Gbk("空") + "\r\n" +  // nothing to restore
                             Lowered("Zoo") + "\r\n" + kit::Gbk("动物园") + "\r\n";
  ASSERT_TRUE(Load(stored, Entry(6)).Ok());
  EXPECT_EQ(En(1), "`pple");
  EXPECT_EQ(En(2), "apple");
  EXPECT_EQ(En(3), "苹果");
  EXPECT_EQ(En(4), "丂字");
  EXPECT_EQ(En(5), "");
  EXPECT_EQ(En(6), "Zoo");
  EXPECT_EQ(Zh(6), "动物园");

  ASSERT_TRUE(Load(stored, Own()).Ok());
  EXPECT_EQ(En(1), "`pple");
  EXPECT_EQ(En(2), "`pple") << "the own book is stored as displayed";
  EXPECT_EQ(En(6), "Yoo");
}

TEST_F(LoaderTest, IdiomLinesAreCutIntoHalvesByCharacters) {
  struct Row {
    const char* line;
    const char* entry;
    const char* meaning;
  } rows[] = {
      {"ABCD", "AB-", "-CD"},
      {"ABCDE", "ABC-", "-DE"},
      {"A", "A-", "-"},
      {"", "-", "-"},
      {"一心一意", "一心-", "-一意"},
      {"既来之则安之", "既来之-", "-则安之"},
      {"千里之行", "千里-", "-之行"},
      {"不入虎穴焉得虎子", "不入虎穴-", "-焉得虎子"},
      {"知己知彼百战不殆", "知己知彼-", "-百战不殆"},
      {"五十步笑百步", "五十步-", "-笑百步"},
      {"一不做二不休", "一不做-", "-二不休"},
      {"成语 1", "成语-", "- 1"},
  };
  std::vector<std::string> lines;
  for (const Row& r : rows) lines.push_back(r.line);
  ASSERT_TRUE(
      Load(kit::GbkLines(lines), Entry(static_cast<int>(lines.size()), BookKind::IdiomBook)).Ok());
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(En(static_cast<int>(i) + 1), rows[i].entry) << rows[i].line;
    EXPECT_EQ(Zh(static_cast<int>(i) + 1), rows[i].meaning) << rows[i].line;
  }
}

TEST_F(LoaderTest, IdiomBookHoldsExactly17508Lines) {
  const books::BookLoad loaded = Load(book_files::IdiomBook(17508), Idioms());
  ASSERT_TRUE(loaded.Ok()) << Reason(loaded);
  EXPECT_EQ(book_.Count(), 17508);
  for (int i = 1; i <= 17508; i += 997) {
    EXPECT_TRUE(En(i).ends_with("-"));
    EXPECT_TRUE(Zh(i).starts_with("-"));
    EXPECT_EQ(text::CharCount(En(i)), 3u);
  }
  for (int lines : {17507, 17509, 1}) {
    const books::LoadFailure result = Refused(Load(book_files::IdiomBook(lines), Idioms()));
    EXPECT_EQ(result.kind, LoadFault::WrongCount) << lines;
    EXPECT_EQ(result.reason, books::kDamagedMessage);
  }
  EXPECT_EQ(Refused(Load("", Idioms())).kind, LoadFault::Empty);
}

TEST_F(LoaderTest, OwnBookTakesAnyCountUpTo30000Records) {
  ASSERT_TRUE(Load(book_files::OwnBook(3), Own()).Ok());
  EXPECT_EQ(book_.Count(), 3);
  EXPECT_EQ(En(3), English(3));

  const books::BookLoad loaded = Load(book_files::OwnBook(30000), Own());
  ASSERT_TRUE(loaded.Ok()) << Reason(loaded);
  EXPECT_EQ(book_.Count(), 30000);
  EXPECT_EQ(En(30000), English(30000));
  EXPECT_EQ(Zh(30000), Chinese(30000));

  // The record too many is refused as it arrives, however much follows it.
  const books::LoadFailure result = Refused(Load(book_files::OwnBook(31000), Own()));
  EXPECT_EQ(result.kind, LoadFault::TooManyRecords);
  EXPECT_EQ(result.reason, "《My词库》词数过多\r\n请调整《My词库》");
  EXPECT_EQ(result.record, 30001);
  EXPECT_EQ(result.line, 60001);
  EXPECT_EQ(result.found, 30000);
  EXPECT_EQ(book_.Count(), 30000);
  EXPECT_EQ(Refused(Load(book_files::OwnBook(30001), Own())).kind, LoadFault::TooManyRecords);
}

TEST_F(LoaderTest, EveryKindOfLineEndEndsALine) {
  struct Row {
    const char* what;
    std::string bytes;
  } rows[] = {
      {"CR LF", "a\r\nA\r\nb\r\nB\r\n"},
      {"CR", "a\rA\rb\rB\r"},
      {"LF", "a\nA\nb\nB\n"},
      {"mixed", "a\r\nA\rb\nB\r\n"},
      {"last line without terminator", "a\r\nA\r\nb\r\nB"},
      {"LF file without terminator", "a\nA\nb\nB"},
  };
  for (const Row& r : rows) {
    const books::BookLoad loaded = Load(r.bytes, Own());
    ASSERT_TRUE(loaded.Ok()) << r.what << ": " << Reason(loaded);
    EXPECT_EQ(book_.Count(), 2) << r.what;
    EXPECT_EQ(En(1) + Zh(1) + En(2) + Zh(2), "aAbB") << r.what;
  }
  // A lone LF after a CR LF is a line of its own: an empty line.
  ASSERT_TRUE(Load("a\r\n\nb\r\nB\r\n", Own()).Ok());
  EXPECT_EQ(Zh(1), "");
  EXPECT_EQ(En(2), "b");
}

TEST_F(LoaderTest, ShortAndUnreadableFilesAreRefusedWithTheirReason) {
  struct Row {
    const char* what;
    std::string bytes;
    BookKind kind;
    LoadFault fault;
    int line, record, found;
  } rows[] = {
      {"ends inside a record", book_files::CatalogueBook(2) + "word3\r\n", BookKind::CatalogueBook,
       LoadFault::EndsInsideRecord, 5, 3, 2},
      {"own book ends inside a record", "a\r\nA\r\nb", BookKind::OwnBook,
       LoadFault::EndsInsideRecord, 3, 2, 1},
      {"one record", "a\r\nA\r\n", BookKind::CatalogueBook, LoadFault::TooFewRecords, 2, 1, 1},
      {"own book of one record", "a\r\nA", BookKind::OwnBook, LoadFault::TooFewRecords, 2, 1, 1},
      {"one line", "a\r\n", BookKind::OwnBook, LoadFault::EndsInsideRecord, 1, 1, 0},
      {"empty", "", BookKind::CatalogueBook, LoadFault::Empty, 0, 1, 0},
      {"empty own book", "", BookKind::OwnBook, LoadFault::Empty, 0, 1, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const books::LoadFailure result =
        Refused(Load(r.bytes, r.kind == BookKind::OwnBook ? Own() : Entry(5)));
    EXPECT_EQ(result.kind, r.fault);
    EXPECT_EQ(result.line, r.line);
    EXPECT_EQ(result.record, r.record);
    EXPECT_EQ(result.found, r.found);
    const std::string label = r.kind == BookKind::OwnBook ? "《My词库》" : "《测试词库》(n)";
    EXPECT_TRUE(result.reason.starts_with(label)) << result.reason;
    EXPECT_TRUE(result.reason.ends_with(r.kind == BookKind::OwnBook ? "\r\n请调整《My词库》"
                                                                    : "\r\n请重新解压"))
        << result.reason;
  }
}

TEST_F(LoaderTest, OnlyRegularFilesAreOpened) {
  // A pipe with no writer would block a plain open; it is refused at once.
  std::vector<std::filesystem::path> refused = {dir_.Path() / "missing", dir_.Path()};
#ifdef _WIN32
  refused.push_back("NUL");  // a device
#else
  const std::filesystem::path fifo = dir_.Path() / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  refused.insert(refused.end(), {fifo, "/dev/null"});
#endif
  for (const std::filesystem::path& path : refused) {
    const books::LoadFailure result = Refused(books::ReadWordBook(path.string(), Entry(5), book_));
    EXPECT_EQ(result.kind, LoadFault::CannotOpen) << path;
    EXPECT_EQ(result.file, path.string());
    EXPECT_NE(result.reason.find("《测试词库》(n)"), std::string::npos) << result.reason;
    EXPECT_NE(result.reason.find("\r\n"), std::string::npos);
  }
}

TEST_F(LoaderTest, ReadErrorsAreReportedNotTakenForTheEnd) {
  const std::string good = book_files::OwnBook(3);
  struct Row {
    const char* what;
    std::string before;  // what is read before the error
    int line, record, found;
  } rows[] = {
      {"after whole records", good, 7, 4, 3},
      {"inside a line", good.substr(0, good.size() - 3), 6, 3, 2},
      {"at once", "", 1, 1, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    bool served = false;
    books::ReadBytes read = [&](char* buffer, std::size_t size) -> std::ptrdiff_t {
      if (served || r.before.empty()) return -1;
      served = true;
      EXPECT_GE(size, r.before.size());
      std::copy(r.before.begin(), r.before.end(), buffer);
      return static_cast<std::ptrdiff_t>(r.before.size());
    };
    const books::LoadFailure result =
        Refused(books::ReadWordBook(read, "/books/mine", Own(), book_));
    EXPECT_EQ(result.kind, LoadFault::ReadError);
    EXPECT_EQ(result.line, r.line);
    EXPECT_EQ(result.record, r.record);
    EXPECT_EQ(result.found, r.found);
    EXPECT_TRUE(result.reason.starts_with("读取词库《My词库》时出错")) << result.reason;
    EXPECT_TRUE(result.reason.ends_with("\r\n请检查文件：/books/mine")) << result.reason;
  }
  // The kernel refuses to read address 0 of our own memory: a regular file whose read fails.
  if (std::filesystem::exists("/proc/self/mem")) {
    EXPECT_EQ(Refused(books::ReadWordBook("/proc/self/mem", Own(), book_)).kind,
              LoadFault::ReadError);
  }
}

TEST_F(LoaderTest, BytesThatAreNotGbkBecomeReplacementCharacters) {
  std::string bytes = kit::GbkLines({"good", "好"}) + "b\xFFgood\r\n" + kit::Gbk("坏") +
                      "\xFE\r\n" + "ok\r\n" + kit::Gbk("好") + "\r\n";
  const books::BookLoad loaded = Load(bytes, Entry(3));
  ASSERT_TRUE(loaded.Ok());
  EXPECT_EQ(En(2), "c\xEF\xBF\xBDgood") << "the first byte is still restored";
  EXPECT_EQ(Zh(2), "坏\xEF\xBF\xBD");
  EXPECT_EQ(loaded->invalid_sequences, 2);
  EXPECT_EQ(loaded->invalid_lines, (std::vector<int>{3, 4}));
  // A book refused later still tells the lines it decoded before.
  const books::LoadFailure refused = Refused(Load(bytes, Entry(4)));
  EXPECT_EQ(refused.decoded.invalid_lines, (std::vector<int>{3, 4}));
}

TEST_F(LoaderTest, OwnBookIsReadAsUtf8OnlyWhenAllOfItIsUtf8) {
  const std::string utf8 = "apple\r\n苹果1\r\nwater\r\n水\r\n";
  struct Row {
    const char* what;
    std::string bytes;
    books::Encoding encoding;
    std::string first_entry, first_meaning;
  } rows[] = {
      {"GBK", kit::GbkLines({"apple", "苹果1", "water", "水"}), books::Encoding::Gbk, "apple",
       "苹果"},
      {"UTF-8", utf8, books::Encoding::Utf8, "apple", "苹果"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, books::Encoding::Utf8, "apple",
       "苹果"},
      {"ASCII", "apple\r\nA\r\nwater\r\nW\r\n", books::Encoding::Gbk, "apple", "A"},
      {"UTF-8 with one stray byte is GBK", utf8 + "\xFF\r\nx\r\n", books::Encoding::Gbk, "apple",
       "鑻规灉"},
  };
  for (const Row& r : rows) {
    const books::BookLoad loaded = Load(r.bytes, Own());
    ASSERT_TRUE(loaded.Ok()) << r.what;
    EXPECT_EQ(loaded->encoding, r.encoding) << r.what;
    EXPECT_EQ(En(1), r.first_entry) << r.what;
    EXPECT_EQ(Zh(1), r.first_meaning) << r.what;
  }
  // Catalogue books are GBK, always.
  const books::BookLoad loaded = Load(utf8, Entry(2));
  ASSERT_TRUE(loaded.Ok());
  EXPECT_EQ(loaded->encoding, books::Encoding::Gbk);
  EXPECT_NE(Zh(1), "苹果");
}

TEST_F(LoaderTest, BinaryAndEndlessFilesAreRefusedWhereTheyStopBeingText) {
  // A 300 MB sparse file: nothing but NUL bytes.
  kit::WriteFile(Path(), "");
  std::filesystem::resize_file(Path(), 300u << 20);
  books::LoadFailure result = Refused(books::ReadWordBook(Path().string(), Own(), book_));
  EXPECT_EQ(result.kind, LoadFault::NotText);
  EXPECT_EQ(result.line, 1);

  // Good records, then a hole of 300 MB.
  kit::WriteFile(Path(), book_files::OwnBook(10));
  std::filesystem::resize_file(Path(), 300u << 20);
  result = Refused(books::ReadWordBook(Path().string(), Own(), book_));
  EXPECT_EQ(result.kind, LoadFault::NotText);
  EXPECT_EQ(result.line, 21);
  EXPECT_EQ(result.found, 10);

  // One endless line: refused once it passes the longest line a book may have.
  result = Refused(Load(std::string(4u << 20, 'a'), Own()));
  EXPECT_EQ(result.kind, LoadFault::LineTooLong);
  EXPECT_EQ(result.line, 1);

  result = Refused(Load("apple\r\n\xC6\xBB\0\xB9\xFB\r\n"s, Idioms()));
  EXPECT_EQ(result.kind, LoadFault::NotText);
  EXPECT_EQ(result.line, 2);
  EXPECT_NE(result.reason, books::kDamagedMessage);
}

TEST_F(LoaderTest, EveryLoadStartsFromAnEmptyBook) {
  ASSERT_TRUE(Load(book_files::OwnBook(5), Own()).Ok());
  ASSERT_TRUE(Load(book_files::OwnBook(3), Own()).Ok());
  EXPECT_EQ(book_.Count(), 3);
  EXPECT_EQ(book_.words.back(), (books::Word{English(3), Chinese(3)}));
  ASSERT_TRUE(Load(book_files::CatalogueBook(91), Entry(91)).Ok());
  EXPECT_EQ(book_.Count(), 91);
}

}  // namespace
