#include "progress/journal.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <iterator>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

namespace progress {
namespace {

// Long enough for another program's answer to be written, short enough not to stall a round.
constexpr int kBusyTimeoutMs = 3000;
constexpr std::int64_t kSecondsPerDay = 86400;

// The schema, step by step: step i brings a journal of version i to version i + 1 (version 0
// is an empty file). The steps a journal needs run in one transaction with the new
// user_version, so a journal is at one version or at the next, never between.
constexpr const char* kSchemaSteps[] = {
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
static_assert(std::size(kSchemaSteps) == kSchemaVersion);

// The columns ReadWord reads, in its order; the last counts the word's Again answers.
#define VANTLE_WORD_COLUMNS                                                                  \
  "w.english, w.chinese, w.book, w.due, w.last_review, w.stability, w.difficulty, w.state, " \
  "w.reps, w.lapses, w.learning_steps, "                                                     \
  "(SELECT count(*) FROM reviews AS r WHERE r.word_id = w.id AND r.grade = 1)"

constexpr const char* kFindWord =
    "SELECT id, due, last_review, stability, difficulty, state, reps, lapses, learning_steps "
    "FROM words WHERE english = ?1 AND chinese = ?2";
constexpr const char* kInsertWord =
    "INSERT INTO words (english, chinese, book, due, last_review, stability, difficulty, state, "
    "reps, lapses, learning_steps) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)";
constexpr const char* kUpdateWord =
    "UPDATE words SET book = ?3, due = ?4, last_review = ?5, stability = ?6, difficulty = ?7, "
    "state = ?8, reps = ?9, lapses = ?10, learning_steps = ?11 WHERE id = ?1";
constexpr const char* kInsertReview =
    "INSERT INTO reviews (word_id, reviewed_at, grade, mode) VALUES (?1, ?2, ?3, ?4)";
constexpr const char* kAddWord =
    "INSERT INTO words (english, chinese, book, due) VALUES (?1, ?2, ?3, ?4) "
    "ON CONFLICT (english, chinese) DO UPDATE SET due = min(due, excluded.due)";
constexpr const char* kMostMissed =
    "SELECT " VANTLE_WORD_COLUMNS
    " FROM (SELECT word_id, count(*) AS misses FROM reviews "
    "WHERE grade = 1 GROUP BY word_id) AS m JOIN words AS w ON w.id = m.word_id "
    "ORDER BY m.misses DESC, w.english, w.chinese LIMIT ?1";

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

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b < 0 ? 1 : 0);
}

// The schedule from the columns due, last_review, stability, difficulty, state, reps, lapses
// and learning_steps, starting at `first`. Numbers out of range (a file edited by hand) are
// read as the scheduler can take them.
Card ReadCard(const SQLite::Statement& row, int first) {
  Card card;
  card.due = row.getColumn(first).getInt64();
  if (!row.getColumn(first + 1).isNull()) card.last_review = row.getColumn(first + 1).getInt64();
  card.stability = row.getColumn(first + 2).getDouble();
  card.difficulty = row.getColumn(first + 3).getDouble();
  int state = row.getColumn(first + 4).getInt();
  card.state = state >= 0 && state <= 3 ? static_cast<CardState>(state) : CardState::New;
  card.reps = row.getColumn(first + 5).getInt();
  card.lapses = row.getColumn(first + 6).getInt();
  card.learning_steps = std::max(0, row.getColumn(first + 7).getInt());
  return card;
}

JournalWord ReadWord(const SQLite::Statement& row) {
  JournalWord word;
  word.english = row.getColumn(0).getString();
  word.chinese = row.getColumn(1).getString();
  word.book = row.getColumn(2).getString();
  word.card = ReadCard(row, 3);
  word.misses = row.getColumn(11).getInt();
  return word;
}

// The schedule columns ?4 to ?11 of kInsertWord and kUpdateWord.
void BindCard(SQLite::Statement& statement, const Card& card) {
  statement.bind(4, card.due);
  if (card.last_review)
    statement.bind(5, *card.last_review);
  else
    statement.bind(5);
  statement.bind(6, card.stability);
  statement.bind(7, card.difficulty);
  statement.bind(8, static_cast<int>(card.state));
  statement.bind(9, card.reps);
  statement.bind(10, card.lapses);
  statement.bind(11, card.learning_steps);
}

// What a failed system call means to the learner.
std::string SystemReason(const std::error_code& error) {
  switch (error.value()) {
    case EROFS:
      return "磁盘只读";
    case EACCES:
    case EPERM:
      return "没有写入的权限";
    case ENOSPC:
    case EDQUOT:
      return "磁盘已满";
    case ENOTDIR:
    case EEXIST:
      return "路径上有一个同名的文件挡住了文件夹";
    default:
      return error.message();
  }
}

// What a failed SQLite call means to the learner.
std::string SqliteReason(const SQLite::Exception& error) {
  switch (error.getErrorCode() & 0xff) {
    case SQLITE_READONLY:
      return "文件只读";
    case SQLITE_FULL:
      return "磁盘已满";
    case SQLITE_CANTOPEN:
      return "文件打不开";
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return "没有写入的权限";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "文件正被另一个程序占用";
    case SQLITE_IOERR:
      return "读写出错";
    default:
      return error.what();
  }
}

bool IsDamage(const SQLite::Exception& error) {
  int code = error.getErrorCode() & 0xff;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

// PRAGMA quick_check of a journal, on a connection and a thread of its own: on a journal of
// 30000 words it takes a tenth of a second, which the first answer or menu must not wait for.
class IntegrityCheck {
 public:
  explicit IntegrityCheck(std::filesystem::path path)
      : thread_([this, path = std::move(path)] { Run(path); }) {}
  ~IntegrityCheck() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
      if (connection_) sqlite3_interrupt(connection_);
    }
    thread_.join();
  }
  IntegrityCheck(const IntegrityCheck&) = delete;
  IntegrityCheck& operator=(const IntegrityCheck&) = delete;

  // Whether the check has found the file damaged (so far: false while it runs).
  bool FoundDamage() const { return damaged_; }

 private:
  void Run(const std::filesystem::path& path) {
    try {
      SQLite::Database database(path, SQLite::OPEN_READONLY, kBusyTimeoutMs);
      {
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        connection_ = database.getHandle();
      }
      bool sound = true;
      try {
        SQLite::Statement check(database, "PRAGMA quick_check");
        sound = check.executeStep() && check.getColumn(0).getString() == "ok";
      } catch (const SQLite::Exception& error) {
        sound = !IsDamage(error);  // stopped, or busy: no verdict
      }
      std::lock_guard lock(mutex_);
      connection_ = nullptr;
      damaged_ = !sound;
    } catch (const std::exception&) {
      // The file could not be opened beside the journal's own connection: no verdict.
    }
  }

  std::mutex mutex_;
  bool stopped_ = false;
  sqlite3* connection_ = nullptr;  // while the check runs, for stopping it
  std::atomic<bool> damaged_ = false;
  std::thread thread_;  // last: starts once the rest is ready
};

// A schema that could not be brought up to this version.
struct MigrationFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The local time as 20260308-101500, for the name of a file set aside.
std::string TimeStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

std::filesystem::path WithSuffix(std::filesystem::path path, const char* suffix) {
  path += suffix;
  return path;
}

}  // namespace

std::filesystem::path JournalPath(std::string_view user_data_directory) {
  if (user_data_directory.empty()) return {};
  return std::filesystem::path(user_data_directory) / "progress.sqlite3";
}

class Journal::Store {
 public:
  explicit Store(std::filesystem::path path) : path(std::move(path)) {}
  ~Store() { Close(); }

  // Runs `action` on the open database. On a damaged file it sets the file aside and runs
  // it once more on a new journal. False when it could not run to the end; a write that
  // fails says why in the status, and one that succeeds shows that recording works.
  template <typename Action>
  bool Use(Action&& action, bool writing) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (!EnsureOpen() || (writing && read_only_)) return false;
      try {
        action(*database_);
        if (writing) status = {JournalCondition::Recording, {}};
        return true;
      } catch (const SQLite::Exception& error) {
        if (IsDamage(error)) {
          if (!SetAside()) return false;
          continue;
        }
        // A failed read or write leaves the file open for the next try, unless the file
        // itself failed: that one is opened anew.
        int code = error.getErrorCode() & 0xff;
        bool reopen = code == SQLITE_IOERR || code == SQLITE_CANTOPEN;
        if (writing)
          Stop(SqliteReason(error), !reopen);
        else if (reopen)
          Close();
        return false;
      } catch (const std::exception& error) {
        if (writing) Stop(error.what(), true);
        return false;
      }
    }
    return false;
  }

  // A statement prepared once and kept, reset and ready for new bindings.
  SQLite::Statement& Prepared(std::optional<SQLite::Statement>& slot, const char* sql) {
    if (!slot) slot.emplace(*database_, sql);
    slot->tryReset();  // a statement that failed last time reports it here: done with
    slot->clearBindings();
    return *slot;
  }

  const std::filesystem::path path;
  JournalStatus status;
  std::string notice;
  std::optional<SQLite::Statement> find_word, insert_word, update_word, insert_review, add_word;

 private:
  bool EnsureOpen() {
    if (database_ && check_ && check_->FoundDamage() && !SetAside()) return false;
    if (database_) return true;
    if (status.condition == JournalCondition::NewerSchema) return false;
    if (path.empty()) {
      Stop("不知道用户的数据文件夹在哪里（HOME 未设置）", false);
      return false;
    }
    std::error_code error;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::filesystem::create_directories(folder, error);
    // SQLite says only that it cannot open a new file; the system says why.
    if (!error && !std::filesystem::exists(path, error) && access(folder.c_str(), W_OK) != 0)
      error = std::error_code(errno, std::system_category());
    if (error) {
      Stop(SystemReason(error) + "（" + folder.string() + "）", false);
      return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        OpenFile();
        return database_.has_value();
      } catch (const SQLite::Exception& error) {
        Close();
        if (!IsDamage(error)) {
          Stop(SqliteReason(error) + "（" + path.string() + "）", false);
          return false;
        }
      } catch (const std::exception& error) {
        Close();
        Stop(error.what(), false);
        return false;
      }
      if (attempt == 0 && !SetAside()) return false;
    }
    Stop("新的学习记录也打不开（" + path.string() + "）", false);
    return false;
  }

  void OpenFile() {
    database_.emplace(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE, kBusyTimeoutMs);
    // The first read of the file: a file that is not SQLite fails here.
    int version = database_->execAndGet("PRAGMA user_version").getInt();
    if (version > kSchemaVersion) {
      Close();
      status = {JournalCondition::NewerSchema, "学习记录是较新版本的 Vantle 写的（格式 " +
                                                   std::to_string(version) + "，本版只认得格式 " +
                                                   std::to_string(kSchemaVersion) +
                                                   "），为免弄坏它，本版不读也不写"};
      return;
    }
    if (version > 0) check_ = std::make_unique<IntegrityCheck>(path);
    read_only_ = sqlite3_db_readonly(database_->getHandle(), "main") == 1;
    if (read_only_) {
      // A journal the program may read but not write: its words still come back for review.
      if (version < kSchemaVersion) throw SQLite::Exception("read-only", SQLITE_READONLY);
      status = {JournalCondition::CannotWrite,
                "不能记录学习进度：文件只读（" + path.string() + "）"};
      return;
    }
    // Turning a new file to WAL needs the file alone, and SQLite does not wait for that:
    // when another program opens its first journal at the same moment, try again shortly.
    for (int tries = 1;; ++tries) {
      try {
        database_->exec("PRAGMA journal_mode = WAL");
        break;
      } catch (const SQLite::Exception& error) {
        if ((error.getErrorCode() & 0xff) != SQLITE_BUSY || tries * 10 >= kBusyTimeoutMs) throw;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    database_->exec("PRAGMA synchronous = NORMAL");
    if (version < kSchemaVersion) Migrate(version);
    status = {JournalCondition::Recording, {}};
  }

  void Migrate(int version) {
    try {
      SQLite::Transaction transaction(*database_, SQLite::TransactionBehavior::IMMEDIATE);
      // Another program may have brought it up to date while this one waited.
      version = database_->execAndGet("PRAGMA user_version").getInt();
      for (int step = version; step < kSchemaVersion; ++step) database_->exec(kSchemaSteps[step]);
      database_->exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
      transaction.commit();
    } catch (const SQLite::Exception& error) {
      if (IsDamage(error) || (error.getErrorCode() & 0xff) != SQLITE_ERROR) throw;
      throw MigrationFailed("学习记录无法升级到格式 " + std::to_string(kSchemaVersion) + "：" +
                            error.what());
    }
  }

  // Moves the damaged file, with its write-ahead log, aside under a name with the time, and
  // leaves the place free for a new journal. Nothing is deleted.
  bool SetAside() {
    Close();
    std::filesystem::path aside;
    std::error_code error;
    std::string stem = path.stem().string() + ".damaged-" + TimeStamp();
    for (int n = 1;; ++n) {
      std::string name = n == 1 ? stem : stem + "-" + std::to_string(n);
      aside = path.parent_path() / (name + path.extension().string());
      if (!std::filesystem::exists(aside, error) && !error) break;
      if (error || n == 100) {
        Stop(SystemReason(error) + "（" + path.string() + "）", false);
        return false;
      }
    }
    std::filesystem::rename(path, aside, error);
    // The log and its index go along: left behind, they would be replayed into the new file.
    for (const char* suffix : {"-wal", "-shm"}) {
      std::filesystem::path from = WithSuffix(path, suffix);
      if (!error && std::filesystem::exists(from, error))
        std::filesystem::rename(from, WithSuffix(aside, suffix), error);
    }
    if (error) {
      Stop("学习记录已损坏，也无法移开：" + SystemReason(error) + "（" + path.string() + "）",
           false);
      return false;
    }
    notice = "学习记录已损坏，已改名保存为 " + aside.filename().string() + "，新的记录已开始";
    return true;
  }

  // Stops recording for `reason`; `keep_open` keeps the database for reading and for a later
  // try at writing.
  void Stop(const std::string& reason, bool keep_open) {
    if (!keep_open) Close();
    status = {JournalCondition::CannotWrite, "不能记录学习进度：" + reason};
  }

  void Close() {
    check_.reset();
    find_word.reset();
    insert_word.reset();
    update_word.reset();
    insert_review.reset();
    add_word.reset();
    database_.reset();
    read_only_ = false;
  }

  std::optional<SQLite::Database> database_;
  std::unique_ptr<IntegrityCheck> check_;
  bool read_only_ = false;
};

Journal::Journal(std::filesystem::path path) : store_(std::make_unique<Store>(std::move(path))) {}

Journal::~Journal() = default;

bool Journal::Record(std::string_view english, std::string_view chinese, std::string_view book,
                     Grade grade, Mode mode, std::int64_t now) {
  Store& store = *store_;
  return store.Use(
      [&](SQLite::Database& database) {
        SQLite::Transaction transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
        SQLite::Statement& find = store.Prepared(store.find_word, kFindWord);
        find.bind(1, std::string(english));
        find.bind(2, std::string(chinese));
        std::int64_t id = 0;
        Card card = NewCard(now);
        if (find.executeStep()) {
          id = find.getColumn(0).getInt64();
          card = ReadCard(find, 1);
        }
        find.reset();
        Card next = Schedule(card, grade, now);
        SQLite::Statement& write = id ? store.Prepared(store.update_word, kUpdateWord)
                                      : store.Prepared(store.insert_word, kInsertWord);
        if (id) {
          write.bind(1, id);
        } else {
          write.bind(1, std::string(english));
          write.bind(2, std::string(chinese));
        }
        write.bind(3, std::string(book));
        BindCard(write, next);
        write.exec();
        if (!id) id = database.getLastInsertRowid();
        SQLite::Statement& review = store.Prepared(store.insert_review, kInsertReview);
        review.bind(1, id);
        review.bind(2, now);
        review.bind(3, static_cast<int>(grade));
        review.bindNoCopy(4, ModeName(mode));
        review.exec();
        transaction.commit();
      },
      true);
}

bool Journal::Add(std::string_view english, std::string_view chinese, std::string_view book,
                  std::int64_t now) {
  Store& store = *store_;
  return store.Use(
      [&](SQLite::Database&) {
        SQLite::Statement& add = store.Prepared(store.add_word, kAddWord);
        add.bind(1, std::string(english));
        add.bind(2, std::string(chinese));
        add.bind(3, std::string(book));
        add.bind(4, now);
        add.exec();
      },
      true);
}

std::vector<JournalWord> Journal::ReviewSet(int count) {
  std::vector<JournalWord> words;
  store_->Use(
      [&](SQLite::Database& database) {
        words.clear();
        SQLite::Statement query(database, "SELECT " VANTLE_WORD_COLUMNS
                                          " FROM words AS w ORDER BY w.due, w.id "
                                          "LIMIT ?1");
        query.bind(1, std::max(count, 0));
        while (query.executeStep()) words.push_back(ReadWord(query));
      },
      false);
  return words;
}

JournalCounts Journal::Counts(std::int64_t now) {
  JournalCounts counts;
  store_->Use(
      [&](SQLite::Database& database) {
        counts.words = database.execAndGet("SELECT count(*) FROM words").getInt();
        SQLite::Statement due(database, "SELECT count(*) FROM words WHERE due <= ?1");
        due.bind(1, now);
        counts.due = due.executeStep() ? due.getColumn(0).getInt() : 0;
      },
      false);
  return counts;
}

Overview Journal::ReadOverview(std::int64_t now, int utc_offset_seconds) {
  Overview overview;
  store_->Use(
      [&](SQLite::Database& database) {
        Overview read;
        const std::int64_t today = FloorDiv(now + utc_offset_seconds, kSecondsPerDay);
        SQLite::Statement words(database, "SELECT due, stability FROM words");
        while (words.executeStep()) {
          std::int64_t due = words.getColumn(0).getInt64();
          ++read.practised;
          if (due <= now) ++read.due_now;
          if (due <= now + 7 * kSecondsPerDay) ++read.due_within_week;
          if (words.getColumn(1).getDouble() >= kLearnedStabilityDays) ++read.learned;
          std::int64_t day = FloorDiv(due + utc_offset_seconds, kSecondsPerDay) - today;
          if (day < kChartDays)
            ++read.due_per_day[static_cast<std::size_t>(std::max<std::int64_t>(day, 0))];
        }
        // The answers of the chart's days: from the start of the local day 29 days ago to the end
        // of today.
        const std::int64_t first_day = today - (kChartDays - 1);
        SQLite::Statement reviews(
            database,
            "SELECT reviewed_at, grade FROM reviews WHERE reviewed_at >= ?1 AND reviewed_at < ?2");
        reviews.bind(1, first_day * kSecondsPerDay - utc_offset_seconds);
        reviews.bind(2, (today + 1) * kSecondsPerDay - utc_offset_seconds);
        while (reviews.executeStep()) {
          std::int64_t day =
              FloorDiv(reviews.getColumn(0).getInt64() + utc_offset_seconds, kSecondsPerDay) -
              first_day;
          ++read.reviews_per_day[static_cast<std::size_t>(day)];
          ++read.reviews_last_30_days;
          if (reviews.getColumn(1).getInt() == static_cast<int>(Grade::Good))
            ++read.good_last_30_days;
        }
        SQLite::Statement missed(database, kMostMissed);
        missed.bind(1, kMostMissedCount);
        while (missed.executeStep()) {
          JournalWord word = ReadWord(missed);
          read.most_missed.push_back(
              {std::move(word.english), std::move(word.chinese), word.misses});
        }
        overview = std::move(read);
      },
      false);
  return overview;
}

std::vector<JournalWord> Journal::List(Listing listing, std::int64_t now) {
  std::vector<JournalWord> words;
  store_->Use(
      [&](SQLite::Database& database) {
        words.clear();
        const char* sql = nullptr;
        switch (listing) {
          case Listing::All:
            sql = "SELECT " VANTLE_WORD_COLUMNS " FROM words AS w ORDER BY w.english, w.chinese";
            break;
          case Listing::Due:
            sql = "SELECT " VANTLE_WORD_COLUMNS
                  " FROM words AS w WHERE w.due <= ?1 ORDER BY w.due, w.id";
            break;
          case Listing::Missed:
            sql = kMostMissed;
            break;
        }
        SQLite::Statement query(database, sql);
        if (listing == Listing::Due) query.bind(1, now);
        if (listing == Listing::Missed) query.bind(1, -1);  // no limit
        while (query.executeStep()) words.push_back(ReadWord(query));
      },
      false);
  return words;
}

JournalStatus Journal::Status() const {
  return store_->status;
}

std::string Journal::TakeNotice() {
  return std::exchange(store_->notice, {});
}

const std::filesystem::path& Journal::Path() const {
  return store_->path;
}

}  // namespace progress
