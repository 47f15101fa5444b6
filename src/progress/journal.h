// The journal of practice: every answer the learner gives, and each word's place in the FSRS
// schedule, kept in an SQLite file (the schema is in the README, "Your progress").
//
// A Journal opens its file on first use, never before, and never lets an error out: when
// the file cannot be used, writes return false, reads come back empty, and Status() says why
// in a line of Chinese the menus can show. Play goes on either way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "progress/fsrs.h"
#include "progress/overview.h"

namespace progress {

// The schema this program writes, kept in the file's PRAGMA user_version.
inline constexpr int kSchemaVersion = 1;
// Words in a review round.
inline constexpr int kReviewRoundSize = 18;

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
  int misses = 0;  // Again answers, all time
};

struct JournalCounts {
  int words = 0;  // words in the journal
  int due = 0;    // words due now
};

enum class Listing {
  All,     // every word, in English order
  Due,     // the words due now, earliest first
  Missed,  // the words ever missed, most misses first
};

enum class JournalCondition {
  Closed,       // not opened yet: nothing has needed it
  Recording,    // open, and answers are recorded
  NewerSchema,  // written by a newer Vantle: neither read nor written
  CannotWrite,  // the folder or the file cannot be written (read-only, disk full, ...)
};

struct JournalStatus {
  JournalCondition condition = JournalCondition::Closed;
  std::string text;  // one line of Chinese for the menu; empty while Closed or Recording
};

// The journal's file in the user's data folder (books::UserDataDirectory(), which the
// platform hands out: $XDG_DATA_HOME/vantle or ~/.local/share/vantle), progress.sqlite3;
// empty when the folder is unknown.
std::filesystem::path JournalPath(std::string_view user_data_directory);

class Journal {
 public:
  // Remembers the path; opens nothing.
  explicit Journal(std::filesystem::path path);
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // Records the answer `grade` to the word (english, chinese), given at `now` in `mode` from
  // the book `book`: adds the word when it is new, schedules it, and keeps the answer, all
  // in one transaction committed at once. False when nothing could be recorded.
  bool Record(std::string_view english, std::string_view chinese, std::string_view book,
              Grade grade, Mode mode, std::int64_t now);
  // Adds the word as new, due at `now`. A word already in the journal keeps its history and
  // its book, and is made due at `now` if it was due later. No answer is recorded.
  bool Add(std::string_view english, std::string_view chinese, std::string_view book,
           std::int64_t now);

  // Up to `count` words, the earliest due first: those whose time has come, then, when
  // fewer have, those due soonest.
  std::vector<JournalWord> ReviewSet(int count = kReviewRoundSize);
  JournalCounts Counts(std::int64_t now);
  // The progress at `now`, with calendar days taken at `utc_offset_seconds` east of UTC (one
  // offset for all 60 days of the charts). The last 30 days are the chart's 30 days, today
  // included; Good counts grade 3 alone.
  Overview ReadOverview(std::int64_t now, int utc_offset_seconds);
  std::vector<JournalWord> List(Listing listing, std::int64_t now);

  JournalStatus Status() const;
  // Once, after a damaged file was set aside: a line saying so and naming the file. Empty
  // otherwise.
  std::string TakeNotice();
  const std::filesystem::path& Path() const;

 private:
  class Store;
  std::unique_ptr<Store> store_;
};

}  // namespace progress
