// The quiz in a real X window: reached from the match game with the mouse, a whole round
// played with real clicks (the model tells which button is right), both directions, the
// report and the farewell answered with the keyboard, screenshots of a falling question.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>
#include <utility>
#include <vector>

#include "e2e/driver.h"
#include "kit/kit.h"
#include "quiz/quiz_window.h"

namespace {

using shell::Mode;

const std::vector<std::pair<std::string, std::string>> kBook = {
    {"apple", "苹果"},      {"banana", "香蕉"},     {"cherry", "樱桃"},    {"grape", "葡萄"},
    {"lemon", "柠檬"},      {"orange", "橙子"},     {"peach", "桃子"},     {"pear", "梨"},
    {"watermelon", "西瓜"}, {"strawberry", "草莓"}, {"pineapple", "菠萝"}, {"mango", "芒果"},
    {"tomato", "西红柿"},   {"potato", "土豆"},     {"carrot", "胡萝卜"},  {"cabbage", "卷心菜"},
    {"mushroom", "蘑菇"},   {"onion", "洋葱"},      {"garlic", "大蒜"},    {"pumpkin", "南瓜"},
};

// A program folder of our own: the own book above and twenty pictures in soft colours.
void WriteProgramFolder(const std::filesystem::path& dir) {
  kit::WriteOwnBook(dir, kBook);
  e2e::WritePictures(dir);
}

class QuizEndToEnd : public ::testing::Test {
 protected:
  QuizEndToEnd() { WriteProgramFolder(dir_.Path()); }

  // The answer to the question on show, whichever side is asked.
  std::string RightAnswer() const {
    const std::string& question = form_->Question().Caption();
    for (const auto& [english, chinese] : kBook) {
      if (question == english) return chinese;
      if (question == chinese) return english;
    }
    ADD_FAILURE() << "not a question of the book: " << question;
    return {};
  }
  // The button that shows the right answer of the question on show, or one that does not.
  int AnswerButton(bool right) const {
    for (int i = 0; i < 4; ++i)
      if ((form_->Answer(i).Caption() == RightAnswer()) == right) return i;
    return -1;
  }
  // A real click on an answer button. The pointer must move for each click, so a button hit
  // twice in a row is hit a little off its centre the second time.
  bool ClickAnswer(int index) {
    QWidget* button = driver_.Widget("quiz_window", "answers_" + std::to_string(index));
    if (!button || !button->isVisible()) {
      ADD_FAILURE() << "answer button " << index << " is not on screen";
      return false;
    }
    QPoint at = button->mapToGlobal(button->rect().center());
    if (at == last_click_) at += QPoint(8, 4);
    last_click_ = at;
    return driver_.ClickAt(at);
  }

  kit::TempDir dir_;
  e2e::Driver driver_{dir_.Path()};
  std::optional<kit::Controls> form_;
  QPoint last_click_;
};

TEST_F(QuizEndToEnd, ARoundIsPlayedWithRealClicksInBothDirections) {
  ASSERT_TRUE(driver_.Start());
  // The match game first: a book, a group, then its "英汉互译" button.
  ASSERT_TRUE(driver_.ClickRow("match_window", "book_list", 0));
  ASSERT_TRUE(driver_.Click("match_window", "choose_book_button"));
  ASSERT_TRUE(driver_.ClickRow("match_window", "group_list", 1));
  ASSERT_TRUE(driver_.Click("match_window", "choose_group_button"));
  ASSERT_TRUE(driver_.Click("match_window", "mode_buttons_1"));
  form_ = driver_.Model(Mode::Quiz);
  ASSERT_TRUE(form_);
  ASSERT_TRUE(driver_.WaitUntil(
      [&] { return driver_.Window("quiz_window") && driver_.Window("quiz_window")->isVisible(); }));

  ASSERT_TRUE(driver_.ClickRow("quiz_window", "book_list", 0));
  ASSERT_TRUE(driver_.Click("quiz_window", "choose_book_button"));
  ASSERT_TRUE(driver_.ClickRow("quiz_window", "group_list", 1));
  ASSERT_TRUE(driver_.Click("quiz_window", "choose_group_button"));
  EXPECT_EQ(driver_.Window("quiz_window")->windowTitle().toStdString(),
            "Kestrin之英汉互译V3.6 - 《My词库》 - 1");
  ASSERT_TRUE(form_->Question().Visible());

  // The question falls until the user answers.
  ASSERT_TRUE(driver_.WaitUntil([&] { return form_->Question().Top() >= 2400; }, 8000));
  EXPECT_FALSE(driver_.Screenshot("quiz_window", "quiz-english-question-falling").empty());

  // One wrong answer, then eighteen right ones.
  const std::string first = form_->Question().Caption();
  const int wrong = AnswerButton(false);
  ASSERT_GE(wrong, 0);
  ASSERT_TRUE(ClickAnswer(wrong));
  EXPECT_EQ(form_->Question().Caption(), first) << "the same question goes on falling";
  for (int question = 1; question <= 18; ++question) {
    const std::string asked = form_->Question().Caption();
    const int right = AnswerButton(true);
    ASSERT_GE(right, 0);
    if (question == 18) driver_.AnswerMessages(1);
    ASSERT_TRUE(ClickAnswer(right)) << "question " << question;
    if (question < 18) {
      ASSERT_NE(form_->Question().Caption(), asked) << "question " << question;
    }
  }
  ASSERT_TRUE(driver_.WaitUntil([&] { return driver_.Messages().size() == 1; }));
  const std::string report = driver_.Messages()[0];
  EXPECT_EQ(report.rfind("本局共 18 个单词\n您共错了 ", 0), 0u) << report;
  EXPECT_NE(report.find(" 次\n本局用时 "), std::string::npos) << report;
  EXPECT_TRUE(form_->Clock().Enabled());

  // "汉译英": the Chinese side is asked and English words are offered.
  ASSERT_TRUE(driver_.Click("quiz_window", "mode_buttons_2"));
  EXPECT_FALSE(form_->ModeButton(2).Enabled());
  bool chinese_asked = false;
  for (const auto& [english, chinese] : kBook)
    chinese_asked |= form_->Question().Caption() == chinese;
  EXPECT_TRUE(chinese_asked) << form_->Question().Caption();
  ASSERT_TRUE(driver_.WaitUntil([&] { return form_->Question().Top() >= 1800; }, 8000));
  EXPECT_FALSE(driver_.Screenshot("quiz_window", "quiz-chinese-question-falling").empty());
  const std::string asked = form_->Question().Caption();
  ASSERT_TRUE(ClickAnswer(AnswerButton(true)));
  EXPECT_NE(form_->Question().Caption(), asked) << "the next question";

  // Closing the window says good-bye and ends the program.
  driver_.AnswerMessages(1);
  driver_.Window("quiz_window")->close();
  ASSERT_TRUE(driver_.WaitUntil([&] { return driver_.Ended(); }));
  ASSERT_EQ(driver_.Messages().size(), 2u);
  EXPECT_EQ(driver_.Messages()[1], "本次英汉互译\n无最好成绩\nGood-Bye!")
      << "a round with a mistake is no best time";
}

}  // namespace
