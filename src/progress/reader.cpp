// JournalReader: the journal's reads, each on a read-only connection.
#include <algorithm>
#include <utility>

#include "progress/connection.h"
#include "progress/damage.h"
#include "progress/journal.h"
#include "progress/rows.h"
#include "progress/statements.h"

namespace progress {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b < 0 ? 1 : 0);
}

// Every word `statement` gives, run to its end and reset, so that it holds no read of the file
// open (which would keep the log from being emptied).
std::vector<JournalWord> WordsOf(SQLite::Statement& statement) {
  std::vector<JournalWord> words;
  while (statement.executeStep()) words.push_back(ReadWord(statement));
  statement.reset();
  return words;
}

int CountOf(SQLite::Statement& statement) {
  const int count = statement.executeStep() ? statement.getColumn(0).getInt() : 0;
  statement.reset();
  return count;
}

// The words' counts and the due chart.
void CountWords(Connection& connection, std::int64_t now, int utc_offset_seconds,
                Overview& overview) {
  const std::int64_t today = FloorDiv(now + utc_offset_seconds, kSecondsPerDay);
  SQLite::Statement& words = connection.Prepared(sql::kDueAndStability);
  while (words.executeStep()) {
    const std::int64_t due = words.getColumn("due").getInt64();
    ++overview.practised;
    if (due <= now) ++overview.due_now;
    if (due <= now + 7 * kSecondsPerDay) ++overview.due_within_week;
    if (words.getColumn("stability").getDouble() >= kLearnedStabilityDays) ++overview.learned;
    const std::int64_t day = FloorDiv(due + utc_offset_seconds, kSecondsPerDay) - today;
    if (day < kChartDays)
      ++overview.due_per_day[static_cast<std::size_t>(std::max<std::int64_t>(day, 0))];
  }
  words.reset();
  overview.due_today = overview.due_per_day[0];
}

// The books practised, the one practised last first.
std::vector<BookProgress> BooksOf(Connection& connection) {
  std::vector<BookProgress> books;
  SQLite::Statement& rows = connection.Prepared(sql::kBooks);
  rows.bind(":learned", kLearnedStabilityDays);
  while (rows.executeStep())
    books.push_back({rows.getColumn("book").getString(), rows.getColumn("words").getInt(),
                     rows.getColumn("learned").getInt()});
  rows.reset();
  return books;
}

// The answers of the chart's days: from the start of the local day 29 days ago to the end of
// today.
void CountAnswers(Connection& connection, std::int64_t now, int utc_offset_seconds,
                  Overview& overview) {
  const std::int64_t today = FloorDiv(now + utc_offset_seconds, kSecondsPerDay);
  const std::int64_t first_day = today - (kChartDays - 1);
  SQLite::Statement& answers = connection.Prepared(sql::kAnswersBetween);
  answers.bind(":from", first_day * kSecondsPerDay - utc_offset_seconds);
  answers.bind(":to", (today + 1) * kSecondsPerDay - utc_offset_seconds);
  while (answers.executeStep()) {
    const std::int64_t day =
        FloorDiv(answers.getColumn("reviewed_at").getInt64() + utc_offset_seconds, kSecondsPerDay) -
        first_day;
    ++overview.reviews_per_day[static_cast<std::size_t>(day)];
    ++overview.reviews_last_30_days;
    if (answers.getColumn("grade").getInt() == static_cast<int>(Grade::Good))
      ++overview.good_last_30_days;
  }
  answers.reset();
}

}  // namespace

JournalReader::JournalReader(std::filesystem::path path) : path_(std::move(path)) {}

JournalReader::~JournalReader() = default;

template <class Read>
auto JournalReader::Reading(const Read& read)
    -> JournalResult<decltype(read(std::declval<Connection&>()))> {
  using Made = decltype(read(std::declval<Connection&>()));
  if (connection_ && !connection_->StillAtPath()) connection_.reset();
  if (!connection_) {
    JournalResult<Connection> opened = Connection::ForReading(path_);
    if (!opened) return opened.Failed();
    connection_ = std::make_unique<Connection>(std::move(*opened));
  }
  try {
    if (connection_->Empty()) return Made{};
    return read(*connection_);
  } catch (const SQLite::Exception& error) {
    JournalFailure failure = connection_->Explain(error);
    failure.condition = JournalCondition::CannotRead;
    connection_.reset();  // opened anew for the next read
    return failure;
  }
}

JournalResult<> JournalReader::Check() {
  const JournalResult<Health> health = Examine(path_);
  if (!health) return health.Failed();
  if (*health == Health::Sound) return {};
  JournalFailure failure = JournalFailed(
      *health == Health::Damaged
          ? "学习记录已损坏" + Where(path_)
          : "学习记录的日志有损坏，其中损坏处之后的答案读不出来" + Where(LogOf(path_)),
      path_, JournalCondition::CannotRead);
  failure.damaged = true;
  return failure;
}

JournalResult<std::vector<JournalWord>> JournalReader::ReviewRound(std::int64_t now, int count) {
  return Reading([now, count](Connection& connection) {
    SQLite::Statement& waiting = connection.Prepared(sql::kWaitingWords.c_str());
    waiting.bind(":count", std::max(count, 0));
    std::vector<JournalWord> words = WordsOf(waiting);
    SQLite::Statement& due = connection.Prepared(sql::kRoundWords.c_str());
    due.bind(":now", now);
    due.bind(":soon", now + kLearnAheadSeconds);
    due.bind(":count", std::max(count - static_cast<int>(words.size()), 0));
    for (JournalWord& word : WordsOf(due)) words.push_back(std::move(word));
    return words;
  });
}

JournalResult<ReviewQueue> JournalReader::Queue(std::int64_t now) {
  return Reading([now](Connection& connection) {
    ReviewQueue queue;
    SQLite::Statement& due = connection.Prepared(sql::kCountDue);
    due.bind(":now", now);
    queue.due = CountOf(due);
    SQLite::Statement& soon = connection.Prepared(sql::kCountInStepSoon.c_str());
    soon.bind(":now", now);
    soon.bind(":soon", now + kLearnAheadSeconds);
    queue.soon = CountOf(soon);
    SQLite::Statement& next = connection.Prepared(sql::kNextDue);
    next.bind(":now", now);
    if (next.executeStep() && !next.isColumnNull(0)) queue.next_due = next.getColumn(0).getInt64();
    next.reset();
    return queue;
  });
}

JournalResult<std::vector<JournalWord>> JournalReader::ReviewSet(int count) {
  return Reading([count](Connection& connection) {
    SQLite::Statement& soonest = connection.Prepared(sql::kSoonestWords.c_str());
    soonest.bind(":count", std::max(count, 0));
    return WordsOf(soonest);
  });
}

JournalResult<JournalCounts> JournalReader::Counts(std::int64_t now) {
  return Reading([now](Connection& connection) {
    JournalCounts counts;
    counts.words = CountOf(connection.Prepared(sql::kCountWords));
    SQLite::Statement& due = connection.Prepared(sql::kCountDue);
    due.bind(":now", now);
    counts.due = CountOf(due);
    return counts;
  });
}

JournalResult<Overview> JournalReader::ReadOverview(std::int64_t now, int utc_offset_seconds) {
  return Reading([now, utc_offset_seconds](Connection& connection) {
    Overview overview;
    CountWords(connection, now, utc_offset_seconds, overview);
    CountAnswers(connection, now, utc_offset_seconds, overview);
    SQLite::Statement& missed = connection.Prepared(sql::kMostMissed.c_str());
    missed.bind(":count", kMostMissedCount);
    for (JournalWord& word : WordsOf(missed))
      overview.most_missed.push_back(
          {std::move(word.english), std::move(word.chinese), word.misses});
    overview.books = BooksOf(connection);
    return overview;
  });
}

JournalResult<std::vector<JournalWord>> JournalReader::List(Listing listing, std::int64_t now) {
  return Reading([listing, now](Connection& connection) {
    switch (listing) {
      case Listing::Due: {
        SQLite::Statement& due = connection.Prepared(sql::kDueWords.c_str());
        due.bind(":now", now);
        return WordsOf(due);
      }
      case Listing::Missed: {
        SQLite::Statement& missed = connection.Prepared(sql::kMostMissed.c_str());
        missed.bind(":count", -1);  // no limit
        return WordsOf(missed);
      }
      case Listing::All:
        break;
    }
    return WordsOf(connection.Prepared(sql::kAllWords.c_str()));
  });
}

}  // namespace progress
