// Our FSRS-6 scheduler against the reference: every review of tests/progress/fsrs_vectors.txt
// (written once with ts-fsrs by tools/fsrs/make_vectors.mjs) replayed, each card from new.
#include "progress/fsrs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

using progress::Card;
using progress::CardState;
using progress::Grade;

void ExpectClose(double actual, double expected, const char* what, const std::string& where) {
  EXPECT_LE(std::fabs(actual - expected), 1e-6 * std::fabs(expected)) << what << " at " << where;
}

TEST(Fsrs, ReplaysTheReferenceVectorsOfTsFsrs) {
  std::ifstream file(VANTLE_FSRS_VECTORS);
  ASSERT_TRUE(file) << VANTLE_FSRS_VECTORS;
  std::map<int, Card> cards;
  std::map<int, int> grades;
  int replayed = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    int id = 0, grade = 0, state = 0, reps = 0, lapses = 0, steps = 0;
    std::int64_t now = 0, due = 0;
    double stability = 0, difficulty = 0;
    ASSERT_TRUE(fields >> id >> now >> grade >> due >> stability >> difficulty >> state >> reps >>
                lapses >> steps)
        << line;
    auto [entry, first] = cards.try_emplace(id, progress::NewCard(now));
    Card& card = entry->second = progress::Schedule(entry->second, Grade(grade), now);
    ++grades[grade];
    const std::string where = "card " + std::to_string(id) + ", review " + std::to_string(reps);
    EXPECT_EQ(card.due, due) << where;
    ExpectClose(card.stability, stability, "stability", where);
    ExpectClose(card.difficulty, difficulty, "difficulty", where);
    EXPECT_EQ(card.state, CardState(state)) << where;
    EXPECT_EQ(card.reps, reps) << where;
    EXPECT_EQ(card.lapses, lapses) << where;
    EXPECT_EQ(card.learning_steps, steps) << where;
    EXPECT_EQ(card.last_review, now) << where;
    ++replayed;
  }
  // The file covers many cards and every grade.
  EXPECT_GE(replayed, 300);
  EXPECT_GE(cards.size(), 40u);
  for (int grade = 1; grade <= 4; ++grade) EXPECT_GT(grades[grade], 0) << grade;
}

}  // namespace
