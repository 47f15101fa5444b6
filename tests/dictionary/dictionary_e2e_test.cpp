// The dictionary on a real X display: reached from a match round through its mode button, a
// book chosen with a real double-click, queries typed with real key presses (English and
// Chinese) and sent with Enter or "查单词", the results photographed; then another book.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QStringList>
#include <algorithm>
#include <string>

#include "dictionary/form3.h"
#include "e2e/driver.h"
#include "kit/kit.h"
#include "qt/convert.h"
#include "shell/book_window.h"
#include "shell/shell.h"
#include "text/text.h"

namespace {

using shell::Mode;

constexpr std::string_view kMatchBook = "《大学英语1-4级词汇》(上)(2303)";
constexpr std::string_view kWordBook = "《计算机常用词汇》(4070)";

class DictionaryOnScreen : public ::testing::Test {
 protected:
  // A match round is running in Form1; its "双向词典" button opens the dictionary.
  void OpenDictionary() {
    ASSERT_TRUE(driver.Start());
    auto* match = driver.Model<shell::BookWindow>(Mode::Match);
    ASSERT_NE(match, nullptr);
    ASSERT_TRUE(driver.ClickRow("Form1", "List1", kit::RowOf(match->List1, kMatchBook)));
    ASSERT_TRUE(driver.Click("Form1", "Command3"));
    ASSERT_TRUE(driver.ClickRow("Form1", "List2", 1));
    ASSERT_TRUE(driver.Click("Form1", "Command2"));
    ASSERT_TRUE(driver.WaitUntil([&] { return driver.OnScreen("Form1", "Command2_3"); }));
    ASSERT_TRUE(driver.Click("Form1", "Command2_3"));
    ASSERT_TRUE(driver.WaitUntil([&] { return driver.OnScreen("Form3", "List1"); }));
    form = driver.Model<dictionary::Form3>(Mode::Dictionary);
    ASSERT_NE(form, nullptr);
  }

  // Chooses a book with a real double-click on its row.
  void Choose(std::string_view label) {
    ASSERT_TRUE(driver.ClickRow("Form3", "List1", kit::RowOf(form->List1, label), 2));
    ASSERT_TRUE(driver.WaitUntil([&] { return driver.OnScreen("Form3", "Text2"); }));
    EXPECT_EQ(driver.Window("Form3")->windowTitle().toStdString(),
              "Kestrin之双向词典V3.6 - " + std::string(label));
  }

  // Replaces the query with real key presses; `send` is "Return" or empty for "查单词".
  void Search(const std::string& query, const std::string& send) {
    ASSERT_TRUE(driver.Click("Form3", "Text1"));
    ASSERT_TRUE(driver.Key("ctrl+a BackSpace"));
    ASSERT_TRUE(driver.Type(query));
    ASSERT_TRUE(driver.WaitUntil([&] { return form->Text1.Text() == query; }))
        << "typed: " << form->Text1.Text();
    if (send.empty())
      ASSERT_TRUE(driver.Click("Form3", "Command5"));
    else
      ASSERT_TRUE(driver.Key(send));
    driver.Settle(200);
  }

  // The blocks the result box shows, each as its lines.
  std::vector<QStringList> ShownBlocks() {
    auto* box = dynamic_cast<QPlainTextEdit*>(driver.Widget("Form3", "Text2"));
    EXPECT_NE(box, nullptr);
    std::vector<QStringList> blocks;
    if (!box) return blocks;
    const QString text = box->toPlainText();
    EXPECT_EQ(text, qtbind::ToShownText(form->Text2.Text())) << "the box shows the whole result";
    for (const QString& block : text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
      blocks.push_back(block.split(QLatin1Char('\n')));
    return blocks;
  }

  e2e::Driver driver;
  dictionary::Form3* form = nullptr;
};

TEST_F(DictionaryOnScreen, QueriesTypedAndSentWithEnterOrTheButtonListEveryHitOfTheBook) {
  ASSERT_NO_FATAL_FAILURE(OpenDictionary());
  ASSERT_NO_FATAL_FAILURE(Choose(kWordBook));
  ASSERT_EQ(form->Book.WordCount, 4070) << "the sample books beside the program";
  EXPECT_EQ(form->Text1.Text(), "Text1");
  EXPECT_TRUE(driver.OnScreen("Form3", "Command2_1")) << "the mode buttons show in the lookup";

  // The first letters of an English entry of letters only, typed and sent with Enter.
  int pick = 0;
  for (int i = 100; i <= form->Book.WordCount && pick == 0; ++i) {
    const std::string& e = form->Book.EnglishEntries[static_cast<std::size_t>(i)];
    if (e.size() >= 4 && std::all_of(e.begin(), e.end(), [](char c) { return std::isalpha(c); }))
      pick = i;
  }
  ASSERT_GT(pick, 0);
  const std::string english = form->Book.EnglishEntries[static_cast<std::size_t>(pick)];
  const std::string meaning = form->Book.ChineseMeanings[static_cast<std::size_t>(pick)];
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
  EXPECT_FALSE(driver.Screenshot("Form3", "dictionary-english").empty());

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
  EXPECT_FALSE(driver.Screenshot("Form3", "dictionary-chinese").empty());

  // Nothing found.
  ASSERT_NO_FATAL_FAILURE(Search("Qzxq", "Return"));
  EXPECT_EQ(dynamic_cast<QPlainTextEdit*>(driver.Widget("Form3", "Text2"))->toPlainText(),
            "查询无果！");
}

TEST_F(DictionaryOnScreen, AnotherBookTakesTheOldQueryAndIdiomsComeBackAsWholeLines) {
  ASSERT_NO_FATAL_FAILURE(OpenDictionary());
  ASSERT_NO_FATAL_FAILURE(Choose(kWordBook));
  ASSERT_NO_FATAL_FAILURE(Search("", "Return"));
  EXPECT_EQ(ShownBlocks().size(), 4070u) << "the empty query lists the whole book";

  ASSERT_TRUE(driver.Click("Form3", "Command6"));
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.OnScreen("Form3", "List1"); }));
  EXPECT_FALSE(driver.OnScreen("Form3", "Text1"));
  ASSERT_NO_FATAL_FAILURE(Choose(books::kIdiomBookLabel));
  ASSERT_EQ(form->Book.WordCount, 17508);
  auto blocks = ShownBlocks();
  EXPECT_EQ(blocks.size(), 17508u) << "the empty query, kept, is looked up in the new book";
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(blocks.front().size(), 1) << "an idiom is one line";
  EXPECT_FALSE(blocks.front().join("").contains(QLatin1Char('-')));

  // The first half of an idiom finds the whole line.
  const std::string first = form->Book.EnglishEntries[1000];
  const std::string second = form->Book.ChineseMeanings[1000];
  const std::string half = first.substr(0, first.size() - 1);
  ASSERT_NO_FATAL_FAILURE(Search(half, "Return"));
  blocks = ShownBlocks();
  const QString whole = QString::fromStdString(half + second.substr(1));
  EXPECT_NE(std::find(blocks.begin(), blocks.end(), QStringList{whole}), blocks.end());
  EXPECT_FALSE(driver.Screenshot("Form3", "dictionary-idioms").empty());

  driver.Platform().Deliver([&] { form->Window().Close(); });
  EXPECT_TRUE(driver.Ended());
  EXPECT_TRUE(driver.Messages().empty()) << "the dictionary ends the program without a word";
}

}  // namespace
