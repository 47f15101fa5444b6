#include "quiz/form2.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "kit/kit.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

using Record = std::pair<std::string, std::string>;

std::vector<Record> Numbered(int n) {
  std::vector<Record> out;
  for (int i = 1; i <= n; ++i)
    out.push_back({"word" + std::to_string(i), "词" + std::to_string(i) + "义"});
  return out;
}

std::vector<int> Identity() {
  std::vector<int> order;
  for (int i = 1; i <= 18; ++i) order.push_back(i);
  return order;
}

// The quiz window as the program reaches it: the match window starts, and its quiz button
// creates and shows the quiz window (with Timer1 switched on by the switch).
class QuizTest : public ::testing::Test {
 protected:
  QuizTest() {
    platform.program_directory = dir.Str();
    shell.Start();
    shell.SwitchMode(*shell.Find(shell::Mode::Match), shell::Mode::Quiz);
    form = dynamic_cast<quiz::Form2*>(shell.Find(shell::Mode::Quiz));
  }

  // Writes the own book and loads it through "选书".
  void LoadOwnBook(const std::vector<Record>& records) {
    kit::WriteOwnBook(dir.Path(), records);
    form->List1.SetListIndex(0);
    form->Command3.Click();
  }

  // The draws of ShuffleRound: p(1) .. p(18), rejected repeats included.
  void PushShuffle(const std::vector<int>& order) {
    for (int p : order) random.PushIndex(p - 1, 18);
  }
  // The draws of NextQuestion and ShowQuestion: three distractor records, the right button,
  // the fraction of the label's left edge.
  void PushQuestion(std::array<int, 3> distractors, int q, double left = 0.0) {
    for (int d : distractors) random.PushIndex(d - 1, form->Book.WordCount);
    random.PushIndex(q, 4);
    random.Push(left);
  }
  // The draws of ShuffleRound and its first question: the order, the picture, the question.
  void PushRound(const std::vector<int>& order, std::array<int, 3> distractors = {1, 1, 1},
                 int q = 0, double left = 0.0) {
    PushShuffle(order);
    random.PushIndex(0, 20);
    PushQuestion(distractors, q, left);
  }
  // Chooses `group` with "选组"; the draws of group 0 must be queued before.
  void StartRound(int group, const std::vector<int>& order,
                  std::array<int, 3> distractors = {1, 1, 1}, int q = 0, double left = 0.0) {
    PushRound(order, distractors, q, left);
    form->List2.SetListIndex(group);
    form->Command2.Click();
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < 4; ++i) out.push_back(form->Command1[i].Caption());
    return out;
  }
  int RightButton() const {
    for (int i = 0; i < 4; ++i)
      if (form->Command1[i].Caption() == form->RoundAnswers[form->QuestionNo]) return i;
    ADD_FAILURE() << "no button shows the right answer";
    return 0;
  }
  // Clicks the right answer; the eighteenth gets the draws of the next round's shuffle.
  void AnswerRight() {
    if (form->QuestionNo == 18) PushShuffle(Identity());
    form->Command1[RightButton()].Click();
  }
  void Tick(int n) {
    for (int i = 0; i < n; ++i) form->Timer1.Tick();
  }
  // Plays a whole round without a mistake in `ticks` tenths of a second (at most 1800).
  void PlayRound(int ticks) {
    for (int i = 0; i < 18; ++i) {
      Tick(ticks / 18 + (i < ticks % 18 ? 1 : 0));
      AnswerRight();
    }
  }

  kit::TempDir dir;
  kit::FakePlatform platform;
  kit::ScriptedRandom random;
  shell::Shell shell{platform, random, &program::MakeModeWindow};
  quiz::Form2* form = nullptr;
};

TEST_F(QuizTest, LoadLaysOutTheAnswerRowTheLabelAndTheDirectionButtons) {
  EXPECT_EQ(form->Window().Caption(), "Kestrin之英汉互译V3.6");
  EXPECT_EQ(form->BestTime, 10000);
  for (int i = 0; i < 4; ++i) {
    const ui::Button& b = form->Command1[i];
    EXPECT_EQ(std::vector<int>({b.Left(), b.Top(), b.Width(), b.Height()}),
              std::vector<int>({1200 + 2670 * i, 6600, 2100, 900}));
    EXPECT_EQ(b.GetFont(), (ui::Font{"宋体", 10.5, false}));
  }
  EXPECT_EQ(form->Label1.GetFont(), (ui::Font{"宋体", 14.25, false}));
  EXPECT_TRUE(form->Label1.AutoSize());
  const std::pair<ui::Button*, const char*> column[] = {
      {&form->Command2_1, "连连看"},   {&form->Command2_2, "英译汉"},
      {&form->Command2_3, "汉译英"},   {&form->Command2_4, "双向词典"},
      {&form->Command2_5, "屏幕保护"}, {&form->Command5, "换组词"},
      {&form->Command6, "换本书"}};
  for (auto [button, caption] : column) EXPECT_EQ(button->Caption(), caption);
  EXPECT_EQ(form->Command2_5.Top(), 3900);
  EXPECT_FALSE(form->Command2_2.Enabled());
  EXPECT_TRUE(form->Command2_3.Enabled());
}

TEST_F(QuizTest, EachStateShowsItsOwnControlsAndRunsTheClockOnlyInPlay) {
  struct Seen {
    bool books, groups, play, timer;
  };
  auto seen = [&] {
    bool play = form->Label1.Visible();
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &form->Command1[0], &form->Command1[3], &form->Command5, &form->Command6,
             &form->Command2_1, &form->Command2_2, &form->Command2_3, &form->Command2_4,
             &form->Command2_5})
      EXPECT_EQ(c->Visible(), play) << c->Name();
    EXPECT_EQ(form->List1.Visible(), form->Command3.Visible());
    EXPECT_EQ(form->List2.Visible(), form->Command2.Visible());
    return Seen{form->List1.Visible(), form->List2.Visible(), play, form->Timer1.Enabled()};
  };
  auto expect = [&](Seen want, const char* where) {
    Seen got = seen();
    EXPECT_EQ(got.books, want.books) << where;
    EXPECT_EQ(got.groups, want.groups) << where;
    EXPECT_EQ(got.play, want.play) << where;
    EXPECT_EQ(got.timer, want.timer) << where;
  };
  // The first switch to the quiz turns its clock on even on the book list.
  expect({true, false, false, true}, "first shown");
  LoadOwnBook(Numbered(40));
  expect({false, true, false, true}, "book loaded");
  EXPECT_EQ(form->List2.Items(), (std::vector<std::string>{"0", "1", "2", "3"}));
  EXPECT_EQ(form->List2.ListIndex(), -1);
  StartRound(1, Identity());
  expect({false, false, true, true}, "play");
  EXPECT_EQ(form->Window().Caption(), "Kestrin之英汉互译V3.6 - 《My词库》 - 1");
  form->Command5.Click();
  expect({false, true, false, false}, "换组词");
  EXPECT_EQ(form->List2.ListIndex(), 1) << "the group stays selected";
  EXPECT_EQ(form->Window().Caption(), "Kestrin之英汉互译V3.6 - 《My词库》 - 1");
  StartRound(1, Identity());
  form->Command6.Click();
  expect({true, false, false, false}, "换本书");
  EXPECT_EQ(form->Book.WordCount, 40) << "the book stays until the next load";

  // Leaving for another mode stops the clock; coming back starts it again.
  LoadOwnBook(Numbered(40));
  StartRound(2, Identity());
  form->Command2_1.Click();
  EXPECT_FALSE(form->Timer1.Enabled());
  EXPECT_FALSE(form->Window().Visible());
  auto* match = shell.Find(shell::Mode::Match);
  shell.SwitchMode(*match, shell::Mode::Quiz);
  expect({false, false, true, true}, "back from the match game");
}

TEST_F(QuizTest, SelectingNoGroupStartsNothing) {
  LoadOwnBook(Numbered(20));
  const int draws = random.draws;
  form->Command2.Click();
  form->List2.DblClick();
  EXPECT_EQ(random.draws, draws);
  EXPECT_TRUE(form->Command2.Visible());
  EXPECT_FALSE(form->Label1.Visible());
  EXPECT_EQ(form->Window().Caption(), "Kestrin之英汉互译V3.6");
}

TEST_F(QuizTest, AWindowWithoutRecordsStartsNoRound) {
  // Reached only by calling the handler: a loaded book always holds records.
  form->List2.AddItem("0");
  form->List2.SetListIndex(0);
  const int draws = random.draws;
  form->Command2_Click();
  EXPECT_EQ(random.draws, draws);
  EXPECT_FALSE(form->Label1.Visible());
}

TEST_F(QuizTest, GroupZeroDrawsEighteenRecordsFromTheWholeBookWithRepeats) {
  LoadOwnBook(Numbered(5));
  const std::vector<int> records = {5, 1, 1, 3, 2, 4, 5, 5, 1, 2, 3, 4, 4, 4, 2, 1, 3, 5};
  for (int r : records) random.PushIndex(r - 1, 5);
  StartRound(0, Identity());
  for (int i = 1; i <= 18; ++i) {
    EXPECT_EQ(form->RoundQuestions[i], "word" + std::to_string(records[i - 1])) << i;
    EXPECT_EQ(form->RoundAnswers[i], "词" + std::to_string(records[i - 1]) + "义") << i;
  }
  EXPECT_EQ(random.Remaining(), 0u);
}

TEST_F(QuizTest, AFullGroupAsksItsRecordsInTheShuffledOrder) {
  LoadOwnBook(Numbered(40));
  // p(1) = 18, then 18 again (rejected), then 17 down to 1.
  std::vector<int> order = {18, 18};
  for (int p = 17; p >= 1; --p) order.push_back(p);
  const int draws = random.draws;
  StartRound(2, order);
  EXPECT_EQ(random.draws - draws, 19 + 1 + 3 + 1 + 1);
  for (int i = 1; i <= 18; ++i) EXPECT_EQ(form->RoundQuestions[i], "word" + std::to_string(37 - i));
  EXPECT_EQ(form->Label1.Caption(), "word36");
  EXPECT_EQ(form->QuestionNo, 1);
}

TEST_F(QuizTest, TheShortLastGroupFillsOneSlotAndAsksTheEmptyOnesToo) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook(Numbered(37));
  ASSERT_EQ(form->List2.ListCount(), 4);
  std::vector<int> order = Identity();
  std::swap(order[0], order[4]);  // slot 5 first, the filled slot 1 fifth
  StartRound(3, order, {2, 3, 4}, 1);
  for (int i = 1; i <= 18; ++i) EXPECT_EQ(form->RoundQuestions[i], i == 5 ? "word37" : "") << i;
  EXPECT_EQ(form->Label1.Caption(), "");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"词2义", "", "词3义", "词4义"}));
  form->Command1[1].Click();
  EXPECT_EQ(form->QuestionNo, 2);
  EXPECT_EQ(form->Mistakes, 0);
}

TEST_F(QuizTest, TheRightAnswerTakesButtonQAndTheDistractorsFillTheRestInOrder) {
  LoadOwnBook(Numbered(20));
  const std::vector<std::string> want[] = {
      {"词1义", "词7义", "词3义", "词9义"},
      {"词7义", "词1义", "词3义", "词9义"},
      {"词7义", "词3义", "词1义", "词9义"},
      {"词7义", "词3义", "词9义", "词1义"},
  };
  for (int q = 0; q < 4; ++q) {
    form->Command5.Click();
    StartRound(1, Identity(), {7, 3, 9}, q);
    EXPECT_EQ((std::array<int, 3>{form->Picks[1], form->Picks[2], form->Picks[3]}),
              (std::array<int, 3>{7, 3, 9}));
    EXPECT_EQ(Captions(), want[q]) << "q = " << q;
    EXPECT_EQ(random.Remaining(), 0u);
  }
}

TEST_F(QuizTest, TheLabelStartsFurtherLeftForMoreThanEightCharacters) {
  LoadOwnBook({{"一二三四五六七八", "八个字"}, {"一二三四五六七八九", "九个字"}});
  const double last = 0x1.fffffffffffffp-1;
  struct Row {
    int slot;
    double r;
    int left;
  } rows[] = {{1, 0.0, 2500}, {1, last, 8499}, {2, 0.0, 2500}, {2, last, 5499}};
  for (const Row& row : rows) {
    std::vector<int> order = Identity();
    std::swap(order[0], order[row.slot - 1]);
    form->Command5.Click();
    StartRound(1, order, {1, 1, 1}, 0, row.r);
    EXPECT_EQ(form->Label1.Left(), row.left) << form->Label1.Caption() << " r=" << row.r;
    EXPECT_EQ(form->Label1.Top(), 0);
  }
}

TEST_F(QuizTest, AnswersAreJudgedByTheirTextNotByTheirButton) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook({{"bank", "银行"},
               {"bank", "河岸"},
               {"lift", "电梯"},
               {"elevator", "电梯"},
               {"apple", "苹果"}});
  struct Row {
    int asked;
    std::array<int, 3> distractors;
    int q;
    int clicked;
    bool right;
    const char* why;
  } rows[] = {
      {1, {2, 5, 1}, 0, 0, true, "the right button"},
      {1, {2, 5, 1}, 0, 3, true, "the asked record drawn as a distractor"},
      {1, {2, 5, 1}, 0, 1, true, "another record with the same question"},
      {1, {2, 5, 1}, 0, 2, false, "another question's answer"},
      {3, {4, 5, 5}, 3, 0, true, "another record's answer with the same text"},
      {4, {3, 3, 3}, 0, 1, true, "the same answer text under another question"},
      {3, {1, 2, 5}, 0, 1, false, "a meaning of another question"},
  };
  for (const Row& row : rows) {
    std::vector<int> order = Identity();
    std::swap(order[0], order[row.asked - 1]);
    form->Command5.Click();
    StartRound(1, order, row.distractors, row.q);
    const int beeps = platform.beeps;
    if (!row.right) random.Push({0.9, 0.1});  // ShowQuestion again: q = 3, left
    form->Command1[row.clicked].Click();
    EXPECT_EQ(form->QuestionNo, row.right ? 2 : 1) << row.why;
    EXPECT_EQ(form->Mistakes, row.right ? 0 : 1) << row.why;
    EXPECT_EQ(platform.beeps - beeps, row.right ? 0 : 1) << row.why;
  }
}

TEST_F(QuizTest, AWrongAnswerKeepsTheQuestionItsDistractorsAndTheLabelsHeight) {
  LoadOwnBook(Numbered(20));
  StartRound(1, Identity(), {7, 3, 9}, 0);
  Tick(100);
  ASSERT_EQ(form->Label1.Top(), 6000);
  random.Push({0.9, 0.0});  // right button 3, left edge 2500
  form->Command1[1].Click();
  EXPECT_EQ(form->Label1.Caption(), "word1");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"词7义", "词3义", "词9义", "词1义"}));
  EXPECT_EQ(form->Label1.Left(), 2500);
  EXPECT_EQ(form->Label1.Top(), 6000);
  Tick(5);
  EXPECT_EQ(form->Label1.Top(), 6300);
  EXPECT_EQ(form->Mistakes, 1);
  Tick(1);
  EXPECT_EQ(form->Label1.Top(), 0);
  EXPECT_EQ(form->Mistakes, 2);
  EXPECT_EQ(platform.beeps, 2);
  EXPECT_EQ(form->QuestionNo, 1);
}

TEST_F(QuizTest, AnUnansweredQuestionDropsEvery106Ticks) {
  LoadOwnBook(Numbered(20));
  StartRound(1, Identity(), {7, 3, 9}, 2);
  struct Row {
    int ticks, top, mistakes;
  } rows[] = {{105, 6300, 0}, {106, 0, 1}, {211, 6300, 1}, {212, 0, 2}};
  int done = 0;
  for (const Row& row : rows) {
    Tick(row.ticks - done);
    done = row.ticks;
    EXPECT_EQ(form->Label1.Top(), row.top) << row.ticks;
    EXPECT_EQ(form->Mistakes, row.mistakes) << row.ticks;
    EXPECT_EQ(platform.beeps, row.mistakes) << row.ticks;
    EXPECT_EQ(form->Elapsed, row.ticks);
  }
  EXPECT_EQ(form->Label1.Caption(), "word1");
  EXPECT_EQ(form->Command1[2].Caption(), "词1义");
}

TEST_F(QuizTest, NothingFallsOrBeepsOnTheBookOrGroupList) {
  ASSERT_TRUE(form->Timer1.Enabled());
  const int top = form->Label1.Top();
  Tick(300);
  LoadOwnBook(Numbered(20));
  ASSERT_TRUE(form->Timer1.Enabled());
  Tick(300);
  EXPECT_EQ(form->Label1.Top(), top);
  EXPECT_EQ(platform.beeps, 0);
  EXPECT_EQ(form->Mistakes, 0);
}

TEST_F(QuizTest, SwitchingDirectionExchangesTheSidesAndStartsANewRound) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  const std::vector<Record> book = Numbered(20);
  LoadOwnBook(book);
  StartRound(1, Identity());
  Tick(30);
  form->Command1[1].Click();  // a wrong answer, to see the counters reset
  PushRound(Identity());
  form->Command2_3.Click();
  EXPECT_FALSE(form->Command2_3.Enabled());
  EXPECT_TRUE(form->Command2_2.Enabled());
  for (int r = 1; r <= 20; ++r) {
    EXPECT_EQ(form->Book.EnglishEntries[r], book[r - 1].second);
    EXPECT_EQ(form->Book.ChineseMeanings[r], book[r - 1].first);
  }
  EXPECT_EQ(form->Label1.Caption(), "词1义");
  EXPECT_EQ(form->Command1[0].Caption(), "word1");
  EXPECT_EQ((std::array<int, 3>{form->Mistakes, form->Elapsed, form->QuestionNo}),
            (std::array<int, 3>{0, 0, 1}));

  PushShuffle(Identity());
  form->Command2_2.Click();
  EXPECT_FALSE(form->Command2_2.Enabled());
  EXPECT_TRUE(form->Command2_3.Enabled());
  for (int r = 1; r <= 20; ++r) {
    EXPECT_EQ(form->Book.EnglishEntries[r], book[r - 1].first);
    EXPECT_EQ(form->Book.ChineseMeanings[r], book[r - 1].second);
  }
  EXPECT_EQ(form->Label1.Caption(), "word1");
}

TEST_F(QuizTest, ABookLoadedWhileChineseToEnglishIsActiveIsAskedFromItsChineseSide) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook(Numbered(20));
  StartRound(1, Identity());
  PushShuffle(Identity());
  form->Command2_3.Click();
  form->Command6.Click();
  LoadOwnBook({{"apple", "苹果"}, {"pear", "梨"}});
  EXPECT_FALSE(form->Command2_3.Enabled());
  EXPECT_EQ(form->Book.EnglishEntries[1], "苹果");
  EXPECT_EQ(form->Book.ChineseMeanings[2], "pear");
  StartRound(1, Identity(), {2, 2, 2}, 0);
  EXPECT_EQ(form->Label1.Caption(), "苹果");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"apple", "pear", "pear", "pear"}));
}

TEST_F(QuizTest, TheNinthRightAnswerChangesThePictureBeforeTheTenthQuestion) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook(Numbered(20));
  StartRound(1, Identity());
  for (int i = 0; i < 8; ++i) AnswerRight();
  const std::size_t pictures = platform.picture_requests.size();
  random.PushIndex(13, 20);
  PushQuestion({4, 5, 6}, 1);
  AnswerRight();
  ASSERT_EQ(platform.picture_requests.size(), pictures + 1);
  EXPECT_EQ(platform.picture_requests.back(), dir.Str() + "/Pic/13.jpg");
  EXPECT_EQ(form->QuestionNo, 10);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"词4义", "词10义", "词5义", "词6义"}));
  AnswerRight();
  EXPECT_EQ(platform.picture_requests.size(), pictures + 1);
}

TEST_F(QuizTest, TheEndOfARoundReportsWithTheClockStoppedAndStartsTheSameSlotsAgain) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook(Numbered(20));
  StartRound(1, Identity(), {7, 3, 9});
  std::vector<bool> clock_while_open;
  platform.on_message = [&](const std::string&) {
    clock_while_open.push_back(form->Timer1.Enabled());
  };
  Tick(40);
  random.Push({0.9, 0.0});
  form->Command1[1].Click();  // one wrong answer
  PlayRound(764);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "本局共 18 个单词\r\n您共错了 1 次\r\n本局用时 80.4 秒");
  EXPECT_EQ(clock_while_open, std::vector<bool>{false});
  EXPECT_TRUE(form->Timer1.Enabled());
  EXPECT_EQ((std::array<int, 3>{form->Mistakes, form->Elapsed, form->QuestionNo}),
            (std::array<int, 3>{0, 0, 1}));
  EXPECT_EQ(form->BestTime, 10000);
  for (int i = 1; i <= 18; ++i) EXPECT_EQ(form->RoundQuestions[i], "word" + std::to_string(i));
}

TEST_F(QuizTest, OnlyFaultlessStrictlyFasterRoundsSetTheBestTime) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook(Numbered(20));
  struct Row {
    int best_before, elapsed, wrong_clicks, drops, best_after;
    const char* why;
  } rows[] = {
      {10000, 950, 0, 0, 950, "first faultless round"},
      {950, 804, 1, 0, 950, "a wrong click"},
      {950, 800, 0, 1, 950, "a drop"},
      {950, 950, 0, 0, 950, "an equal time"},
      {950, 949, 0, 0, 949, "faster"},
      {10000, 10000, 0, 0, 10000, "1000.0 seconds"},
  };
  for (const Row& row : rows) {
    form->Command5.Click();
    StartRound(1, Identity());
    form->BestTime = row.best_before;
    for (int i = 0; i < 17; ++i) AnswerRight();
    Tick(row.drops * 106);
    for (int i = 0; i < row.wrong_clicks; ++i) form->Command1[(RightButton() + 1) % 4].Click();
    form->Elapsed = row.elapsed;
    AnswerRight();
    EXPECT_EQ(form->BestTime, row.best_after) << row.why;
  }
}

TEST_F(QuizTest, ClosingReportsTheBestTimeWithTheClockStoppedAndEndsTheProgram) {
  random.fallback =
      0.0;  // questions past the scripted ones: distractor 1, answer on button 0, label leftmost
  LoadOwnBook(Numbered(20));
  StartRound(1, Identity());
  PlayRound(950);
  EXPECT_EQ(platform.messages.back(), "本局共 18 个单词\r\n您共错了 0 次\r\n本局用时 95.0 秒");
  EXPECT_EQ(form->BestTime, 950);
  bool clock_while_open = true;
  platform.on_message = [&](const std::string&) { clock_while_open = form->Timer1.Enabled(); };
  EXPECT_TRUE(kit::Ends([&] { form->Window().Close(); }));
  EXPECT_TRUE(platform.ended);
  EXPECT_FALSE(clock_while_open);
  EXPECT_EQ(platform.messages.back(), "本次英汉互译\r\n最好成绩为 95.0 秒\r\nGood-Bye!");
}

TEST_F(QuizTest, ClosingWithoutAFaultlessRoundSaysThereIsNoBestTime) {
  EXPECT_TRUE(kit::Ends([&] { form->Window().Close(); }));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "本次英汉互译\r\n无最好成绩\r\nGood-Bye!");
}

}  // namespace
