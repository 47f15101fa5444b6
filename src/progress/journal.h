// The journal of practice: every answer the learner gives, and each word's place in the FSRS
// schedule, kept in an SQLite file (the schema is in the README, "Your progress").
//
// A JournalReader reads the file and never writes it: it opens it read-only and makes,
// migrates, converts or sets aside nothing. A Journal reads through one and writes through a
// connection of its own, opened at the first answer: before anything is written it checks the
// file, and a damaged file is copied aside and replaced by what can still be read of it. An
// answer recorded is committed at once and synced to the disk by a thread of the journal's,
// so the caller never waits for the disk. Neither lets an error out: each step gives what it
// made or why it could not, and a Journal's Status() keeps the line the menus show. Play goes
// on either way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/result.h"
#include "progress/fsrs.h"
#include "progress/overview.h"

namespace progress {

// The schema this program writes, kept in the file's PRAGMA user_version.
inline constexpr int kSchemaVersion = 2;
// Words in a review round.
inline constexpr int kReviewRoundSize = 18;
// How far ahead a review round takes the words in a learning or relearning step, so that a
// step due in a few minutes is reviewed with the rest: 20 minutes, as Anki's learn-ahead limit.
inline constexpr std::int64_t kLearnAheadSeconds = 20 * 60;

// The program's modes, in the order of the mode column; the shell's windows are these too.
// The journal stores where an answer was given as 'match', 'quiz' or 'dictionary' (the screen
// saver asks nothing).
enum class Mode { Match, Quiz, Dictionary, ScreenSaver };

// A word of the journal, with its schedule.
struct JournalWord {
  std::string english;
  std::string chinese;
  std::string book;  // the book it was last practised from
  Card card;
  int misses = 0;        // Again answers, all time
  bool waiting = false;  // put up for review (Add, the dictionary's F4) and not answered since
};

struct JournalCounts {
  int words = 0;  // words in the journal
  int due = 0;    // words due now
};

// What the review entry of a menu tells: "复习 (F3)：12 个到期 · 3 个 20 分钟内", or, with neither,
// "复习 (F3)：现在没有到期的单词，下一个 8 分钟后".
struct ReviewQueue {
  int due = 0;   // words due now (those waiting for review among them)
  int soon = 0;  // more, in a learning or relearning step that falls due within kLearnAheadSeconds
  std::optional<std::int64_t> next_due;  // when the first word not due now falls due; none when
                                         // every word is due now, or the journal is empty
};

enum class Listing {
  All,     // every word, in English order
  Due,     // the words due now, earliest first
  Missed,  // the words ever missed, most misses first
};

enum class JournalCondition {
  Closed,       // not written yet this session: nothing has needed it
  Recording,    // open, and answers are recorded
  NewerSchema,  // written by a newer Vantle: neither read nor written
  CannotWrite,  // the folder or the file cannot be written (read-only, disk full, ...)
  CannotRead,   // the file cannot be read (damaged, no permission, ...)
};

struct JournalStatus {
  JournalCondition condition = JournalCondition::Closed;
  std::string text;  // one line of Chinese for the menu; empty while Closed or Recording
};

// Why the journal could not do what was asked: `reason` is one line of Chinese the menus
// show, naming the file or folder at fault; `file` is the journal.
struct JournalFailure : base::Failure {
  JournalCondition condition = JournalCondition::CannotWrite;
  bool damaged = false;      // SQLite found the file damaged
  bool out_of_room = false;  // the disk, or the room the system gives the program, is full
};

template <class T = std::monostate>
using JournalResult = base::Result<T, JournalFailure>;

// A row of the journal's `reviews` table: one answer.
using ReviewId = std::int64_t;

// The journal's file in the user's data folder (books::UserDataDirectory(), which the
// platform hands out: $XDG_DATA_HOME/vantle or ~/.local/share/vantle), progress.sqlite3;
// empty when the folder is unknown.
std::filesystem::path JournalPath(std::string_view user_data_directory);

class Connection;

// Reads the journal at a path, opening it on the first read and again whenever the path
// comes to name another file. A missing file, or one with no journal in it yet, reads as an
// empty journal; nothing is ever made.
class JournalReader {
 public:
  explicit JournalReader(std::filesystem::path path);
  ~JournalReader();
  JournalReader(const JournalReader&) = delete;
  JournalReader& operator=(const JournalReader&) = delete;

  // Whether the journal is sound: its pages as SQLite's quick check finds them, and its log
  // (answers committed past a damaged part of it would be lost). A missing file is.
  JournalResult<> Check();
  // The words of a review round at `now`, at most `count`: first those waiting for review
  // (put up with Add, the dictionary's F4), earliest put up first, however many are due; then
  // the words due now and those in a learning or relearning step due within
  // kLearnAheadSeconds, earliest due first. Empty when nothing is due.
  JournalResult<std::vector<JournalWord>> ReviewRound(std::int64_t now,
                                                      int count = kReviewRoundSize);
  // Up to `count` words, the earliest due first, due or not: a review ahead ("提前复习")
  // when nothing is due, the words due now first.
  JournalResult<std::vector<JournalWord>> ReviewSet(int count = kReviewRoundSize);
  JournalResult<JournalCounts> Counts(std::int64_t now);
  // What a review round holds at `now`, and when the next word falls due.
  JournalResult<ReviewQueue> Queue(std::int64_t now);
  // The progress at `now`, with calendar days taken at `utc_offset_seconds` east of UTC (one
  // offset for all 60 days of the charts). The last 30 days are the chart's 30 days, today
  // included; Good counts grade 3 alone.
  JournalResult<Overview> ReadOverview(std::int64_t now, int utc_offset_seconds);
  JournalResult<std::vector<JournalWord>> List(Listing listing, std::int64_t now);

 private:
  template <class Read>
  auto Reading(const Read& read) -> JournalResult<decltype(read(std::declval<Connection&>()))>;

  std::filesystem::path path_;
  std::unique_ptr<Connection> connection_;
};

class Journal {
 public:
  // Remembers the path; opens nothing.
  explicit Journal(std::filesystem::path path);
  // Waits for the last sync, then closes.
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // Records the answer `grade` to the word (english, chinese), given at `now` in `mode` from
  // the book `book`: adds the word when it is new, schedules it, and keeps the answer, all
  // in one transaction committed at once. Gives the answer's row, for TakeBack. A word waiting
  // for review waits no more. The grade Easy (4) is what "我认识" gives.
  JournalResult<ReviewId> Record(std::string_view english, std::string_view chinese,
                                 std::string_view book, Grade grade, Mode mode, std::int64_t now);
  // Takes the answers back (an undo): their rows go, and each of their words gets the schedule
  // a replay of its answers left, in the order given, through the scheduler gives; a word
  // with none left is as it was before its first: waiting for review if it was put up, else
  // gone from the journal. Rows already gone are passed over; all in one transaction. An
  // answer replaced (Easy for a Good given in the same round) is taken back, then recorded.
  JournalResult<> TakeBack(const std::vector<ReviewId>& answers);
  // Puts the word up for review at `now` (the dictionary's F4): it waits for review, first in
  // the next review round, until it is answered. A new word is added, due at `now`; a word
  // already in the journal keeps its history and its book, and is made due at `now` if it was
  // due later. No answer is recorded.
  JournalResult<> Add(std::string_view english, std::string_view chinese, std::string_view book,
                      std::int64_t now);

  // The reads of JournalReader, empty when the journal cannot be read; Status() then says why.
  std::vector<JournalWord> ReviewRound(std::int64_t now, int count = kReviewRoundSize);
  std::vector<JournalWord> ReviewSet(int count = kReviewRoundSize);
  JournalCounts Counts(std::int64_t now);
  ReviewQueue Queue(std::int64_t now);
  Overview ReadOverview(std::int64_t now, int utc_offset_seconds);
  std::vector<JournalWord> List(Listing listing, std::int64_t now);

  JournalStatus Status() const;
  // Once, after a damaged file was copied aside: a line saying so, how much was kept and the
  // copy's name. Empty otherwise.
  std::string TakeNotice();
  const std::filesystem::path& Path() const;

  // Returns once every answer recorded so far is on the disk.
  void WaitForDisk();
  // How many times the journal has synced its log to the disk (for tests and benchmarks).
  std::int64_t Syncs() const;

 private:
  class Writer;
  template <class Change>
  auto Write(const Change& change) -> JournalResult<decltype(change(std::declval<Connection&>()))>;
  JournalResult<> OpenWriter();
  void CloseWriter();
  JournalFailure Stop(JournalFailure failure, bool keep_open);
  template <class T>
  T Read(JournalResult<T> read);

  std::filesystem::path path_;
  JournalReader reader_;
  std::unique_ptr<Writer> writer_;
  JournalStatus status_;
  std::string notice_;
  std::int64_t syncs_ = 0;  // of writers closed before
  // After a write that found the disk full: the next one first moves the log into the file
  // and empties it, which gives back the room the log took once the file has room.
  bool short_of_room_ = false;
};

}  // namespace progress
