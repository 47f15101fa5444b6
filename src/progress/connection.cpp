#include "progress/connection.h"

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <utility>

#include "progress/statements.h"

namespace progress {
namespace {

static_assert(sql::kSchemaStepCount == kSchemaVersion);

// A schema that could not be brought up to this version.
struct MigrationFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The "file:" name SQLite reads `path` under, with `query`; the characters a URI gives a
// meaning are escaped.
std::string FileUri(const std::filesystem::path& path, const char* query) {
  std::string uri = "file:";
  for (char c : std::filesystem::absolute(path).string()) {
    if (c == '%' || c == '?' || c == '#') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      uri += escaped;
    } else {
      uri += c;
    }
  }
  return uri + "?" + query;
}

JournalFailure OutOfRoomAt(const std::filesystem::path& path) {
  JournalFailure failure = JournalFailed("磁盘已满（" + path.string() + "）", path);
  failure.out_of_room = true;
  return failure;
}

}  // namespace

std::string Where(const std::filesystem::path& path) {
  return "（" + path.string() + "）";
}

JournalFailure Explained(const SQLite::Exception& error, SQLite::Database* database,
                         const std::filesystem::path& path) {
  const int code = error.getErrorCode() & 0xff;
  const int system_error = database ? sqlite3_system_errno(database->getHandle()) : 0;
  const char* fallback = nullptr;
  switch (code) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: {
      JournalFailure failure = JournalFailed("学习记录已损坏" + Where(path), path);
      failure.damaged = true;
      return failure;
    }
    case SQLITE_FULL:
      return OutOfRoomAt(path);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return JournalFailed("文件正被另一个程序占用" + Where(path), path);
    case SQLITE_READONLY:
      fallback = "文件只读";
      break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      fallback = "没有写入的权限";
      break;
    case SQLITE_CANTOPEN:
      fallback = "文件打不开";
      break;
    case SQLITE_IOERR:
      fallback = "读写出错";
      break;
    default:
      return JournalFailed(error.what() + Where(path), path);
  }
  // The system knows better than SQLite why a file could not be opened or written.
  if (code == SQLITE_IOERR && (disk::MeansNoRoom(system_error) || disk::OutOfRoom(path)))
    return OutOfRoomAt(path);
  if (code != SQLITE_IOERR)
    if (std::string why = disk::WriteObstacle(path); !why.empty()) return JournalFailed(why, path);
  if (system_error) return JournalFailed(disk::ErrorReason(system_error) + Where(path), path);
  return JournalFailed(fallback + Where(path), path);
}

namespace {

JournalFailure NewerSchema(int version, const std::filesystem::path& path) {
  return JournalFailed("学习记录是较新版本的 Vantle 写的（格式 " + std::to_string(version) +
                           "，本版只认得格式 " + std::to_string(kSchemaVersion) +
                           "），为免弄坏它，本版不读也不写",
                       path, JournalCondition::NewerSchema);
}

// Whether a program may be writing the journal: its log, or a rollback journal, is there.
bool InUse(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(LogOf(path), error) ||
         std::filesystem::exists(std::filesystem::path(path) += "-journal", error);
}

JournalResult<Connection> AsRead(JournalResult<Connection> opened) {
  if (!opened && opened.Failed().condition == JournalCondition::CannotWrite)
    opened.Failed().condition = JournalCondition::CannotRead;
  return opened;
}

}  // namespace

std::filesystem::path LogOf(const std::filesystem::path& journal) {
  std::filesystem::path log = journal;
  return log += "-wal";
}

std::filesystem::path LogIndexOf(const std::filesystem::path& journal) {
  std::filesystem::path index = journal;
  return index += "-shm";
}

std::filesystem::path AsideName(const std::filesystem::path& journal, std::string_view why) {
  const std::string stem =
      journal.stem().string() + "." + std::string(why) + "-" + disk::LocalTimeStamp();
  std::filesystem::path aside;
  for (int n = 1; n < 100; ++n) {
    aside = journal.parent_path() /
            ((n == 1 ? stem : stem + "-" + std::to_string(n)) + journal.extension().string());
    std::error_code error;
    if (!std::filesystem::exists(aside, error) && !std::filesystem::exists(LogOf(aside), error))
      break;
  }
  return aside;
}

JournalFailure JournalFailed(std::string reason, const std::filesystem::path& file,
                             JournalCondition condition) {
  JournalFailure failure;
  failure.reason = std::move(reason);
  failure.file = file.string();
  failure.condition = condition;
  return failure;
}

bool IsDamage(const SQLite::Exception& error) {
  const int code = error.getErrorCode() & 0xff;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

void Migrate(SQLite::Database& database) {
  try {
    SQLite::Transaction transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
    // Another program may have brought it up to date while this one waited.
    const int version = database.execAndGet(sql::kUserVersion).getInt();
    for (int step = version; step < kSchemaVersion; ++step) database.exec(sql::kSchemaSteps[step]);
    database.exec(std::string(sql::kUserVersion) + " = " + std::to_string(kSchemaVersion));
    transaction.commit();
  } catch (const SQLite::Exception& error) {
    if (IsDamage(error) || (error.getErrorCode() & 0xff) != SQLITE_ERROR) throw;
    throw MigrationFailed("学习记录无法升级到格式 " + std::to_string(kSchemaVersion) + "：" +
                          error.what());
  }
}

JournalResult<> ReadyToWrite(const std::filesystem::path& path) {
  if (path.empty()) return JournalFailed("不知道用户的数据文件夹在哪里（HOME 未设置）", path);
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return JournalFailed(disk::ErrorReason(error.value()) + Where(folder), path);
  if (std::string why = disk::WriteObstacle(path); !why.empty()) return JournalFailed(why, path);
  return {};
}

Connection::Connection(std::filesystem::path path, std::unique_ptr<SQLite::Database> database,
                       bool writing)
    : path_(std::move(path)), database_(std::move(database)), writing_(writing) {}

Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;

Connection::~Connection() {
  if (database_ && writing_ && !StillAtPath())
    LetGo();
  else
    Close(true);
}

JournalResult<Connection> Connection::Open(const std::filesystem::path& path,
                                           const std::string& uri, int flags, bool writing) {
  Connection connection(path, nullptr, writing);
  try {
    connection.database_ =
        std::make_unique<SQLite::Database>(uri, flags | SQLite::OPEN_URI, kBusyTimeoutMs);
    connection.identity_ = disk::IdentityOf(path);
    // The first read of the file: a file that is not SQLite fails here.
    connection.version_ = connection.database_->execAndGet(sql::kUserVersion).getInt();
  } catch (const SQLite::Exception& error) {
    JournalFailure failure = connection.Explain(error);
    connection.Close(false);
    return failure;
  }
  if (connection.version_ > kSchemaVersion) {
    connection.Close(false);  // a file of another program's making is left exactly as it is
    return NewerSchema(connection.version_, path);
  }
  return connection;
}

JournalResult<Connection> Connection::ForReading(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    if (error) return JournalFailed(disk::ErrorReason(error.value()) + Where(path), path);
    return Connection(path, nullptr, false);  // nothing to read yet
  }
  // With no log beside it, no program has the file open to write it: it is read as it stands,
  // which makes no file beside it (SQLite makes a log and an index for a reader otherwise).
  if (!InUse(path)) return FileAlone(path);
  JournalResult<Connection> opened = Open(path, FileUri(path, "mode=ro"), SQLite::OPEN_READONLY);
  // A log with no index beside it in a folder that cannot hold one: the file alone is read.
  if (!opened && opened.Failed().condition == JournalCondition::CannotWrite &&
      !opened.Failed().damaged && !std::filesystem::exists(LogIndexOf(path), error))
    return FileAlone(path);
  return AsRead(std::move(opened));
}

JournalResult<Connection> Connection::FileAlone(const std::filesystem::path& path) {
  JournalResult<Connection> opened =
      Open(path, FileUri(path, "immutable=1"), SQLite::OPEN_READONLY);
  if (opened) opened->alone_ = true;
  return AsRead(std::move(opened));
}

JournalResult<Connection> Connection::ForWriting(const std::filesystem::path& path) {
  JournalResult<Connection> opened =
      Open(path, FileUri(path, "mode=rwc"), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE, true);
  if (!opened) return opened;
  Connection& connection = *opened;
  if (sqlite3_db_readonly(connection.database_->getHandle(), "main") == 1) {
    const std::string why = disk::WriteObstacle(path);
    return JournalFailed(why.empty() ? "文件只读" + Where(path) : why, path);
  }
  try {
    connection.SetUpForWriting();
  } catch (const MigrationFailed& error) {
    return JournalFailed(error.what(), path);
  } catch (const SQLite::Exception& error) {
    return connection.Explain(error);
  }
  connection.log_identity_ = disk::IdentityOf(LogOf(path));
  return opened;
}

void Connection::SetUpForWriting() {
  // Turning a new file to WAL needs the file alone, and SQLite does not wait for that: when
  // another program opens its first journal at the same moment, try again shortly.
  for (int tries = 1;; ++tries) {
    try {
      database_->exec(sql::kToWal);
      break;
    } catch (const SQLite::Exception& error) {
      if ((error.getErrorCode() & 0xff) != SQLITE_BUSY || tries * 10 >= kBusyTimeoutMs) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  const bool wal = database_->execAndGet(sql::kJournalMode).getString() == "wal";
  database_->exec(wal ? sql::kSyncedByUs : sql::kSyncedBySqlite);
  database_->exec(sql::kLogSizeLimit);
  if (version_ < kSchemaVersion) {
    Migrate(*database_);
    version_ = kSchemaVersion;
  }
}

bool Connection::HasFile() const {
  return database_ != nullptr;
}

bool Connection::Empty() {
  if (!database_) return true;
  // A file with no journal yet may have been given one since.
  if (version_ == 0) version_ = database_->execAndGet(sql::kUserVersion).getInt();
  return version_ == 0;
}

SQLite::Database& Connection::Database() {
  return *database_;
}

SQLite::Statement& Connection::Prepared(const char* sql) {
  std::unique_ptr<SQLite::Statement>& slot = prepared_[sql];
  if (!slot) slot = std::make_unique<SQLite::Statement>(*database_, sql);
  slot->tryReset();  // a statement that failed last time reports it here: done with
  slot->clearBindings();
  return *slot;
}

bool Connection::StillAtPath() const {
  // A file read alone is read anew once a program has begun to write it.
  return disk::IdentityOf(path_) == identity_ && !(alone_ && InUse(path_));
}

void Connection::LetGo() {
  if (!database_) return;
  prepared_.clear();
  bool emptied = false;
  try {
    SQLite::Statement empty(*database_, sql::kEmptyLog);
    emptied = empty.executeStep() && empty.getColumn(0).getInt() == 0;
  } catch (const SQLite::Exception&) {
    // A damaged file, or a log another program holds: set aside below.
  }
  if (!emptied) SetLogAside();
  Close(false);
}

void Connection::SetLogAside() {
  const std::filesystem::path log = LogOf(path_);
  if (!log_identity_ || disk::IdentityOf(log) != log_identity_) return;  // not this one's
  try {
    // What this connection reads, its file with the log, copied whole; then the log goes.
    SQLite::Database copy(AsideName(path_, "replaced"),
                          SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    SQLite::Backup(copy, *database_).executeStep();
    std::error_code error;
    std::filesystem::remove(log, error);
    std::filesystem::remove(LogIndexOf(path_), error);
  } catch (const std::exception&) {
    // No copy: the log stays where it is rather than be lost.
  }
}

void Connection::Close(bool checkpoint) {
  prepared_.clear();
  if (database_ && !checkpoint)
    sqlite3_db_config(database_->getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  database_.reset();
}

JournalFailure Connection::Explain(const SQLite::Exception& error) const {
  return Explained(error, database_.get(), path_);
}

}  // namespace progress
