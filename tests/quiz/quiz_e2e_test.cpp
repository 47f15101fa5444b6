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
#include "quiz/form2.h"

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
  QuizEndToEnd() { WriteProgramFolder(dir.Path()); }

  // The button that shows the right answer of the question on show.
  int RightButton() const {
    for (int i = 0; i < 4; ++i)
      if (form->Command1[i].Caption() == form->RoundAnswers[form->QuestionNo]) return i;
    return -1;
  }
  int WrongButton() const {
    for (int i = 0; i < 4; ++i)
      if (form->Command1[i].Caption() != form->RoundAnswers[form->QuestionNo]) return i;
    return -1;
  }
  // A real click on an answer button. The pointer must move for each click, so a button hit
  // twice in a row is hit a little off its centre the second time.
  bool ClickAnswer(int index) {
    QWidget* button = driver.Widget("Form2", "Command1_" + std::to_string(index));
    if (!button || !button->isVisible()) {
      ADD_FAILURE() << "answer button " << index << " is not on screen";
      return false;
    }
    QPoint at = button->mapToGlobal(button->rect().center());
    if (at == last_click_) at += QPoint(8, 4);
    last_click_ = at;
    return driver.ClickAt(at);
  }

  kit::TempDir dir;
  e2e::Driver driver{dir.Path()};
  quiz::Form2* form = nullptr;
  QPoint last_click_;
};

TEST_F(QuizEndToEnd, ARoundIsPlayedWithRealClicksInBothDirections) {
  ASSERT_TRUE(driver.Start());
  // The match game first: a book, a group, then its "英汉互译" button.
  ASSERT_TRUE(driver.ClickRow("Form1", "List1", 0));
  ASSERT_TRUE(driver.Click("Form1", "Command3"));
  ASSERT_TRUE(driver.ClickRow("Form1", "List2", 1));
  ASSERT_TRUE(driver.Click("Form1", "Command2"));
  ASSERT_TRUE(driver.Click("Form1", "Command2_2"));
  form = driver.Model<quiz::Form2>(Mode::Quiz);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(driver.WaitUntil(
      [&] { return driver.Window("Form2") && driver.Window("Form2")->isVisible(); }));

  ASSERT_TRUE(driver.ClickRow("Form2", "List1", 0));
  ASSERT_TRUE(driver.Click("Form2", "Command3"));
  ASSERT_TRUE(driver.ClickRow("Form2", "List2", 1));
  ASSERT_TRUE(driver.Click("Form2", "Command2"));
  EXPECT_EQ(driver.Window("Form2")->windowTitle().toStdString(),
            "Kestrin之英汉互译V3.6 - 《My词库》 - 1");
  ASSERT_TRUE(form->Label1.Visible());

  // The question falls until the user answers.
  ASSERT_TRUE(driver.WaitUntil([&] { return form->Label1.Top() >= 2400; }, 8000));
  EXPECT_FALSE(driver.Screenshot("Form2", "quiz-english-question-falling").empty());

  // One wrong answer, then eighteen right ones.
  const int wrong = WrongButton();
  ASSERT_GE(wrong, 0);
  ASSERT_TRUE(ClickAnswer(wrong));
  EXPECT_EQ(form->QuestionNo, 1);
  EXPECT_GE(form->Mistakes, 1);
  for (int question = 1; question <= 18; ++question) {
    ASSERT_EQ(form->QuestionNo, question);
    const int right = RightButton();
    ASSERT_GE(right, 0);
    if (question == 18) driver.AnswerMessages(1);
    ASSERT_TRUE(ClickAnswer(right)) << "question " << question;
  }
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.Messages().size() == 1; }));
  const std::string report = driver.Messages()[0];
  EXPECT_EQ(report.rfind("本局共 18 个单词\n您共错了 ", 0), 0u) << report;
  EXPECT_NE(report.find(" 次\n本局用时 "), std::string::npos) << report;
  EXPECT_EQ(form->QuestionNo, 1);
  EXPECT_TRUE(form->Timer1.Enabled());
  EXPECT_EQ(form->BestTime, 10000) << "a round with a mistake is no best time";

  // "汉译英": the Chinese side is asked and English words are offered.
  ASSERT_TRUE(driver.Click("Form2", "Command2_3"));
  EXPECT_FALSE(form->Command2_3.Enabled());
  bool chinese_asked = false;
  for (const auto& [english, chinese] : kBook) chinese_asked |= form->Label1.Caption() == chinese;
  EXPECT_TRUE(chinese_asked) << form->Label1.Caption();
  ASSERT_TRUE(driver.WaitUntil([&] { return form->Label1.Top() >= 1800; }, 8000));
  EXPECT_FALSE(driver.Screenshot("Form2", "quiz-chinese-question-falling").empty());
  ASSERT_TRUE(ClickAnswer(RightButton()));
  EXPECT_EQ(form->QuestionNo, 2);

  // Closing the window says good-bye and ends the program.
  driver.AnswerMessages(1);
  driver.Window("Form2")->close();
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.Ended(); }));
  ASSERT_EQ(driver.Messages().size(), 2u);
  EXPECT_EQ(driver.Messages()[1], "本次英汉互译\n无最好成绩\nGood-Bye!");
}

}  // namespace
