// The journal's rows as the program holds them, read from a statement by the names of their
// columns and bound to a statement's named parameters (:due, :stability, ...).
#pragma once

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <optional>
#include <string>

#include "progress/journal.h"

namespace progress {

// A `words` row as stored, with its id.
struct StoredWord {
  std::int64_t id = 0;
  std::string english;
  std::string chinese;
  std::string book;
  Card card;
  std::optional<std::int64_t> put_up;  // when it was last put up for review
};

// A `reviews` row as stored.
struct StoredReview {
  std::int64_t id = 0;
  std::int64_t word_id = 0;
  std::int64_t reviewed_at = 0;
  int grade = 0;
  std::string mode;
};

// The schedule from the columns due, last_review, stability, difficulty, state, reps, lapses
// and learning_steps. Numbers out of range (a file edited by hand) are read as the scheduler
// can take them.
Card ReadCard(const SQLite::Statement& row);
// A row of sql::kWords: the word, its schedule and its misses.
JournalWord ReadWord(const SQLite::Statement& row);
StoredWord ReadStoredWord(const SQLite::Statement& row);
StoredReview ReadStoredReview(const SQLite::Statement& row);

// Binds :due, :last_review, :stability, :difficulty, :state, :reps, :lapses and
// :learning_steps.
void BindCard(SQLite::Statement& statement, const Card& card);
// Binds :id, :english, :chinese, :book, the card and :put_up.
void BindStoredWord(SQLite::Statement& statement, const StoredWord& word);
// Binds :id, :word_id, :reviewed_at, :grade and :mode.
void BindStoredReview(SQLite::Statement& statement, const StoredReview& review);

const char* ModeName(Mode mode);

}  // namespace progress
