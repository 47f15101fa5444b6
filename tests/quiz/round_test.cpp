// The quiz's rules alone, with no window: the slots, their order, the distractors, judging.
#include "quiz/round.h"

#include <gtest/gtest.h>

#include "kit/kit.h"

namespace {

books::WordBook Pool(const std::vector<books::Word>& words) {
  books::WordBook book;
  book.english_entries.push_back("");
  book.chinese_meanings.push_back("");
  for (const books::Word& w : words) {
    book.english_entries.push_back(w.english);
    book.chinese_meanings.push_back(w.chinese);
  }
  book.word_count = static_cast<int>(words.size());
  return book;
}

TEST(QuizRound, AnswersAreJudgedByTheirTextNotByTheirButton) {
  const books::WordBook pool = Pool({{"bank", "银行"},
                                     {"bank", "河岸"},
                                     {"lift", "电梯"},
                                     {"elevator", "电梯"},
                                     {"apple", "苹果"}});
  struct Row {
    int asked;
    std::array<int, 3> distractors;
    const char* answer;
    bool right;
    const char* why;
  } rows[] = {
      {1, {2, 5, 1}, "银行", true, "the right answer"},
      {1, {2, 5, 1}, "河岸", true, "another record with the same question, drawn as a distractor"},
      {1, {5, 5, 5}, "河岸", false, "the same question's other meaning, not drawn"},
      {1, {2, 5, 1}, "苹果", false, "another question's answer"},
      {3, {4, 5, 5}, "电梯", true, "the answer text, whichever record shows it"},
      {4, {3, 3, 3}, "电梯", true, "the same answer text under another question"},
      {3, {1, 2, 5}, "银行", false, "a meaning of another question"},
  };
  for (const Row& row : rows) {
    kit::ScriptedRandom random;
    quiz::Round round;
    const auto asked = static_cast<std::size_t>(row.asked);
    round.SetSlots({{pool.english_entries[asked], pool.chinese_meanings[asked]}}, pool);
    for (int p = 1; p <= 18; ++p) random.PushIndex(p - 1, 18);
    round.Shuffle(random);
    for (int d : row.distractors) random.PushIndex(d - 1, pool.word_count);
    round.DrawDistractors(random);
    EXPECT_EQ(round.IsRight(row.answer), row.right) << row.why;
  }
}

TEST(QuizRound, TheRightAnswerTakesItsButtonAndTheDistractorsFillTheRestInOrder) {
  const books::WordBook pool = Pool({{"a", "甲"}, {"b", "乙"}, {"c", "丙"}, {"d", "丁"}});
  kit::ScriptedRandom random;
  quiz::Round round;
  round.SetSlots({{"a", "甲"}}, pool);
  std::vector<int> order = {18, 18};  // p(1) = 18, then 18 again (rejected), then 17 down to 1
  for (int p = 17; p >= 1; --p) order.push_back(p);
  for (int p : order) random.PushIndex(p - 1, 18);
  round.Shuffle(random);
  EXPECT_EQ(random.draws, 19);
  EXPECT_EQ(round.QuestionNo(), 1);
  EXPECT_EQ(round.Question(), "") << "slot 18 first: past the one word";
  for (int i = 1; i < 18; ++i) ASSERT_TRUE(round.Advance());
  EXPECT_EQ(round.Question(), "a") << "the filled slot 1 comes last";
  EXPECT_FALSE(round.Advance()) << "the eighteenth was the last";

  for (int d : {4, 2, 3}) random.PushIndex(d - 1, 4);
  round.DrawDistractors(random);
  const std::vector<std::string> want[] = {{"甲", "丁", "乙", "丙"},
                                           {"丁", "甲", "乙", "丙"},
                                           {"丁", "乙", "甲", "丙"},
                                           {"丁", "乙", "丙", "甲"}};
  for (int q = 0; q < 4; ++q) {
    random.PushIndex(q, 4);
    round.DrawRightButton(random);
    std::vector<std::string> answers;
    for (int b = 0; b < 4; ++b) answers.push_back(round.Answer(b));
    EXPECT_EQ(answers, want[q]) << "q = " << q;
  }
}

TEST(QuizRound, AShuffleStartsTheRoundAgainWithItsCountersAtZero) {
  const books::WordBook pool = Pool({{"a", "甲"}});
  kit::ScriptedRandom random;
  quiz::Round round;
  round.SetSlots({{"a", "甲"}}, pool);
  for (int p = 1; p <= 18; ++p) random.PushIndex(p - 1, 18);
  round.Shuffle(random);
  round.Advance();
  round.CountMistake();
  round.Tick();
  EXPECT_EQ((std::array<int, 3>{round.QuestionNo(), round.Mistakes(), round.Elapsed()}),
            (std::array<int, 3>{2, 1, 1}));
  for (int p = 1; p <= 18; ++p) random.PushIndex(p - 1, 18);
  round.Shuffle(random);
  EXPECT_EQ((std::array<int, 3>{round.QuestionNo(), round.Mistakes(), round.Elapsed()}),
            (std::array<int, 3>{1, 0, 0}));
}

}  // namespace
