// The dictionary on a real X display: reached from a match round through its mode button, a
// book chosen with a real double-click, queries typed with real key presses (English and
// Chinese) and sent with Enter or "查单词", the results photographed; then another book.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QStringList>
#include <algorithm>
#include <string>

#include "books/loader.h"
#include "dictionary/dictionary_window.h"
#include "e2e/driver.h"
#include "kit/kit.h"
#include "qt/convert.h"
#include "shell/book_choice.h"
#include "shell/shell.h"
#include "text/text.h"

namespace {

using shell::Mode;

constexpr std::string_view kMatchBook = "《大学英语1-4级词汇》(上)(2303)";
constexpr std::string_view kWordBook = "《计算机常用词汇》(4070)";

class DictionaryOnScreen : public ::testing::Test {
 protected:
  // A match round is running in the match window; its "双向词典" button opens the
  // dictionary.
  void OpenDictionary() {
    ASSERT_TRUE(driver_.Start());
    const std::optional<kit::Controls> match = driver_.Model(Mode::Match);
    ASSERT_TRUE(match);
    ASSERT_TRUE(
        driver_.ClickRow("match_window", "book_list", kit::RowOf(match->BookList(), kMatchBook)));
    ASSERT_TRUE(driver_.Click("match_window", "choose_book_button"));
    ASSERT_TRUE(driver_.ClickRow("match_window", "group_list", 1));
    ASSERT_TRUE(driver_.Click("match_window", "choose_group_button"));
    ASSERT_TRUE(
        driver_.WaitUntil([&] { return driver_.OnScreen("match_window", "mode_buttons_2"); }));
    ASSERT_TRUE(driver_.Click("match_window", "mode_buttons_2"));
    ASSERT_TRUE(
        driver_.WaitUntil([&] { return driver_.OnScreen("dictionary_window", "book_list"); }));
    form_ = driver_.Model(Mode::Dictionary);
    ASSERT_TRUE(form_);
  }

  // A book beside the program as the program reads it.
  static books::WordBook ReadBook(std::string_view label) {
    const books::CatalogueEntry& entry = *books::FindEntry(books::DictionaryCatalogue(), label);
    books::WordBook book;
    EXPECT_TRUE(
        books::ReadWordBook(books::BookFilePath(e2e::ProgramDir().string(), entry), entry, book)
            .Ok());
    return book;
  }

  // Chooses a book with a real double-click on its row.
  void Choose(std::string_view label) {
    ASSERT_TRUE(driver_.ClickRow("dictionary_window", "book_list",
                                 kit::RowOf(form_->BookList(), label), 2));
    ASSERT_TRUE(
        driver_.WaitUntil([&] { return driver_.OnScreen("dictionary_window", "result_box"); }));
    EXPECT_EQ(driver_.Window("dictionary_window")->windowTitle().toStdString(),
              "Kestrin之双向词典V3.6 - " + std::string(label));
  }

  // Replaces the query with real key presses; `send` is "Return" or empty for "查单词".
  void Search(const std::string& query, const std::string& send) {
    ASSERT_TRUE(driver_.Click("dictionary_window", "query_box"));
    ASSERT_TRUE(driver_.Key("ctrl+a BackSpace"));
    ASSERT_TRUE(driver_.Type(query));
    ASSERT_TRUE(driver_.WaitUntil([&] { return form_->QueryBox().Text() == query; }))
        << "typed: " << form_->QueryBox().Text();
    if (send.empty())
      ASSERT_TRUE(driver_.Click("dictionary_window", "look_up_button"));
    else
      ASSERT_TRUE(driver_.Key(send));
    driver_.Settle(200);
  }

  // The blocks the result box shows, each as its lines.
  std::vector<QStringList> ShownBlocks() {
    auto* box = dynamic_cast<QPlainTextEdit*>(driver_.Widget("dictionary_window", "result_box"));
    EXPECT_NE(box, nullptr);
    std::vector<QStringList> blocks;
    if (!box) return blocks;
    const QString text = box->toPlainText();
    EXPECT_EQ(text, qtbind::ToShownText(form_->ResultBox().Text()))
        << "the box shows the whole result";
    for (const QString& block : text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
      blocks.push_back(block.split(QLatin1Char('\n')));
    return blocks;
  }

  e2e::Driver driver_;
  std::optional<kit::Controls> form_;
};

TEST_F(DictionaryOnScreen, QueriesTypedAndSentWithEnterOrTheButtonListEveryHitOfTheBook) {
  ASSERT_NO_FATAL_FAILURE(OpenDictionary());
  ASSERT_NO_FATAL_FAILURE(Choose(kWordBook));
  const books::WordBook book = ReadBook(kWordBook);
  ASSERT_EQ(book.Count(), 4070) << "the sample books beside the program";
  EXPECT_EQ(form_->QueryBox().Text(), "Text1");
  EXPECT_TRUE(driver_.OnScreen("dictionary_window", "mode_buttons_0"))
      << "the mode buttons show in the lookup";

  // The first letters of an English entry of letters only, typed and sent with Enter.
  int pick = 0;
  for (int i = 99; i < book.Count() && pick == 0; ++i) {
    const std::string& e = book.words[static_cast<std::size_t>(i)].english;
    if (e.size() >= 4 && std::all_of(e.begin(), e.end(), [](char c) { return std::isalpha(c); }))
      pick = i;
  }
  ASSERT_GT(pick, 0);
  const std::string english = book.words[static_cast<std::size_t>(pick)].english;
  const std::string meaning = book.words[static_cast<std::size_t>(pick)].chinese;
  const std::string prefix = english.substr(0, 3);
  ASSERT_NO_FATAL_FAILURE(Search(prefix, "Return"));
  auto blocks = ShownBlocks();
  ASSERT_FALSE(blocks.empty());
  for (const QStringList& block : blocks) {
    ASSERT_EQ(block.size(), 2) << block.join('|').toStdString();
    EXPECT_TRUE(block[0].contains(QString::fromStdString(prefix)) ||
                block[1].contains(QString::fromStdString(prefix)))
        << block.join('|').toStdString();
  }
  EXPECT_NE(
      std::find(blocks.begin(), blocks.end(),
                QStringList{QString::fromStdString(english), QString::fromStdString(meaning)}),
      blocks.end());
  EXPECT_FALSE(driver_.Screenshot("dictionary_window", "dictionary-english").empty());

  // The first Chinese character of that meaning, sent with "查单词".
  const std::size_t from = meaning.find_first_of("\xE4\xE5\xE6\xE7\xE8\xE9");
  ASSERT_NE(from, std::string::npos) << meaning;
  const std::string rest = meaning.substr(from);
  const std::string chinese = rest.substr(0, text::CharOffset(rest, 1));
  ASSERT_NO_FATAL_FAILURE(Search(chinese, ""));
  blocks = ShownBlocks();
  ASSERT_FALSE(blocks.empty());
  for (const QStringList& block : blocks)
    EXPECT_TRUE(block.join('\n').contains(QString::fromStdString(chinese)))
        << block.join('|').toStdString();
  EXPECT_FALSE(driver_.Screenshot("dictionary_window", "dictionary-chinese").empty());

  // Nothing found.
  ASSERT_NO_FATAL_FAILURE(Search("Qzxq", "Return"));
  EXPECT_EQ(dynamic_cast<QPlainTextEdit*>(driver_.Widget("dictionary_window", "result_box"))
                ->toPlainText(),
            "查询无果！");
}

TEST_F(DictionaryOnScreen, AnotherBookTakesTheOldQueryAndIdiomsComeBackAsWholeLines) {
  ASSERT_NO_FATAL_FAILURE(OpenDictionary());
  ASSERT_NO_FATAL_FAILURE(Choose(kWordBook));
  ASSERT_NO_FATAL_FAILURE(Search("", "Return"));
  EXPECT_EQ(ShownBlocks().size(), 4070u) << "the empty query lists the whole book";

  ASSERT_TRUE(driver_.Click("dictionary_window", "change_book_button"));
  ASSERT_TRUE(
      driver_.WaitUntil([&] { return driver_.OnScreen("dictionary_window", "book_list"); }));
  EXPECT_FALSE(driver_.OnScreen("dictionary_window", "query_box"));
  ASSERT_NO_FATAL_FAILURE(Choose(books::kIdiomBookLabel));
  const books::WordBook book = ReadBook(books::kIdiomBookLabel);
  ASSERT_EQ(book.Count(), 17508);
  auto blocks = ShownBlocks();
  EXPECT_EQ(blocks.size(), 17508u) << "the empty query, kept, is looked up in the new book";
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(blocks.front().size(), 1) << "an idiom is one line";
  EXPECT_FALSE(blocks.front().join("").contains(QLatin1Char('-')));

  // The first half of an idiom finds the whole line.
  const std::string first = book.words[999].english;
  const std::string second = book.words[999].chinese;
  const std::string half = first.substr(0, first.size() - 1);
  ASSERT_NO_FATAL_FAILURE(Search(half, "Return"));
  blocks = ShownBlocks();
  const QString whole = QString::fromStdString(half + second.substr(1));
  EXPECT_NE(std::find(blocks.begin(), blocks.end(), QStringList{whole}), blocks.end());
  EXPECT_FALSE(driver_.Screenshot("dictionary_window", "dictionary-idioms").empty());

  driver_.Platform().Deliver([&] { form_->Window().Close(); });
  EXPECT_TRUE(driver_.Ended());
  EXPECT_TRUE(driver_.Messages().empty()) << "the dictionary ends the program without a word";
}

}  // namespace
