#include "progress/damage.h"

#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "progress/connection.h"
#include "progress/disk.h"
#include "progress/rows.h"
#include "progress/statements.h"
#include "text/text.h"

namespace progress {
namespace {

// The write-ahead log as SQLite's file format lays it out: a header of 32 bytes, then frames
// of a 24-byte header and a page each. Its numbers are big-endian; the low bit of its magic
// number says in which order its checksums read the bytes.
constexpr std::size_t kLogHeaderSize = 32;
constexpr std::size_t kFrameHeaderSize = 24;
constexpr std::uint32_t kLogMagic = 0x377f0682;

std::uint32_t BigEndian(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

std::uint32_t LittleEndian(const unsigned char* bytes) {
  return std::uint32_t{bytes[3]} << 24 | std::uint32_t{bytes[2]} << 16 |
         std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[0]};
}

// SQLite's running checksum of the log: over the header, then over each frame's first 8
// bytes and its page, each frame's checksum continuing the one before.
struct LogChecksum {
  bool big_endian = false;
  std::uint32_t first = 0;
  std::uint32_t second = 0;

  void Add(const unsigned char* bytes, std::size_t size) {
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
      first += (big_endian ? BigEndian(bytes + i) : LittleEndian(bytes + i)) + second;
      second += (big_endian ? BigEndian(bytes + i + 4) : LittleEndian(bytes + i + 4)) + first;
    }
  }
  bool Matches(const unsigned char* stored) const {
    return BigEndian(stored) == first && BigEndian(stored + 4) == second;
  }
};

// SQLite's quick check of the connection's file: whether it passed. Fails when it could not
// run (the file busy, say), which is no verdict.
JournalResult<bool> PassesQuickCheck(Connection& connection) {
  if (!connection.HasFile()) return true;
  try {
    SQLite::Statement check(connection.Database(), sql::kQuickCheck);
    return check.executeStep() && check.getColumn(0).getString() == "ok";
  } catch (const SQLite::Exception& error) {
    if (IsDamage(error)) return false;
    return connection.Explain(error);
  }
}

// Keeps other programs from writing the journal while it is copied and replaced, by taking
// SQLite's write lock on it; they wait, then find the new journal. Only where a log is there:
// with none, no program has the file open to write it (and on a rollback journal, taking the
// lock may make SQLite roll an interrupted change back into the file before it is copied).
// Where the lock cannot be had, the copy goes ahead.
class WriteLock {
 public:
  explicit WriteLock(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(LogOf(path), error)) return;
    try {
      database_ = std::make_unique<SQLite::Database>(path, SQLite::OPEN_READWRITE, kBusyTimeoutMs);
      sqlite3_db_config(database_->getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
      database_->exec(sql::kHoldWriteLock);
    } catch (const SQLite::Exception&) {
      // Damage where SQLite reads to take the lock: no other program can write there either.
    }
  }
  ~WriteLock() {
    if (database_) database_->tryExec(sql::kLetGoOfLock);
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

 private:
  std::unique_ptr<SQLite::Database> database_;
};

// Copies the journal at `path`, with its log and the log's index where they are, byte for
// byte under a free name with the time. Gives the copy's path.
JournalResult<std::filesystem::path> CopyAside(const std::filesystem::path& path) {
  const std::filesystem::path aside = AsideName(path, "damaged");
  const std::pair<std::filesystem::path, std::filesystem::path> files[] = {
      {path, aside}, {LogOf(path), LogOf(aside)}, {LogIndexOf(path), LogIndexOf(aside)}};
  for (const auto& [from, to] : files) {
    std::error_code missing;
    if (from != path && !std::filesystem::exists(from, missing)) continue;
    if (const int error = disk::CopyFile(from, to))
      return JournalFailed(
          "学习记录已损坏，也无法保存副本：" + disk::ErrorReason(error) + Where(to), path);
  }
  disk::SyncFolder(aside.parent_path());
  return aside;
}

void RemoveLog(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(LogOf(path), error);
  std::filesystem::remove(LogIndexOf(path), error);
}

// The first rowid from which `sql` reads again, past `failed`, from which it did not: found by
// halving, as rowids on a damaged page do not read and those past it do. None when nothing
// past it reads.
std::optional<std::int64_t> FirstReadableFrom(SQLite::Database& database, const char* sql,
                                              std::int64_t failed) {
  auto reads = [&](std::int64_t from) {
    try {
      SQLite::Statement probe(database, sql);
      probe.bind(":from", from);
      probe.executeStep();
      return true;
    } catch (const SQLite::Exception&) {
      return false;
    }
  };
  auto apart = [](std::int64_t low, std::int64_t high) {
    return static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
  };
  std::int64_t low = failed;
  std::int64_t high = std::numeric_limits<std::int64_t>::max();
  if (low == high || !reads(high)) return std::nullopt;
  while (apart(low, high) > 1) {
    const std::int64_t middle = low + static_cast<std::int64_t>(apart(low, high) / 2);
    (reads(middle) ? high : low) = middle;
  }
  return high;
}

// Every row `sql` (rows in rowid order from :from) can still read, read by `read`: where a
// row cannot be read, the reading goes on from the first rowid that can.
template <class Row>
std::vector<Row> ReadableRows(SQLite::Database& database, const char* sql,
                              Row (*read)(const SQLite::Statement&)) {
  std::vector<Row> rows;
  std::optional<std::int64_t> from = std::numeric_limits<std::int64_t>::min();
  while (from) {
    try {
      SQLite::Statement scan(database, sql);
      scan.bind(":from", *from);
      while (scan.executeStep()) {
        rows.push_back(read(scan));
        if (rows.back().id == std::numeric_limits<std::int64_t>::max()) return rows;
        from = rows.back().id + 1;
      }
      return rows;
    } catch (const SQLite::Exception&) {
      from = FirstReadableFrom(database, sql, *from);
    }
  }
  return rows;
}

// What a damaged journal still holds, and how much of it the new journal kept.
struct Salvaged {
  std::vector<StoredWord> words;
  std::vector<StoredReview> reviews;
  int words_kept = 0;
  int reviews_kept = 0;
};

Salvaged ReadWhatCanBeRead(const std::filesystem::path& path) {
  Salvaged salvaged;
  JournalResult<Connection> from = Connection::ForReading(path);
  try {
    if (!from || from->Empty()) return salvaged;
  } catch (const SQLite::Exception&) {
    return salvaged;  // not even its version reads
  }
  salvaged.words = ReadableRows(from->Database(), sql::kWordsFrom, &ReadStoredWord);
  salvaged.reviews = ReadableRows(from->Database(), sql::kReviewsFrom, &ReadStoredReview);
  return salvaged;
}

// Writes the rows into `database`, a new journal, in one transaction: the words under their
// old ids, and the answers to the words kept.
void Keep(Salvaged& salvaged, SQLite::Database& database) {
  SQLite::Transaction transaction(database);
  std::set<std::int64_t> kept;
  SQLite::Statement word(database, sql::kKeepWord);
  for (const StoredWord& w : salvaged.words) {
    BindStoredWord(word, w);
    if (word.exec() == 1) kept.insert(w.id);
    word.reset();
  }
  SQLite::Statement review(database, sql::kKeepReview);
  for (const StoredReview& r : salvaged.reviews) {
    if (!kept.count(r.word_id)) continue;
    BindStoredReview(review, r);
    salvaged.reviews_kept += review.exec();
    review.reset();
  }
  // Words of a journal of version 1 come in as the schema step would bring them.
  database.exec(sql::kPutUpUnanswered);
  transaction.commit();
  salvaged.words_kept = static_cast<int>(kept.size());
}

// Makes, beside the damaged journal at `path`, a new journal of all that can be read of it,
// and gives it that journal's name. The damaged one has been copied aside.
JournalResult<Salvaged> Salvage(const std::filesystem::path& path) {
  Salvaged salvaged = ReadWhatCanBeRead(path);
  std::filesystem::path made = path;
  made.replace_filename(text::Concat({".", path.filename().string(), ".new"}));
  std::error_code error;
  std::filesystem::remove(made, error);
  std::filesystem::remove(std::filesystem::path(made) += "-journal", error);
  try {
    SQLite::Database database(made, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    try {
      database.exec(sql::kNoLog);
      database.exec(sql::kSyncedBySqlite);
      Migrate(database);
      Keep(salvaged, database);
    } catch (const SQLite::Exception& failed) {
      return Explained(failed, &database, made);
    }
  } catch (const std::exception& failed) {
    return JournalFailed(std::string("学习记录已损坏，新的记录无法写入：") + failed.what(), made);
  }
  // The damaged file's log must not be read into the new one.
  RemoveLog(path);
  std::filesystem::rename(made, path, error);
  if (error)
    return JournalFailed(
        "新的学习记录无法放到原处：" + disk::ErrorReason(error.value()) + Where(path), path);
  disk::SyncFolder(path.parent_path());
  return salvaged;
}

// Whether the file alone, its log left out, is sound where the two together are not: a log
// that is not the file's (a backup put in its place) or is itself damaged.
bool OnlyTheLogIsDamaged(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t log_size = std::filesystem::file_size(LogOf(path), error);
  if (error || log_size <= kLogHeaderSize) return false;
  JournalResult<Connection> alone = Connection::FileAlone(path);
  if (!alone) return false;
  const JournalResult<bool> sound = PassesQuickCheck(*alone);
  return sound && *sound;
}

JournalResult<std::string> ReplaceDamaged(const std::filesystem::path& path) {
  const WriteLock lock(path);
  const JournalResult<std::filesystem::path> copy = CopyAside(path);
  if (!copy) return copy.Failed();
  const std::string name = "（" + copy->filename().string() + "）";
  if (OnlyTheLogIsDamaged(path)) {
    RemoveLog(path);
    return "学习记录的日志与文件不符或已损坏：已保存副本，记录从文件本身接着写" + name;
  }
  const JournalResult<Salvaged> salvaged = Salvage(path);
  if (!salvaged) return salvaged.Failed();
  return "学习记录已损坏：已保存副本，恢复了 " + std::to_string(salvaged->words_kept) +
         " 个单词、" + std::to_string(salvaged->reviews_kept) + " 次复习" + name;
}

}  // namespace

bool LogLosesAnswers(const std::filesystem::path& log) {
  std::ifstream file(log, std::ios::binary);
  unsigned char header[kLogHeaderSize];
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  const std::uint32_t magic = BigEndian(header);
  const std::uint32_t page_size = BigEndian(header + 8);
  LogChecksum checksum{(magic & 1) != 0};
  checksum.Add(header, kLogHeaderSize - 8);
  if ((magic & ~1u) != kLogMagic || page_size < 512 || page_size > 65536 ||
      (page_size & (page_size - 1)) != 0 || !checksum.Matches(header + 24)) {
    // SQLite reads nothing of a log whose header is damaged: whatever follows it is lost.
    return file.peek() != std::ifstream::traits_type::eof();
  }
  std::vector<unsigned char> frame(kFrameHeaderSize + page_size);
  bool chained = true;  // every frame so far is one SQLite reads
  while (file.read(reinterpret_cast<char*>(frame.data()),
                   static_cast<std::streamsize>(frame.size()))) {
    // A frame of this log, not one left from before its last restart, which has other salts.
    const bool current = BigEndian(&frame[8]) == BigEndian(header + 16) &&
                         BigEndian(&frame[12]) == BigEndian(header + 20);
    const bool commits = BigEndian(&frame[4]) != 0;
    if (chained) {
      checksum.Add(frame.data(), 8);
      checksum.Add(frame.data() + kFrameHeaderSize, page_size);
      chained = current && checksum.Matches(&frame[16]);
    } else if (current && commits) {
      return true;
    }
  }
  return false;
}

JournalResult<Health> Examine(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return Health::Sound;
  const Health log = LogLosesAnswers(LogOf(path)) ? Health::DamagedLog : Health::Sound;
  JournalResult<Connection> opened = Connection::ForReading(path);
  if (!opened) {
    if (opened.Failed().damaged) return Health::Damaged;
    return opened.Failed();
  }
  const JournalResult<bool> sound = PassesQuickCheck(*opened);
  if (!sound) return sound.Failed();
  return *sound ? log : Health::Damaged;
}

JournalResult<std::string> MakeFitToWrite(const std::filesystem::path& path) {
  const JournalResult<Health> health = Examine(path);
  if (!health) return health.Failed();
  if (*health == Health::Sound) return std::string();
  if (*health == Health::Damaged) return ReplaceDamaged(path);
  const JournalResult<std::filesystem::path> copy = CopyAside(path);
  if (!copy) return copy.Failed();
  return "学习记录的日志有损坏，其中损坏处之后的答案读不出来：已保存副本（" +
         copy->filename().string() + "）";
}

}  // namespace progress
