// The match game's rules alone, with no window: dealing, judging pairs, the marker, the bar.
#include "match/round.h"

#include <gtest/gtest.h>

#include <set>

#include "match_fixture.h"

namespace match_test {
namespace {

std::vector<books::Word> JudgingWords() {
  return {
      {"apple", "苹果"}, {"apple", "苹果"},  // a record drawn twice by group 0
      {"bank", "银行"},  {"bank", "河岸"},   // one English entry, two meanings
      {"Cat", "猫"},     {"cat ", "小猫"},   // texts that differ only in case or a trailing space
  };  // the pairs past these are the empty pairs of a short group
}

class RoundTest : public ::testing::Test {
 protected:
  // A round of `words` dealt with cell b showing text `order[b]`.
  void Deal(const std::vector<books::Word>& words, const std::vector<int>& order = Identity()) {
    round_.SetWords(words);
    random_.PushOrder(order);
    round_.Deal(random_);
  }

  DealRandom random_;
  match::Round round_;
};

TEST_F(RoundTest, PairsAreJudgedByTextAgainstEveryPairInEitherOrder) {
  using Press = match::Round::Press;
  struct Case {
    int first, second;
    bool right;
  } cases[] = {
      {0, 1, true},   {1, 0, true},   {0, 3, true},   {3, 2, true},   {0, 2, false},
      {1, 3, false},  {4, 7, true},   {6, 5, true},   {8, 11, false}, {10, 9, false},
      {12, 13, true}, {12, 35, true}, {0, 12, false}, {13, 9, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
    Deal(JudgingWords());
    EXPECT_EQ(round_.PressCell(c.first), Press::Picked);
    EXPECT_EQ(round_.PressCell(c.second), c.right ? Press::Paired : Press::Wrong);
    EXPECT_EQ(round_.MatchedPairs(), c.right ? 1 : 0);
    EXPECT_EQ(round_.Mistakes(), c.right ? 0 : 1);
    EXPECT_EQ(round_.OnBoard(c.first), !c.right);
    EXPECT_EQ(round_.OnBoard(c.second), !c.right);
    // A wrong pair leaves the marker shown, but beneath the second cell.
    EXPECT_EQ(round_.MarkerShown(), !c.right);
    EXPECT_EQ(round_.MarkerCell(), c.right ? c.first : c.second);
    // Nothing is picked any more: the next press picks.
    EXPECT_EQ(round_.PressCell(20), Press::Picked);
  }
}

TEST_F(RoundTest, APickedOrClearedCellTakesNoPressAndTheEighteenthPairWins) {
  using Press = match::Round::Press;
  std::vector<books::Word> words;
  for (int r = 1; r <= kPairs; ++r) words.push_back({English(r), Chinese(r)});
  Deal(words);
  EXPECT_EQ(round_.PressCell(14), Press::Picked);
  EXPECT_EQ(round_.PressCell(14), Press::Ignored) << "the picked cell is the marker";
  EXPECT_EQ(round_.PressCell(-1), Press::Ignored);
  EXPECT_EQ(round_.PressCell(kCells), Press::Ignored);
  EXPECT_EQ(round_.PressCell(15), Press::Paired);
  EXPECT_EQ(round_.PressCell(15), Press::Ignored) << "a cleared cell";
  for (int k = 0; k < kPairs; ++k) {
    if (k == 7) continue;
    round_.PressCell(2 * k);
    EXPECT_EQ(round_.PressCell(2 * k + 1), k == kPairs - 1 ? Press::Won : Press::Paired);
  }
  EXPECT_EQ(round_.MatchedPairs(), kPairs);
}

TEST_F(RoundTest, ADealDrawsEveryTextAgainThatAnEarlierCellAlreadyHas) {
  round_.SetWords({{"a", "甲"}});
  // Cell 0 takes 5; cell 1 draws 5 twice before 3; cell 2 draws 3 and 5 before 0.
  for (int text : {5, 5, 5, 3, 3, 5, 0}) random_.PushIndex(text, kCells);
  std::vector<int> rest;
  for (int t = kCells - 1; t >= 0; --t)
    if (t != 5 && t != 3 && t != 0) rest.push_back(t);
  random_.PushOrder(rest);
  round_.Deal(random_);
  EXPECT_EQ(random_.draws, kCells + 4);
  EXPECT_EQ(round_.TextOf(0), 5);
  EXPECT_EQ(round_.TextOf(1), 3);
  EXPECT_EQ(round_.TextOf(2), 0);
  EXPECT_EQ(round_.TextOf(3), 35);
  std::set<int> all;
  for (int b = 0; b < kCells; ++b) all.insert(round_.TextOf(b));
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kCells));
  EXPECT_EQ(round_.Caption(0), "") << "text 5: pair 2's meaning, past the one word";
  EXPECT_EQ(round_.Caption(2), "a");
}

TEST_F(RoundTest, TheBarFallsOnlyWhileItRunsRisesWithEveryPairAndTheTimeIsUpBelowFifteen) {
  Deal({{"a", "甲"}, {"b", "乙"}});
  for (int t = 0; t < 10; ++t) EXPECT_FALSE(round_.Tick(true, 6));
  EXPECT_FALSE(round_.Tick(false, 6));
  EXPECT_EQ(round_.Elapsed(), 11);
  EXPECT_EQ(round_.BarTop(), 400 + 60);
  EXPECT_EQ(round_.BarHeight(), 7500 - 60);
  round_.PressCell(0);
  round_.PressCell(1);
  EXPECT_EQ(round_.BarTop(), 400 + 60 - 200);
  EXPECT_EQ(round_.BarTop() + round_.BarHeight(), 7900) << "the lower edge never moves";
  // 7640 high: 508 more ticks of 15 leave 20, the next 5; a height of exactly 15 is not up.
  for (int t = 0; t < 508; ++t) ASSERT_FALSE(round_.Tick(true, 15));
  EXPECT_FALSE(round_.Tick(true, 5));
  EXPECT_EQ(round_.BarHeight(), 15);
  EXPECT_TRUE(round_.Tick(true, 1));

  // A new deal starts everything afresh but the marker, which stays where it was.
  round_.PressCell(2);
  random_.PushOrder(Reversed());
  round_.Deal(random_);
  EXPECT_EQ(round_.Elapsed(), 0);
  EXPECT_EQ(round_.MatchedPairs(), 0);
  EXPECT_EQ(round_.Mistakes(), 0);
  EXPECT_EQ(round_.BarTop(), 400);
  EXPECT_EQ(round_.BarHeight(), 7500);
  EXPECT_TRUE(round_.MarkerShown());
  EXPECT_EQ(round_.MarkerCell(), 2);
  for (int b = 0; b < kCells; ++b) EXPECT_TRUE(round_.OnBoard(b));
  EXPECT_EQ(round_.PressCell(0), match::Round::Press::Picked) << "no pick left open";
  round_.SetWords({{"c", "丙"}});
  EXPECT_FALSE(round_.MarkerShown()) << "a new board drops the marker";
}

TEST_F(RoundTest, ARoundOfTheWordsAloneDealsTheirCellsFirstAndEndsWithItsLastPair) {
  using Press = match::Round::Press;
  for (int words : {1, 5, 18}) {
    SCOPED_TRACE(std::to_string(words) + " words");
    std::vector<books::Word> review;
    for (int r = 1; r <= words; ++r) review.push_back({English(r), Chinese(r)});
    round_.SetWords(review, shell::RoundSize::Words);
    // Each of the round's cells draws from its 2N texts alone, the reversed order here.
    for (int b = 0; b < 2 * words; ++b) random_.PushIndex(2 * words - 1 - b, 2 * words);
    round_.Deal(random_);
    EXPECT_EQ(random_.Remaining(), 0u);
    EXPECT_EQ(round_.Words(), words);
    for (int b = 0; b < kCells; ++b) {
      EXPECT_EQ(round_.OnBoard(b), b < 2 * words) << b;
      if (b >= 2 * words) {
        EXPECT_EQ(round_.Caption(b), "") << b;
      }
    }
    EXPECT_EQ(round_.PressCell(2 * words), Press::Ignored) << "past the round's cells";
    for (int k = 0; k < words; ++k) {
      // Text 2k (English) stands on cell 2N - 1 - 2k, its meaning on the cell before.
      round_.PressCell(2 * words - 1 - 2 * k);
      EXPECT_EQ(round_.PressCell(2 * words - 2 - 2 * k),
                k == words - 1 ? Press::Won : Press::Paired);
    }
    EXPECT_EQ(round_.Tally().TakeOutcomes().size(), static_cast<std::size_t>(words));
  }
  // A group keeps its eighteen pairs, the empty ones too, as it always did.
  round_.SetWords({{"a", "甲"}});
  EXPECT_EQ(round_.Words(), kPairs);
}

TEST_F(RoundTest, TheTimeRunningOutGradesTheBoardOnlyWithinThirtySecondsOfAPress) {
  struct Row {
    const char* what;
    int pressed;  // ticks before the last one that the cell was pressed; -1 for never
    bool graded;
  } rows[] = {
      {"pressed on the last tick", 1, true},
      {"pressed 30 s before the time ran out", 300, true},
      {"pressed 30.1 s before", 301, false},
      {"never pressed", -1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Deal({{"a", "甲"}, {"b", "乙"}});
    const int ticks = std::max(row.pressed, 1);
    for (int t = 0; t < ticks; ++t) {
      if (t == ticks - row.pressed) round_.PressCell(0);
      // The bar stands until the last tick, which empties it.
      EXPECT_EQ(round_.Tick(true, t == ticks - 1 ? 7500 : 0), t == ticks - 1);
    }
    std::vector<shell::Tally::Outcome> told = round_.Tally().TakeOutcomes();
    EXPECT_EQ(told.size(), row.graded ? 2u : 0u);
    for (const shell::Tally::Outcome& outcome : told) EXPECT_FALSE(outcome.good);
  }
  // Ticks away from play (the bar standing) do not count as play.
  Deal({{"a", "甲"}});
  round_.PressCell(0);
  for (int t = 0; t < 1000; ++t) round_.Tick(false, 0);
  EXPECT_TRUE(round_.Tick(true, 7500));
  EXPECT_EQ(round_.Tally().TakeOutcomes().size(), 1u);
  // A new deal is a new round: the press of the last one no longer counts.
  Deal({{"a", "甲"}});
  round_.PressCell(0);
  random_.PushOrder(Identity());
  round_.Deal(random_);
  EXPECT_TRUE(round_.Tick(true, 7500));
  EXPECT_TRUE(round_.Tally().TakeOutcomes().empty());
}

}  // namespace
}  // namespace match_test
