#include "progress/rows.h"

#include <algorithm>
#include <cstring>

namespace progress {
namespace {

bool HasColumn(const SQLite::Statement& row, const char* name) {
  for (int i = 0; i < row.getColumnCount(); ++i)
    if (std::strcmp(row.getColumnName(i), name) == 0) return true;
  return false;
}

}  // namespace

Card ReadCard(const SQLite::Statement& row) {
  Card card;
  card.due = row.getColumn("due").getInt64();
  if (!row.isColumnNull("last_review")) card.last_review = row.getColumn("last_review").getInt64();
  card.stability = row.getColumn("stability").getDouble();
  card.difficulty = row.getColumn("difficulty").getDouble();
  const int state = row.getColumn("state").getInt();
  card.state = state >= 0 && state <= 3 ? static_cast<CardState>(state) : CardState::New;
  card.reps = row.getColumn("reps").getInt();
  card.lapses = row.getColumn("lapses").getInt();
  card.learning_steps = std::max(0, row.getColumn("learning_steps").getInt());
  return card;
}

JournalWord ReadWord(const SQLite::Statement& row) {
  JournalWord word;
  word.english = row.getColumn("english").getString();
  word.chinese = row.getColumn("chinese").getString();
  word.book = row.getColumn("book").getString();
  word.card = ReadCard(row);
  word.misses = row.getColumn("misses").getInt();
  word.waiting = row.getColumn("waiting").getInt() != 0;
  return word;
}

StoredWord ReadStoredWord(const SQLite::Statement& row) {
  StoredWord word{row.getColumn("id").getInt64(),
                  row.getColumn("english").getString(),
                  row.getColumn("chinese").getString(),
                  row.getColumn("book").getString(),
                  ReadCard(row),
                  std::nullopt};
  // A journal of version 1 has no put_up.
  if (HasColumn(row, "put_up") && !row.isColumnNull("put_up"))
    word.put_up = row.getColumn("put_up").getInt64();
  return word;
}

StoredReview ReadStoredReview(const SQLite::Statement& row) {
  return {row.getColumn("id").getInt64(), row.getColumn("word_id").getInt64(),
          row.getColumn("reviewed_at").getInt64(), row.getColumn("grade").getInt(),
          row.getColumn("mode").getString()};
}

void BindCard(SQLite::Statement& statement, const Card& card) {
  statement.bind(":due", card.due);
  if (card.last_review)
    statement.bind(":last_review", *card.last_review);
  else
    statement.bind(":last_review");
  statement.bind(":stability", card.stability);
  statement.bind(":difficulty", card.difficulty);
  statement.bind(":state", static_cast<int>(card.state));
  statement.bind(":reps", card.reps);
  statement.bind(":lapses", card.lapses);
  statement.bind(":learning_steps", card.learning_steps);
}

void BindStoredWord(SQLite::Statement& statement, const StoredWord& word) {
  statement.bind(":id", word.id);
  statement.bind(":english", word.english);
  statement.bind(":chinese", word.chinese);
  statement.bind(":book", word.book);
  BindCard(statement, word.card);
  if (word.put_up)
    statement.bind(":put_up", *word.put_up);
  else
    statement.bind(":put_up");
}

void BindStoredReview(SQLite::Statement& statement, const StoredReview& review) {
  statement.bind(":id", review.id);
  statement.bind(":word_id", review.word_id);
  statement.bind(":reviewed_at", review.reviewed_at);
  statement.bind(":grade", review.grade);
  statement.bind(":mode", review.mode);
}

const char* ModeName(Mode mode) {
  switch (mode) {
    case Mode::Match:
      return "match";
    case Mode::Quiz:
      return "quiz";
    case Mode::Dictionary:
      return "dictionary";
    case Mode::ScreenSaver:  // gives no answers
      break;
  }
  return "match";
}

}  // namespace progress
