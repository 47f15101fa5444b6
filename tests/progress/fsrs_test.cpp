// Our FSRS-6 scheduler against the reference: every review of tests/progress/fsrs_vectors.txt
// (written once with ts-fsrs by tools/fsrs/make_vectors.mjs) replayed, each card from new; and
// the journal, which keeps each card's row as the reference gives it, and takes answers back
// to the row before them.
#include "progress/fsrs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kit/files.h"
#include "progress/journal.h"

namespace {

using progress::Card;
using progress::CardState;
using progress::Grade;

// One line of the vectors: a card's review and the card ts-fsrs gave after it.
struct Vector {
  int card = 0;
  std::int64_t now = 0;
  int grade = 0;
  Card after;
};

std::vector<Vector> ReadVectors() {
  std::ifstream file(VANTLE_FSRS_VECTORS);
  EXPECT_TRUE(file) << VANTLE_FSRS_VECTORS;
  std::vector<Vector> vectors;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Vector v;
    int state = 0;
    EXPECT_TRUE(fields >> v.card >> v.now >> v.grade >> v.after.due >> v.after.stability >>
                v.after.difficulty >> state >> v.after.reps >> v.after.lapses >>
                v.after.learning_steps)
        << line;
    v.after.state = CardState(state);
    v.after.last_review = v.now;
    vectors.push_back(v);
  }
  return vectors;
}

void ExpectClose(double actual, double expected, const char* what, const std::string& where) {
  EXPECT_LE(std::fabs(actual - expected), 1e-6 * std::fabs(expected)) << what << " at " << where;
}

void ExpectCard(const Card& card, const Card& expected, const std::string& where) {
  EXPECT_EQ(card.due, expected.due) << where;
  ExpectClose(card.stability, expected.stability, "stability", where);
  ExpectClose(card.difficulty, expected.difficulty, "difficulty", where);
  EXPECT_EQ(card.state, expected.state) << where;
  EXPECT_EQ(card.reps, expected.reps) << where;
  EXPECT_EQ(card.lapses, expected.lapses) << where;
  EXPECT_EQ(card.learning_steps, expected.learning_steps) << where;
  EXPECT_EQ(card.last_review, expected.last_review) << where;
}

TEST(Fsrs, ReplaysTheReferenceVectorsOfTsFsrs) {
  std::map<int, Card> cards;
  std::map<int, int> grades;
  int replayed = 0;
  for (const Vector& v : ReadVectors()) {
    auto [entry, first] = cards.try_emplace(v.card, progress::NewCard(v.now));
    Card& card = entry->second = progress::Schedule(entry->second, Grade(v.grade), v.now);
    ++grades[v.grade];
    ExpectCard(card, v.after,
               "card " + std::to_string(v.card) + ", review " + std::to_string(v.after.reps));
    ++replayed;
  }
  // The file covers many cards and every grade.
  EXPECT_GE(replayed, 300);
  EXPECT_GE(cards.size(), 40u);
  for (int grade = 1; grade <= 4; ++grade) EXPECT_GT(grades[grade], 0) << grade;
  EXPECT_GE(grades[4], 40) << "Easy, as the program gives it";
}

TEST(Fsrs, TheJournalKeepsTheReferencesRowsAndTakesAnAnswerBackToTheRowBefore) {
  const kit::TempDir dir;
  progress::Journal journal(dir.Path() / "progress.sqlite3");
  const std::vector<Vector> vectors = ReadVectors();
  std::map<int, std::vector<const Vector*>> reviews;     // each card's, in order
  std::map<int, std::vector<progress::ReviewId>> given;  // their rows
  for (const Vector& v : vectors) {
    const progress::JournalResult<progress::ReviewId> id = journal.Record(
        "card" + std::to_string(v.card), "义", "", Grade(v.grade), progress::Mode::Quiz, v.now);
    ASSERT_TRUE(id) << journal.Status().text;
    reviews[v.card].push_back(&v);
    given[v.card].push_back(*id);
  }
  // Each word's row: the card after its last review; then, with that review taken back, the
  // card after the one before (a card of one review is gone with it).
  auto rows = [&journal] {
    std::map<std::string, Card> cards;
    for (const progress::JournalWord& w : journal.List(progress::Listing::All, 0))
      cards[w.english] = w.card;
    return cards;
  };
  std::map<std::string, Card> kept = rows();
  std::vector<progress::ReviewId> last;
  for (const auto& [card, list] : reviews) {
    const std::string word = "card" + std::to_string(card);
    ASSERT_EQ(kept.count(word), 1u) << word;
    ExpectCard(kept[word], list.back()->after, word);
    last.push_back(given[card].back());
  }
  ASSERT_TRUE(journal.TakeBack(last));
  kept = rows();
  for (const auto& [card, list] : reviews) {
    const std::string word = "card" + std::to_string(card);
    if (list.size() == 1) {
      EXPECT_EQ(kept.count(word), 0u) << word;
      continue;
    }
    ASSERT_EQ(kept.count(word), 1u) << word;
    ExpectCard(kept[word], list[list.size() - 2]->after, word + " taken back");
  }
}

}  // namespace
