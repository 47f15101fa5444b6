// The quiz on real widgets (offscreen): the answer row as the user sees it, and real clicks on
// its buttons judged by the quiz.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "qt/qt_harness.h"
#include "quiz/quiz_window.h"
#include "shell/shell.h"

namespace {

using shell::Mode;

class QuizWidgets : public qtharness::ProgramFixture {
 protected:
  // Starts the program, switches to the quiz, loads the own book and starts group 1 with
  // the distractors 7, 3, 9 and the right answer on button q.
  void StartQuiz(int q) {
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 1; i <= 20; ++i)
      records.push_back({"word" + std::to_string(i), "词" + std::to_string(i) + "义"});
    WriteOwnBook(records);
    Start();
    platform_.Deliver(
        [this] { program_.Shell().SwitchMode(*program_.Shell().Find(Mode::Match), Mode::Quiz); });
    qtharness::Settle();
    form_ = Model(Mode::Quiz);
    ASSERT_TRUE(form_);
    qtharness::ClickRow(WidgetAs<QListWidget>("quiz_window", "book_list"), 0);
    Click("quiz_window", "choose_book_button");
    qtharness::ClickRow(WidgetAs<QListWidget>("quiz_window", "group_list"), 1);
    for (int p = 0; p < 18; ++p) random_.PushIndex(p, 18);  // the slots in book order
    random_.PushIndex(0, 20);                               // the picture
    for (int d : {7, 3, 9}) random_.PushIndex(d - 1, 20);   // the distractors
    random_.PushIndex(q, 4);
    random_.Push(0.5);  // the label's left edge
    Click("quiz_window", "choose_group_button");
    ASSERT_TRUE(form_->Question().Visible());
  }

  QPushButton* Answer(int i) {
    return WidgetAs<QPushButton>("quiz_window", "answers_" + std::to_string(i));
  }

  std::optional<kit::Controls> form_;
};

TEST_F(QuizWidgets, TheAnswerRowShowsTheOffersInOneRowBelowTheQuestion) {
  StartQuiz(2);
  const char* const want[] = {"词7义", "词3义", "词1义", "词9义"};
  for (int i = 0; i < 4; ++i) {
    QPushButton* button = Answer(i);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->text().toStdString(), want[i]);
    EXPECT_EQ(button->geometry(), QRect(80 + 178 * i, 440, 140, 60));
    EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 10.5);
  }
  auto* label = WidgetAs<QLabel>("quiz_window", "question");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), "word1");
  EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 14.25);
  EXPECT_LT(label->geometry().bottom(), Answer(0)->geometry().top());
  EXPECT_EQ(Window("quiz_window")->windowTitle(), "Kestrin之英汉互译V3.6 - 《My词库》 - 1");
}

TEST_F(QuizWidgets, RealClicksOnAnswerButtonsAreJudgedByTheirText) {
  random_.fallback = 0.0;  // the questions and pictures this test does not look at
  StartQuiz(2);
  random_.Push({0.9, 0.0});  // after the wrong click: the right answer moves to button 3
  Click("quiz_window", "answers_0");
  EXPECT_EQ(WidgetAs<QLabel>("quiz_window", "question")->text(), "word1") << "asked again";
  EXPECT_EQ(Answer(3)->text().toStdString(), "词1义");
  EXPECT_EQ(Answer(2)->text().toStdString(), "词9义");

  Click("quiz_window", "answers_3");
  EXPECT_EQ(WidgetAs<QLabel>("quiz_window", "question")->text(), "word2");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(QuizWidgets, TheFirstAnswerTakesTheFocusAndTheKeysOneToFourAnswer) {
  StartQuiz(2);
  QWidget* window = Window("quiz_window");
  EXPECT_EQ(window->focusWidget(), Answer(0));
  random_.Push({0.9, 0.0});  // after the wrong key: the right answer moves to button 3
  QTest::keyClick(window->focusWidget(), Qt::Key_1);
  EXPECT_EQ(form_->Answer(3).Caption(), "词1义") << "the same question, its answer moved";
  for (int d : {2, 4, 6}) random_.PushIndex(d - 1, 20);
  random_.PushIndex(0, 4);
  random_.Push(0.5);
  QTest::keyClick(window->focusWidget(), Qt::Key_4);
  EXPECT_EQ(form_->Question().Caption(), "word2");
  EXPECT_EQ(Answer(0)->text().toStdString(), "词2义");
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
