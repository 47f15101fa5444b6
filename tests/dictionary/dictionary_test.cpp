#include "dictionary/dictionary_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "books/catalogue.h"
#include "books/loader.h"
#include "kit/kit.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

using Record = std::pair<std::string, std::string>;  // English entry, Chinese meaning

constexpr std::string_view kOwnBook = books::kOwnBookLabel;
constexpr std::string_view kIdiomBook = books::kIdiomBookLabel;
constexpr std::string_view kPhraseBook = "《大学英语5-6级词组》(372)";
constexpr int kIdiomLines = 17508;
constexpr int kPhraseRecords = 372;

const std::string kNothingFound = "查询无果！";

// Compares long result texts; a mismatch is reported at its first differing byte rather than
// as a diff of tens of thousands of lines.
::testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  auto at = static_cast<std::size_t>(
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
      actual.begin());
  std::size_t from = at < 40 ? 0 : at - 40;
  return ::testing::AssertionFailure()
         << "sizes " << actual.size() << " and " << expected.size() << ", first difference at "
         << at << ":\n  actual   ..." << actual.substr(from, 80) << "\n  expected ..."
         << expected.substr(from, 80);
}

// An ordinary hit as the result box shows it.
std::string Block(const Record& r) {
  return r.first + "\r\n" + r.second + "\r\n\r\n";
}

class DictionaryTest : public ::testing::Test {
 protected:
  DictionaryTest() {
    platform_.program_directory = dir_.Str();
    window_.Load();
  }

  std::filesystem::path FileOf(std::string_view label) {
    return books::BookFilePath(dir_.Str(), *books::FindEntry(books::DictionaryCatalogue(), label));
  }

  void WriteOwnBook(const std::vector<Record>& records) {
    std::vector<std::string> lines;
    for (const Record& r : records) {
      lines.push_back(r.first);
      lines.push_back(r.second);
    }
    kit::WriteFile(FileOf(kOwnBook), kit::GbkLines(lines));
  }

  // The idiom book: `lines` first, then filler idioms up to the book's 17508 lines. The filler
  // shares no character with the lines the tests search for.
  void WriteIdiomBook(std::vector<std::string> lines) {
    for (int i = static_cast<int>(lines.size()); i < kIdiomLines; ++i)
      lines.push_back(kit::Numbered("填充", i));
    kit::WriteFile(FileOf(kIdiomBook), kit::GbkLines(lines));
  }

  // A catalogue book of 372 records "phraseN" / "词组N号"; the file stores the first letter of
  // every English line but the first one code lower, as catalogue books do.
  void WritePhraseBook() {
    std::vector<std::string> lines;
    for (int i = 1; i <= kPhraseRecords; ++i) {
      lines.push_back(kit::Numbered(i == 1 ? "phrase" : "ohrase", i));
      lines.push_back(kit::Numbered("词组", i, "号 1"));
    }
    kit::WriteFile(FileOf(kPhraseBook), kit::GbkLines(lines));
  }

  void Select(std::string_view label) {
    const int row = kit::RowOf(ui_.BookList(), label);
    ASSERT_GE(row, 0) << label;
    ui_.BookList().SetListIndex(row);
  }

  // Chooses a book with "选择"; the load must succeed.
  void Choose(std::string_view label) {
    Select(label);
    ASSERT_FALSE(kit::Ends([&] { ui_.ChooseBookButton().Click(); })) << platform_.messages.back();
  }

  // Types the query and presses "查单词"; returns what the result box then shows.
  std::string LookUp(const std::string& query) {
    ui_.QueryBox().SetText(query);
    ui_.LookUpButton().Click();
    return ui_.ResultBox().Text();
  }

  // Each screen shows exactly its controls.
  bool InBookChoice() {
    return ui_.ShownNames() == std::vector<std::string>{"book_list", "choose_book_button"};
  }
  bool InLookup() {
    return ui_.ShownNames() == std::vector<std::string>{"change_book_button", "look_up_button",
                                                        "mode_buttons_0",     "mode_buttons_1",
                                                        "mode_buttons_2",     "mode_buttons_3",
                                                        "query_box",          "result_box"};
  }

  kit::TempDir dir_;
  kit::FakePlatform platform_;
  kit::ScriptedRandom random_;
  shell::Shell shell_{platform_, random_, program::MakeModeWindow};
  dictionary::DictionaryWindow window_{shell_};
  kit::Controls ui_{window_.Window()};
};

const std::vector<Record> kWords = {
    {"apple", "苹果"},
    {"Apple Inc.", "苹果公司"},
    {"pineapple", "菠萝"},
    {"be fond of", "喜欢；爱好"},
    {"fond", "喜爱的；fond 的另一义"},
    {"give up", "放弃；抛弃；让出"},
    {"up-to-date", "最新的"},
    {"take into account", "考虑；重视；体谅"},
};

TEST_F(DictionaryTest, LoadsIntoTheBookChoiceWithItsLayoutAndTheQueryText1) {
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之双向词典V3.6");
  EXPECT_EQ(ui_.Window().Width(), 12000);
  EXPECT_EQ(ui_.Window().Height(), 8550);
  EXPECT_EQ(random_.reseeds, 0) << "the dictionary does not reseed the random source";
  EXPECT_TRUE(InBookChoice());
  EXPECT_EQ(ui_.BookList().ListCount(), 12);
  EXPECT_EQ(ui_.BookList().List(0), "《My词库》");
  EXPECT_EQ(ui_.BookList().List(11), "《成语大全》(17508)");
  EXPECT_EQ(ui_.BookList().ListIndex(), -1);
  EXPECT_FALSE(ui_.ModeButton(2).Enabled());

  struct Row {
    const ui::Control& control;
    int left, top, width, height;
  } rows[] = {
      {ui_.BookList(), 4400, 1500, 3400, 4000},  {ui_.ChooseBookButton(), 5500, 6000, 975, 375},
      {ui_.QueryBox(), 2700, 1300, 7500, 300},   {ui_.ResultBox(), 2700, 2000, 7500, 5000},
      {ui_.LookUpButton(), 500, 1300, 975, 375}, {ui_.ChangeBookButton(), 500, 1675, 975, 375}};
  for (const Row& r : rows) {
    EXPECT_EQ(r.control.Left(), r.left) << r.control.Name();
    EXPECT_EQ(r.control.Top(), r.top) << r.control.Name();
    EXPECT_EQ(r.control.Width(), r.width) << r.control.Name();
    EXPECT_EQ(r.control.Height(), r.height) << r.control.Name();
  }
  EXPECT_EQ(ui_.ChooseBookButton().Caption(), "选择");
  EXPECT_EQ(ui_.LookUpButton().Caption(), "查单词");
  EXPECT_EQ(ui_.ChangeBookButton().Caption(), "换一本书");
  EXPECT_EQ(ui_.QueryBox().Text(), "Text1");
  EXPECT_FALSE(ui_.QueryBox().MultiLine());
  EXPECT_TRUE(ui_.ResultBox().MultiLine());
  for (const ui::TextBox* box : {&ui_.QueryBox(), &ui_.ResultBox()})
    EXPECT_EQ(box->GetFont(), (ui::Font{"宋体", 10.5})) << box->Name();
}

TEST_F(DictionaryTest, LoadingSwitchesToLookupTitlesTheWindowAndLooksUpTheInitialQuery) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  WriteOwnBook({{"a", "甲"}, {"Text1 box", "文本框"}, {"text1", "小写"}});
  Select(kOwnBook);
  ASSERT_FALSE(kit::Ends([&] { ui_.BookList().DblClick(); }));
  EXPECT_TRUE(InLookup());
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之双向词典V3.6 - 《My词库》");
  EXPECT_EQ(ui_.ResultBox().Text(), "Text1 box\r\n文本框\r\n\r\n");
  EXPECT_EQ(platform_.beeps, 1);
  EXPECT_EQ(platform_.picture_requests.size(), 1u);
}

TEST_F(DictionaryTest, TheTitleAndLookupScreenComeBeforeReadingSoAFailedLoadStillShowsThem) {
  // The book file is missing: the loader's message ends the program.
  Select("《计算机常用词汇》(4070)");
  EXPECT_TRUE(kit::Ends([&] { ui_.ChooseBookButton().Click(); }));
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之双向词典V3.6 - 《计算机常用词汇》(4070)");
  EXPECT_TRUE(InLookup());
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.beeps, 0) << "no lookup after a failed load";
}

TEST_F(DictionaryTest, ChoosingWithNothingSelectedEndsTheProgramWithTheDamagedBookMessage) {
  EXPECT_TRUE(kit::Ends([&] { ui_.ChooseBookButton().Click(); }));
  EXPECT_EQ(platform_.messages, std::vector<std::string>{std::string(books::kDamagedMessage)});
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之双向词典V3.6 - ");
}

TEST_F(DictionaryTest, MatchesTheQueryExactlyOnEitherSideListingEachHitOnceInBookOrder) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  WriteOwnBook(kWords);
  Choose(kOwnBook);
  auto blocks = [](std::initializer_list<int> hits) {
    std::string text;
    for (int i : hits) text += Block(kWords[static_cast<std::size_t>(i)]);
    return text.empty() ? kNothingFound : text;
  };
  struct Row {
    const char* why;
    std::string query;
    std::string result;
  } rows[] = {
      {"lower case finds only lower case", "apple", blocks({0, 2})},
      {"upper case finds only upper case", "Apple", blocks({1})},
      {"a word on both sides is listed once", "fond", blocks({3, 4})},
      {"Chinese inside a longer meaning", "抛弃", blocks({5})},
      {"Chinese at the start of meanings", "苹果", blocks({0, 1})},
      {"a leading space needs a space in the text", " up", blocks({5})},
      {"a trailing space needs a space in the text", "up ", blocks({})},
      {"a space alone", " ", blocks({1, 3, 4, 5, 7})},
      {"longer than both sides", "pineapples", blocks({})},
      {"longer than both sides, Chinese", "菠萝蜜", blocks({})},
      {"punctuation counts", "；抛", blocks({5})},
      {"the hyphen is an ordinary character here", "-", blocks({6})},
      {"upper case finds no lower-case word", "FOND", blocks({})},
      // Queries of 16 bytes and more take another search path: the same rules hold there.
      {"a long query at the start", "take into accoun", blocks({7})},
      {"a long query at the end", "ake into account", blocks({7})},
      {"a long query differing in case", "take into Account", blocks({})},
      {"a long query one character too long", "take into accounts", blocks({})},
      {"a long Chinese query inside a meaning", "虑；重视；体", blocks({7})},
      {"a long query with a leading space", " take into account", blocks({})},
  };
  for (const Row& r : rows)
    EXPECT_EQ(LookUp(r.query), r.result) << r.why << ": [" << r.query << "]";
}

TEST_F(DictionaryTest, TheEmptyQueryListsEveryEntryAsTwoLinesAndAnEmptyLine) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  WriteOwnBook(kWords);
  Choose(kOwnBook);
  std::string all;
  for (const Record& r : kWords) all += Block(r);
  EXPECT_EQ(LookUp(""), all);
  EXPECT_TRUE(all.ends_with("体谅\r\n\r\n"));
}

TEST_F(DictionaryTest, IdiomHitsGiveBackTheWholeLineAndTheCutPointCannotBeSearchedAcross) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  // "一心一意" is stored as "一心-" / "-一意", "小巫见大巫" as "小巫见-" / "-大巫", "好" as
  // "好-" / "-".
  WriteIdiomBook({"一心一意", "小巫见大巫", "好", "三心二意"});
  Choose(kIdiomBook);
  struct Row {
    const char* why;
    std::string query;
    std::string result;
  } rows[] = {
      {"wholly in the first part", "一心", "一心一意\r\n\r\n"},
      {"wholly in the second part", "一意", "一心一意\r\n\r\n"},
      {"on both sides, listed once", "巫", "小巫见大巫\r\n\r\n"},
      {"the longer first part of an odd line", "小巫见", "小巫见大巫\r\n\r\n"},
      {"across the cut", "心一", kNothingFound},
      {"across the cut of an odd line", "见大", kNothingFound},
      {"the whole line spans the cut", "一心一意", kNothingFound},
      {"the English side's marker", "心-", "一心一意\r\n\r\n三心二意\r\n\r\n"},
      {"the Chinese side's marker", "-大", "小巫见大巫\r\n\r\n"},
      {"a one-character line", "好", "好\r\n\r\n"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(LookUp(r.query), r.result) << r.why << ": [" << r.query << "]";
}

TEST_F(DictionaryTest, TheEmptyQueryListsAll17508IdiomLinesUntruncated) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  WriteIdiomBook({"一心一意", "好"});
  Choose(kIdiomBook);
  std::string expected = "一心一意\r\n\r\n好\r\n\r\n";
  for (int i = 2; i < kIdiomLines; ++i) expected += "填充" + std::to_string(i) + "\r\n\r\n";
  EXPECT_TRUE(SameText(LookUp(""), expected));
  EXPECT_TRUE(SameText(LookUp("-"), expected)) << "every entry holds the markers";
}

TEST_F(DictionaryTest, AFullOwnBookOf30000EntriesIsListedWhole) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  std::vector<Record> records;
  for (int i = 1; i <= books::kOwnBookCapacity; ++i)
    records.push_back({"word" + std::to_string(i), "第" + std::to_string(i) + "个词"});
  WriteOwnBook(records);
  Choose(kOwnBook);
  std::string expected;
  for (const Record& r : records) expected += Block(r);
  EXPECT_TRUE(SameText(LookUp(""), expected));
  EXPECT_EQ(LookUp("word30000"), Block(records.back()));
}

TEST_F(DictionaryTest, EveryLookupChangesTheBackgroundFirstAndBeepsLastEvenWithoutHits) {
  WriteOwnBook(kWords);
  // What the background and the beep were when the result box changed.
  struct Observer : ui::ControlObserver {
    explicit Observer(kit::FakePlatform& p) : platform(p) {}
    kit::FakePlatform& platform;
    std::vector<std::pair<std::size_t, int>> seen;  // picture requests, beeps
    void Changed(ui::Control&, ui::Property what) override {
      if (what == ui::Property::Text)
        seen.push_back({platform.picture_requests.size(), platform.beeps});
    }
  } observer(platform_);
  ui_.ResultBox().SetObserver(&observer);
  for (int n : {3, 19, 0, 7}) random_.PushIndex(n, 20);

  Choose(kOwnBook);  // query "Text1": nothing found
  EXPECT_EQ(ui_.ResultBox().Text(), kNothingFound);
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/3.jpg");
  EXPECT_EQ(platform_.beeps, 1);

  ui_.QueryBox().SetText("apple");
  ui_.QueryBox().KeyPress(13);
  EXPECT_EQ(ui_.ResultBox().Text(), Block(kWords[0]) + Block(kWords[2]));
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/19.jpg");
  EXPECT_EQ(platform_.beeps, 2);

  ui_.LookUpButton().Click();  // the same result again: background and beep all the same
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/0.jpg");
  EXPECT_EQ(platform_.beeps, 3);

  LookUp("zzz");
  EXPECT_EQ(ui_.ResultBox().Text(), kNothingFound);
  EXPECT_EQ(kit::PicturePath(ui_.Window()), dir_.Str() + "/Pic/7.jpg");
  EXPECT_EQ(platform_.beeps, 4);

  EXPECT_EQ(random_.draws, 4);
  // The result box is emptied and filled again after that lookup's picture and before its
  // beep, even with the same result (so that it shows from the top).
  std::vector<std::pair<std::size_t, int>> expected = {{1, 0}, {2, 1}, {2, 1}, {3, 2},
                                                       {3, 2}, {4, 3}, {4, 3}};
  EXPECT_EQ(observer.seen, expected);
  ui_.ResultBox().SetObserver(nullptr);
}

TEST_F(DictionaryTest, OnlyEnterInTheQueryBoxLooksUp) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  WriteOwnBook(kWords);
  Choose(kOwnBook);
  ui_.QueryBox().SetText("fond");
  for (int key : {10, 32, 97, 27, 8}) ui_.QueryBox().KeyPress(key);
  EXPECT_EQ(platform_.beeps, 1) << "only the lookup after loading";
  EXPECT_EQ(ui_.ResultBox().Text(), kNothingFound);
  ui_.QueryBox().KeyPress(13);
  EXPECT_EQ(platform_.beeps, 2);
  EXPECT_EQ(ui_.ResultBox().Text(), Block(kWords[3]) + Block(kWords[4]));
  EXPECT_EQ(ui_.QueryBox().Text(), "fond") << "the query stays as typed";
}

TEST_F(DictionaryTest, AnotherBookLooksUpTheOldQueryAtOnceAndKeepsItsOwnBlockLayout) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at: Pic/0.jpg
  WriteIdiomBook({"一心一意", "三心二意"});
  WritePhraseBook();
  Choose(kIdiomBook);
  EXPECT_EQ(LookUp("二意"), "三心二意\r\n\r\n");

  ui_.ChangeBookButton().Click();
  EXPECT_TRUE(InBookChoice());
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之双向词典V3.6 - 《成语大全》(17508)")
      << "the title keeps the last book until the next load";
  ui_.QueryBox().SetText("phrase37");
  Choose(kPhraseBook);
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之双向词典V3.6 - 《大学英语5-6级词组》(372)");
  // Raised back from "ohrase37"; the meaning's markers are stripped.
  EXPECT_EQ(ui_.ResultBox().Text(),
            "phrase37\r\n词组37号\r\n\r\nphrase370\r\n词组370号\r\n\r\n"
            "phrase371\r\n词组371号\r\n\r\nphrase372\r\n词组372号\r\n\r\n");
  EXPECT_EQ(platform_.beeps, 3);
  EXPECT_EQ(platform_.picture_requests.size(), 3u);
}

TEST_F(DictionaryTest, ClosingTheWindowEndsTheProgramWithoutAMessage) {
  EXPECT_TRUE(kit::Ends([&] { ui_.Window().Close(); }));
  EXPECT_TRUE(platform_.ended);
  EXPECT_TRUE(platform_.messages.empty());
}

}  // namespace
