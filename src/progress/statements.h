// Every statement the journal runs on its file, by name, in one place. Rows are read by their
// column names (rows.h), so each statement names its columns; the schema itself is in the
// README, "Your progress".
#pragma once

#include <iterator>
#include <string>

namespace progress::sql {

// Words never answered were put up for review (Add, F4) when version 2 began to say so; a
// salvaged journal of version 1 is brought up to the same by this statement.
inline constexpr char kPutUpUnanswered[] =
    "UPDATE words SET put_up = due WHERE last_review IS NULL AND put_up IS NULL";

// The schema, step by step: step i brings a journal of version i to version i + 1 (version 0
// is an empty file). The steps a journal needs run in one transaction with the new
// user_version, so a journal is at one version or at the next, never between.
inline const std::string kSchemaSteps[] = {
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
    // When the word was last put up for review: it waits for review until it is answered.
    std::string(R"(ALTER TABLE words ADD COLUMN put_up INTEGER;
CREATE INDEX words_put_up ON words (put_up) WHERE put_up IS NOT NULL;
)") + kPutUpUnanswered,
};
inline const int kSchemaStepCount = static_cast<int>(std::size(kSchemaSteps));

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
// The schedule's columns, set from a card (rows.h binds them).
inline constexpr char kSetCard[] =
    "due = :due, last_review = :last_review, stability = :stability, difficulty = :difficulty, "
    "state = :state, reps = :reps, lapses = :lapses, learning_steps = :learning_steps";
inline const std::string kUpdateWord =
    std::string("UPDATE words SET book = :book, ") + kSetCard + " WHERE id = :id";
inline constexpr char kInsertReview[] =
    "INSERT INTO reviews (word_id, reviewed_at, grade, mode) "
    "VALUES (:word_id, :reviewed_at, :grade, :mode)";
// A word put up for review: new and due at once, or made due at once if it was due later;
// either way it waits for review from then until it is answered.
inline constexpr char kAddWord[] =
    "INSERT INTO words (english, chinese, book, due, put_up) "
    "VALUES (:english, :chinese, :book, :due, :due) "
    "ON CONFLICT (english, chinese) DO UPDATE SET due = min(due, excluded.due), "
    "put_up = excluded.put_up";

// Taking answers back: the word of an answer, the answer gone, the word's answers left in the
// order they were given, and the word rescheduled from them, or gone with its last.
inline constexpr char kWordOfAnswer[] = "SELECT word_id FROM reviews WHERE id = :id";
inline constexpr char kTakeBackAnswer[] = "DELETE FROM reviews WHERE id = :id";
inline constexpr char kAnswersOfWord[] =
    "SELECT reviewed_at, grade FROM reviews WHERE word_id = :word_id ORDER BY id";
inline constexpr char kPutUpOfWord[] = "SELECT put_up FROM words WHERE id = :id";
inline const std::string kReschedule =
    std::string("UPDATE words SET ") + kSetCard + " WHERE id = :id";
inline constexpr char kForgetWord[] = "DELETE FROM words WHERE id = :id";

// Reading: the words with their schedules, whether they wait for review (put up and not
// answered since) and their Again answers (rows.h reads them), in the orders the lists want.
inline constexpr char kWaiting[] =
    "(w.put_up IS NOT NULL AND (w.last_review IS NULL OR w.last_review < w.put_up))";
// In a learning or relearning step (states 1 and 3), which a review round takes ahead.
inline constexpr char kInStep[] = "w.state IN (1, 3)";
inline const std::string kWords =
    std::string(
        "SELECT w.id AS id, w.english AS english, w.chinese AS chinese, w.book AS book, "
        "w.due AS due, w.last_review AS last_review, w.stability AS stability, "
        "w.difficulty AS difficulty, w.state AS state, w.reps AS reps, "
        "w.lapses AS lapses, w.learning_steps AS learning_steps, ") +
    kWaiting +
    " AS waiting, (SELECT count(*) FROM reviews AS r WHERE r.word_id = w.id AND r.grade = 1) "
    "AS misses FROM words AS w";
inline const std::string kAllWords = kWords + " ORDER BY english, chinese";
inline const std::string kDueWords = kWords + " WHERE w.due <= :now ORDER BY w.due, w.id";
inline const std::string kSoonestWords = kWords + " ORDER BY w.due, w.id LIMIT :count";
// A review round: the words waiting for review, earliest put up first; then those due by :now
// or in a learning or relearning step due by :soon, earliest due first.
inline const std::string kWaitingWords = kWords + " WHERE w.put_up IS NOT NULL AND " + kWaiting +
                                         " ORDER BY w.put_up, w.id LIMIT :count";
inline const std::string kRoundWords = kWords + " WHERE w.due <= :soon AND (w.due <= :now OR " +
                                       kInStep + ") AND NOT " + kWaiting +
                                       " ORDER BY w.due, w.id LIMIT :count";
// The words ever missed, most misses first; a negative count lists them all.
inline const std::string kMostMissed =
    kWords +
    " JOIN (SELECT word_id, count(*) AS n FROM reviews WHERE grade = 1 GROUP BY word_id) AS m "
    "ON m.word_id = w.id ORDER BY m.n DESC, english, chinese LIMIT :count";
inline constexpr char kCountWords[] = "SELECT count(*) FROM words";
inline constexpr char kCountDue[] = "SELECT count(*) FROM words WHERE due <= :now";
inline const std::string kCountInStepSoon =
    std::string("SELECT count(*) FROM words AS w WHERE w.due > :now AND w.due <= :soon AND ") +
    kInStep;
inline constexpr char kNextDue[] = "SELECT min(due) FROM words WHERE due > :now";
// The books practised: each word counts for the book it was last practised from.
inline constexpr char kBooks[] =
    "SELECT book, count(*) AS words, sum(stability >= :learned) AS learned, "
    "max(last_review) AS latest FROM words WHERE book != '' GROUP BY book "
    "ORDER BY latest DESC, book";
inline constexpr char kDueAndStability[] = "SELECT due, stability FROM words";
inline constexpr char kAnswersBetween[] =
    "SELECT reviewed_at, grade FROM reviews WHERE reviewed_at >= :from AND reviewed_at < :to";

// Salvage: every row of a damaged journal, in rowid order from :from, and each put into the
// new journal under its old id.
inline constexpr char kWordsFrom[] = "SELECT * FROM words WHERE id >= :from ORDER BY id";
inline constexpr char kReviewsFrom[] = "SELECT * FROM reviews WHERE id >= :from ORDER BY id";
inline constexpr char kKeepWord[] =
    "INSERT OR IGNORE INTO words (id, english, chinese, book, due, last_review, stability, "
    "difficulty, state, reps, lapses, learning_steps, put_up) VALUES (:id, :english, :chinese, "
    ":book, :due, :last_review, :stability, :difficulty, :state, :reps, :lapses, "
    ":learning_steps, :put_up)";
inline constexpr char kKeepReview[] =
    "INSERT OR IGNORE INTO reviews (id, word_id, reviewed_at, grade, mode) "
    "VALUES (:id, :word_id, :reviewed_at, :grade, :mode)";

}  // namespace progress::sql
