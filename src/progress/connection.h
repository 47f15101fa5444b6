// A connection to the journal's file, knowing which file it opened. A reading connection is
// read-only and makes, migrates or converts nothing; a writing one has brought the file to
// this program's schema in WAL mode. Either notices when its path comes to name another file
// (renamed, or replaced by a backup), and a writing one then lets go of its old file without
// touching the files now at the path.
#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "progress/disk.h"
#include "progress/journal.h"

namespace progress {

// Long enough for another program's answer to be written, short enough not to stall a round.
inline constexpr int kBusyTimeoutMs = 3000;

// The journal's log (SQLite's write-ahead log) and its index, beside the file.
std::filesystem::path LogOf(const std::filesystem::path& journal);
std::filesystem::path LogIndexOf(const std::filesystem::path& journal);

// A free name beside the journal for a copy of it, with `why` and the time in it:
// progress.damaged-20260308-101500.sqlite3 (then ...-2.sqlite3 and so on).
std::filesystem::path AsideName(const std::filesystem::path& journal, std::string_view why);

// "（path）", as the learner's lines name a file.
std::string Where(const std::filesystem::path& path);

// What SQLite's failure `error` on the journal at `path` means to the learner; `database`
// (when open) tells the system's reason for a failed read or write.
JournalFailure Explained(const SQLite::Exception& error, SQLite::Database* database,
                         const std::filesystem::path& path);

// A failure of the journal at `file`, `reason` being the line the learner reads.
JournalFailure JournalFailed(std::string reason, const std::filesystem::path& file,
                             JournalCondition condition = JournalCondition::CannotWrite);
// Whether SQLite found the file damaged.
bool IsDamage(const SQLite::Exception& error);

// Brings `database` up to kSchemaVersion in one transaction, running the steps it lacks.
void Migrate(SQLite::Database& database);

// Makes the journal's folder when it is missing, and says what keeps the journal from being
// written there (a read-only folder or file, no permission).
JournalResult<> ReadyToWrite(const std::filesystem::path& path);

class Connection {
 public:
  // The journal at `path` to read, read-only: through its log while a program may be writing
  // it, else as a file nobody changes (which makes no file beside it), read anew once a
  // program begins to write it. A connection with no database when there is no file yet.
  static JournalResult<Connection> ForReading(const std::filesystem::path& path);
  // The file at `path` alone, its log left aside, read-only: for telling whether the damage
  // is in the file or in its log.
  static JournalResult<Connection> FileAlone(const std::filesystem::path& path);
  // The journal at `path` to write, made when missing (ReadyToWrite has made its folder):
  // brought to this schema, in WAL mode, its log synced by the caller.
  static JournalResult<Connection> ForWriting(const std::filesystem::path& path);

  Connection(Connection&&) noexcept;
  Connection& operator=(Connection&&) noexcept;
  // Closes; a writing connection whose file has left the path lets go of it first.
  ~Connection();

  // Whether a file was there to open.
  bool HasFile() const;
  // Whether there is nothing to read: no file, or a file with no journal in it (version 0).
  bool Empty();
  SQLite::Database& Database();
  // The statement `sql` (one of the statements of statements.h), prepared once and kept,
  // reset and with its bindings cleared.
  SQLite::Statement& Prepared(const char* sql);
  // Whether the path still names the file this connection has open.
  bool StillAtPath() const;
  // For a writing connection whose file has left the path: moves its log into its own file
  // and empties it, so that the file now at the path never gets it; a log that cannot be
  // emptied (another program is reading it) is copied aside first and then removed from the
  // path. Closes without touching anything else.
  void LetGo();
  // What the failure `error` of this connection means, in the learner's words.
  JournalFailure Explain(const SQLite::Exception& error) const;

 private:
  Connection(std::filesystem::path path, std::unique_ptr<SQLite::Database> database, bool writing);
  // Opens `uri` with `flags` and reads the file's version: the connection, or why not.
  static JournalResult<Connection> Open(const std::filesystem::path& path, const std::string& uri,
                                        int flags, bool writing = false);
  void SetUpForWriting();
  void Close(bool checkpoint);
  void SetLogAside();

  std::filesystem::path path_;
  std::unique_ptr<SQLite::Database> database_;  // none: no file when opened
  bool writing_ = false;
  bool alone_ = false;  // the file read alone, as nobody changes it
  int version_ = 0;
  std::optional<disk::FileIdentity> identity_;      // of the file, as opened
  std::optional<disk::FileIdentity> log_identity_;  // of its log, once in WAL mode
  std::map<const char*, std::unique_ptr<SQLite::Statement>> prepared_;
};

}  // namespace progress
