// Which words a round plays, without a window: a numbered group, a short last group, group 0
// drawn at random, the journal's words to review, and the book each word is recorded under.
#include "shell/round_source.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/kit.h"

namespace {

using shell::RoundSource;

books::Word Record(int number) {
  return {kit::Numbered("word", number), kit::Numbered("词", number, "义")};
}

// A loaded book of `count` records, "word1" / "词1义" first.
shell::LoadedBook Book(int count) {
  shell::LoadedBook loaded;
  if (count > 0) loaded.label = "《My词库》";
  for (int i = 1; i <= count; ++i) loaded.book.words.push_back(Record(i));
  return loaded;
}

// The journal's words to review: "old1" / "旧1" of book "B1", ...
std::vector<shell::ReviewWord> Due(int count) {
  std::vector<shell::ReviewWord> due;
  for (int i = 1; i <= count; ++i)
    due.push_back({{kit::Numbered("old", i), kit::Numbered("旧", i)}, kit::Numbered("B", i)});
  return due;
}

// Records `from` to `to` of the book.
std::vector<books::Word> Records(int from, int to) {
  std::vector<books::Word> words;
  for (int i = from; i <= to; ++i) words.push_back(Record(i));
  return words;
}

TEST(RoundSource, ChoosesAGroupEighteenAtRandomOrTheWordsToReview) {
  using Choose = std::function<bool(RoundSource&, kit::ScriptedRandom&)>;
  const auto group = [](int g) -> Choose {
    return [g](RoundSource& s, kit::ScriptedRandom& r) { return s.ChooseGroup(g, r); };
  };
  const auto review = [](int due, shell::Review kind = shell::Review::Due) -> Choose {
    return [due, kind](RoundSource& s, kit::ScriptedRandom&) {
      return s.ChooseReview(Due(due), kind);
    };
  };
  const std::vector<int> draws = {90, 0, 45, 45, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0};
  std::vector<books::Word> drawn;
  for (int d : draws) drawn.push_back(Record(d + 1));
  std::vector<books::Word> due;
  for (const shell::ReviewWord& w : Due(3)) due.push_back(w.word);
  struct Row {
    const char* what;
    int book;  // records in the loaded book; each row first chooses group 1 of it, if any
    Choose choose;
    std::vector<int> script;  // the draws, as records from 0 of the book
    bool chosen;
    std::vector<books::Word> words;
    bool reviewing;
    bool ahead = false;
  } rows[] = {
      {"group 1", 36, group(1), {}, true, Records(1, 18), false},
      {"group 2", 36, group(2), {}, true, Records(19, 36), false},
      {"the short last group", 40, group(3), {}, true, Records(37, 40), false},
      {"a last group of one", 91, group(6), {}, true, Records(91, 91), false},
      {"group 0: eighteen draws in turn", 91, group(0), draws, true, drawn, false},
      {"group 0 of two records", 2, group(0), std::vector<int>(18, 0), true,
       std::vector<books::Word>(18, Record(1)), false},
      {"no group chosen", 36, group(-1), {}, false, Records(1, 18), false},
      {"past the last group", 36, group(3), {}, false, Records(1, 18), false},
      {"no book loaded", 0, group(0), {}, false, {}, false},
      {"the words due", 36, review(3), {}, true, due, true},
      {"the words due before any book", 0, review(3), {}, true, due, true},
      {"the words due soonest, none being due",
       36,
       review(3, shell::Review::Ahead),
       {},
       true,
       due,
       true,
       true},
      {"nothing due", 0, review(0), {}, false, {}, false},
      {"nothing due, a group in play", 36, review(0), {}, false, Records(1, 18), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const shell::LoadedBook loaded = Book(row.book);
    RoundSource source(loaded);
    kit::ScriptedRandom random;
    if (row.book > 0) {
      ASSERT_TRUE(source.ChooseGroup(1, random));
    }
    for (int d : row.script) random.PushIndex(d, row.book);
    EXPECT_EQ(row.choose(source, random), row.chosen);
    EXPECT_EQ(random.draws, static_cast<int>(row.script.size())) << "only group 0 draws";
    EXPECT_EQ(source.Words(), row.words);
    EXPECT_EQ(source.Reviewing(), row.reviewing);
    EXPECT_EQ(source.ReviewingAhead(), row.ahead);
    EXPECT_EQ(source.Size(), row.reviewing ? shell::RoundSize::Words : shell::RoundSize::Group);
  }
}

TEST(RoundSource, GroupsAreRunsOfEighteenRecordsFromGroupOne) {
  const std::pair<int, int> rows[] = {{0, 0}, {2, 1}, {18, 1}, {36, 2}, {37, 3}, {17508, 973}};
  for (auto [count, last] : rows) {
    const shell::LoadedBook loaded = Book(count);
    EXPECT_EQ(RoundSource(loaded).LastGroup(), last) << count << " records";
  }
}

TEST(RoundSource, TheSameRoundAgainKeepsTheWordsDueAndDrawsGroupZeroAnew) {
  const shell::LoadedBook loaded = Book(5);
  RoundSource source(loaded);
  kit::ScriptedRandom random;
  for (int k = 0; k < 18; ++k) random.PushIndex(4, 5);
  ASSERT_TRUE(source.ChooseGroup(0, random));
  for (int k = 0; k < 18; ++k) random.PushIndex(1, 5);
  ASSERT_TRUE(source.ChooseAgain(0, random));
  EXPECT_EQ(source.Words(), std::vector<books::Word>(18, Record(2)));
  EXPECT_EQ(random.draws, 36);

  ASSERT_TRUE(source.ChooseReview(Due(2)));
  EXPECT_TRUE(source.ChooseAgain(1, random)) << "the group in the list is not asked";
  EXPECT_TRUE(source.Reviewing());
  EXPECT_EQ(source.Words().size(), 2u);
  EXPECT_EQ(random.draws, 36);

  source.Drop();
  EXPECT_TRUE(source.Words().empty());
  EXPECT_FALSE(source.ChooseAgain(-1, random)) << "dropped, and no group in the list";
  EXPECT_TRUE(source.ChooseAgain(1, random));
  EXPECT_EQ(source.Words(), Records(1, 5));
}

TEST(RoundSource, EachWordIsRecordedUnderTheBookItCameFrom) {
  const shell::LoadedBook loaded = Book(36);
  RoundSource source(loaded);
  kit::ScriptedRandom random;
  ASSERT_TRUE(source.ChooseReview(Due(3)));
  EXPECT_EQ(source.BookOf(Due(3)[0].word), "B1");
  EXPECT_EQ(source.BookOf(Due(3)[2].word), "B3");
  EXPECT_EQ(source.BookOf(Record(1)), "《My词库》") << "not a word due: the loaded book";
  ASSERT_TRUE(source.ChooseGroup(1, random));
  EXPECT_EQ(source.BookOf(Due(3)[0].word), "《My词库》") << "a group is all of the loaded book";
  EXPECT_EQ(source.BookOf(Record(1)), "《My词库》");
}

}  // namespace
