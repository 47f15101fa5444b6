// The quiz's rules alone, with no window: the slots, their order, the distractors, judging.
#include "quiz/round.h"

#include <gtest/gtest.h>

#include <set>

#include "kit/kit.h"

namespace {

using quiz::Direction;
using Words = std::vector<books::Word>;

// The round's words (record 1 first) asked in either direction: the answer judged, and the
// outcome told for the word itself, English first.
TEST(QuizRound, AnswersAreJudgedByTheirTextNotByTheirButton) {
  const Words pool = {{"bank", "银行"},
                      {"bank", "河岸"},
                      {"lift", "电梯"},
                      {"elevator", "电梯"},
                      {"apple", "苹果"}};
  constexpr Direction kEnglish = Direction::EnglishToChinese;
  constexpr Direction kChinese = Direction::ChineseToEnglish;
  struct Row {
    Direction direction;
    int asked;
    std::array<int, 3> distractors;
    const char* answer;
    bool right;
    const char* why;
  } rows[] = {
      {kEnglish, 1, {2, 5, 1}, "银行", true, "the right answer"},
      {kEnglish,
       1,
       {2, 5, 1},
       "河岸",
       true,
       "another record with the same question, drawn as a distractor"},
      {kEnglish, 1, {5, 5, 5}, "河岸", false, "the same question's other meaning, not drawn"},
      {kEnglish, 1, {2, 5, 1}, "苹果", false, "another question's answer"},
      {kEnglish, 3, {4, 5, 5}, "电梯", true, "the answer text, whichever record shows it"},
      {kEnglish, 4, {3, 3, 3}, "电梯", true, "the same answer text under another question"},
      {kEnglish, 3, {1, 2, 5}, "银行", false, "a meaning of another question"},
      {kChinese, 3, {4, 5, 5}, "lift", true, "Chinese asked: the English side answers"},
      {kChinese, 3, {4, 5, 5}, "elevator", true, "another record asking the same Chinese"},
      {kChinese, 3, {5, 5, 5}, "elevator", false, "the same Chinese's other entry, not drawn"},
      {kChinese, 3, {4, 5, 5}, "电梯", false, "the question's own side is no answer"},
  };
  for (const Row& row : rows) {
    kit::ScriptedRandom random;
    quiz::Round round;
    const books::Word& asked = pool[static_cast<std::size_t>(row.asked - 1)];
    round.SetSlots(Words{asked}, pool, row.direction);
    for (int p = 1; p <= 18; ++p) random.PushIndex(p - 1, 18);
    round.Shuffle(random);
    for (int d : row.distractors) random.PushIndex(d - 1, static_cast<int>(pool.size()));
    round.DrawDistractors(random);
    EXPECT_EQ(round.Question(), quiz::AskedAs(asked, row.direction).question) << row.why;
    EXPECT_EQ(round.IsRight(row.answer), row.right) << row.why;
    if (!row.right) round.CountMistake();
    round.Advance();
    const std::vector<shell::Tally::Outcome> told = round.Tally().TakeOutcomes();
    ASSERT_EQ(told.size(), 1u) << row.why;
    EXPECT_EQ(told[0].word, asked) << row.why;
    EXPECT_EQ(told[0].good, row.right) << row.why;
  }
}

TEST(QuizRound, TheRightAnswerTakesItsButtonAndTheDistractorsFillTheRestInOrder) {
  const Words pool = {{"a", "甲"}, {"b", "乙"}, {"c", "丙"}, {"d", "丁"}};
  kit::ScriptedRandom random;
  quiz::Round round;
  round.SetSlots(Words{{"a", "甲"}}, pool, Direction::EnglishToChinese);
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
  const Words pool = {{"a", "甲"}};
  kit::ScriptedRandom random;
  quiz::Round round;
  round.SetSlots(pool, pool, Direction::EnglishToChinese);
  for (int p = 1; p <= 18; ++p) random.PushIndex(p - 1, 18);
  round.Shuffle(random);
  round.Advance();
  round.CountMistake();
  round.Tick(true);
  EXPECT_EQ((std::array<int, 3>{round.QuestionNo(), round.Mistakes(), round.Elapsed()}),
            (std::array<int, 3>{2, 1, 1}));
  for (int p = 1; p <= 18; ++p) random.PushIndex(p - 1, 18);
  round.Shuffle(random);
  EXPECT_EQ((std::array<int, 3>{round.QuestionNo(), round.Mistakes(), round.Elapsed()}),
            (std::array<int, 3>{1, 0, 0}));
}

TEST(QuizRound, AReviewAsksItsWordsAloneAmongDifferentWrongAnswers) {
  // Two meanings twice over, and the asked word itself in the pool: a group's draw could show
  // them side by side, a review's never.
  const Words pool = {{"a", "甲"}, {"a2", "甲"}, {"b", "乙"}, {"a", "甲"},
                      {"c", "丙"}, {"c2", "丙"}, {"d", "丁"}, {"e", "戊"}};
  for (int words : {1, 5}) {
    SCOPED_TRACE(std::to_string(words) + " words");
    const Words asked(pool.begin(), pool.begin() + words);
    kit::ScriptedRandom random;
    quiz::Round round;
    round.SetSlots(asked, pool, Direction::EnglishToChinese, shell::RoundSize::Words);
    EXPECT_EQ(round.Words(), words);
    for (int p = 0; p < words; ++p) random.PushIndex(p, words);  // each slot in its place
    round.Shuffle(random);
    EXPECT_EQ(random.Remaining(), 0u);
    for (int q = 1; q <= words; ++q) {
      EXPECT_EQ(round.QuestionNo(), q);
      random.fallback = 0.0;  // always the first text left
      round.DrawDistractors(random);
      random.PushIndex(0, 4);
      round.DrawRightButton(random);
      std::set<std::string> shown;
      for (int b = 0; b < 4; ++b) shown.insert(round.Answer(b));
      EXPECT_EQ(shown.size(), 4u) << "four different texts, the right one once";
      EXPECT_EQ(round.Answer(0), asked[static_cast<std::size_t>(q - 1)].chinese);
      EXPECT_EQ(round.Advance(), q < words);
    }
  }
}

TEST(QuizRound, AReviewNeedsThreeWrongAnswersForEachOfItsWords) {
  const Words pool = {{"a", "甲"}, {"a2", "甲"}, {"b", "乙"}, {"c", "丙"}};
  struct Row {
    Words words;
    Direction direction;
    bool enough;
    const char* why;
  } rows[] = {
      {{{"x", "戊"}}, Direction::EnglishToChinese, true, "three meanings, none the word's own"},
      {{{"a", "甲"}}, Direction::EnglishToChinese, false, "besides its own 甲, two meanings"},
      {{{"a", "甲"}}, Direction::ChineseToEnglish, true, "four English entries, three not a"},
      {{{"x", "戊"}, {"b", "乙"}}, Direction::EnglishToChinese, false, "b has two others only"},
      {{}, Direction::EnglishToChinese, true, "no words"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(quiz::Round::EnoughDistractors(row.words, pool, row.direction), row.enough)
        << row.why;
  EXPECT_FALSE(
      quiz::Round::EnoughDistractors(Words{{"x", "戊"}}, Words{}, Direction::EnglishToChinese));
}

}  // namespace
