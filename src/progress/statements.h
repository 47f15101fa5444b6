// Every statement the journal runs on its file, by name, in one place. Rows are read by their
// column names (rows.h), so each statement names its columns; the schema itself is in the
// README, "Your progress".
#pragma once

#include <iterator>
#include <string>

namespace progress::sql {

// The schema, step by step: step i brings a journal of version i to version i + 1 (version 0
// is an empty file). The steps a journal needs run in one transaction with the new
// user_version, so a journal is at one version or at the next, never between.
inline constexpr const char* kSchemaSteps[] = {
    R"(CREATE TABLE words (
  id INTEGER PRIMARY KEY,
  english TEXT NOT NULL,
  chinese TEXT NOT NULL,
  book TEXT NOT NULL DEFAULT '',
  due INTEGER NOT NULL,
  last_review INTEGER,
  stability REAL NOT NULL DEFAULT 0,
  difficulty REAL NOT NULL DEFAULT 0,
  state INTEGER NOT NULL DEFAULT 0,
  reps INTEGER NOT NULL DEFAULT 0,
  lapses INTEGER NOT NULL DEFAULT 0,
  learning_steps INTEGER NOT NULL DEFAULT 0,
  UNIQUE (english, chinese));
CREATE INDEX words_by_due ON words (due);
CREATE TABLE reviews (
  id INTEGER PRIMARY KEY,
  word_id INTEGER NOT NULL REFERENCES words (id),
  reviewed_at INTEGER NOT NULL,
  grade INTEGER NOT NULL CHECK (grade BETWEEN 1 AND 4),
  mode TEXT NOT NULL CHECK (mode IN ('match', 'quiz', 'dictionary')));
CREATE INDEX reviews_by_word ON reviews (word_id, grade);
CREATE INDEX reviews_by_time ON reviews (reviewed_at, grade);)",
};
inline constexpr int kSchemaStepCount = static_cast<int>(std::size(kSchemaSteps));

inline constexpr char kUserVersion[] = "PRAGMA user_version";
inline constexpr char kJournalMode[] = "PRAGMA journal_mode";
inline constexpr char kToWal[] = "PRAGMA journal_mode = WAL";
// In WAL mode the journal's log syncer writes each commit to the disk (log_syncer.h); in any
// other mode SQLite syncs each commit itself.
inline constexpr char kSyncedByUs[] = "PRAGMA synchronous = NORMAL";
inline constexpr char kSyncedBySqlite[] = "PRAGMA synchronous = FULL";
// A log emptied by a checkpoint keeps no more than a megabyte of the disk.
inline constexpr char kLogSizeLimit[] = "PRAGMA journal_size_limit = 1048576";
// A new journal made from what a damaged one still holds: one file, synced as it is written.
inline constexpr char kNoLog[] = "PRAGMA journal_mode = DELETE";
inline constexpr char kQuickCheck[] = "PRAGMA quick_check";
// Moves the log into the file and empties it; its first column is 0 when that worked.
inline constexpr char kEmptyLog[] = "PRAGMA wal_checkpoint(TRUNCATE)";

// SQLite's write lock, held while a damaged journal is copied and replaced, and let go.
inline constexpr char kHoldWriteLock[] = "BEGIN IMMEDIATE";
inline constexpr char kLetGoOfLock[] = "ROLLBACK";

// Recording: a word's row by its two sides, then written back or made; the answer kept.
inline constexpr char kFindWord[] =
    "SELECT * FROM words WHERE english = :english AND chinese = :chinese";
inline constexpr char kInsertWord[] =
    "INSERT INTO words (english, chinese, book, due, last_review, stability, difficulty, state, "
    "reps, lapses, learning_steps) VALUES (:english, :chinese, :book, :due, :last_review, "
    ":stability, :difficulty, :state, :reps, :lapses, :learning_steps)";
inline constexpr char kUpdateWord[] =
    "UPDATE words SET book = :book, due = :due, last_review = :last_review, stability = "
    ":stability, difficulty = :difficulty, state = :state, reps = :reps, lapses = :lapses, "
    "learning_steps = :learning_steps WHERE id = :id";
inline constexpr char kInsertReview[] =
    "INSERT INTO reviews (word_id, reviewed_at, grade, mode) "
    "VALUES (:word_id, :reviewed_at, :grade, :mode)";
// A word put up for review: new and due at once, or made due at once if it was due later.
inline constexpr char kAddWord[] =
    "INSERT INTO words (english, chinese, book, due) VALUES (:english, :chinese, :book, :due) "
    "ON CONFLICT (english, chinese) DO UPDATE SET due = min(due, excluded.due)";

// Reading: the words with their schedules and their Again answers (rows.h reads them), in
// the orders the lists want.
inline constexpr char kWords[] =
    "SELECT w.id AS id, w.english AS english, w.chinese AS chinese, w.book AS book, "
    "w.due AS due, w.last_review AS last_review, w.stability AS stability, "
    "w.difficulty AS difficulty, w.state AS state, w.reps AS reps, w.lapses AS lapses, "
    "w.learning_steps AS learning_steps, (SELECT count(*) FROM reviews AS r "
    "WHERE r.word_id = w.id AND r.grade = 1) AS misses FROM words AS w";
inline const std::string kAllWords = std::string(kWords) + " ORDER BY english, chinese";
inline const std::string kDueWords =
    std::string(kWords) + " WHERE w.due <= :now ORDER BY w.due, w.id";
inline const std::string kSoonestWords = std::string(kWords) + " ORDER BY w.due, w.id LIMIT :count";
// The words ever missed, most misses first; a negative count lists them all.
inline const std::string kMostMissed =
    std::string(kWords) +
    " JOIN (SELECT word_id, count(*) AS n FROM reviews WHERE grade = 1 GROUP BY word_id) AS m "
    "ON m.word_id = w.id ORDER BY m.n DESC, english, chinese LIMIT :count";
inline constexpr char kCountWords[] = "SELECT count(*) FROM words";
inline constexpr char kCountDue[] = "SELECT count(*) FROM words WHERE due <= :now";
inline constexpr char kDueAndStability[] = "SELECT due, stability FROM words";
inline constexpr char kAnswersBetween[] =
    "SELECT reviewed_at, grade FROM reviews WHERE reviewed_at >= :from AND reviewed_at < :to";

// Salvage: every row of a damaged journal, in rowid order from :from, and each put into the
// new journal under its old id.
inline constexpr char kWordsFrom[] = "SELECT * FROM words WHERE id >= :from ORDER BY id";
inline constexpr char kReviewsFrom[] = "SELECT * FROM reviews WHERE id >= :from ORDER BY id";
inline constexpr char kKeepWord[] =
    "INSERT OR IGNORE INTO words (id, english, chinese, book, due, last_review, stability, "
    "difficulty, state, reps, lapses, learning_steps) VALUES (:id, :english, :chinese, :book, "
    ":due, :last_review, :stability, :difficulty, :state, :reps, :lapses, :learning_steps)";
inline constexpr char kKeepReview[] =
    "INSERT OR IGNORE INTO reviews (id, word_id, reviewed_at, grade, mode) "
    "VALUES (:id, :word_id, :reviewed_at, :grade, :mode)";

}  // namespace progress::sql
