// What the journal tests share: a journal in a temporary folder, and SQL run on its file by
// hand, as a learner would with sqlite3.
#pragma once

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>
#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "kit/files.h"
#include "progress/journal.h"

namespace journal_files {

// 2026-01-01 00:00:00 UTC.
inline constexpr std::int64_t kStart = 1767225600;
inline constexpr std::int64_t kDay = 86400;

#ifdef __linux__
// While it lives, the thread that made it (and the threads it starts) is held to files'
// permissions as any user is: root's rights to write and search past them are set aside, so
// that a read-only folder or file stops the journal as it would stop the learner. Nothing
// changes for a program that is not root.
class HeldToPermissions {
 public:
  HeldToPermissions() {
    if (syscall(SYS_capget, &header_, kept_) != 0) return;
    __user_cap_data_struct held[2] = {kept_[0], kept_[1]};
    held[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
    held_ = syscall(SYS_capset, &header_, held) == 0;
  }
  ~HeldToPermissions() {
    if (held_) syscall(SYS_capset, &header_, kept_);
  }
  HeldToPermissions(const HeldToPermissions&) = delete;
  HeldToPermissions& operator=(const HeldToPermissions&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct kept_[2] = {};
  bool held_ = false;
};
#else
// Elsewhere no one is above files' permissions this way: nothing to set aside.
struct HeldToPermissions {};
#endif

class JournalTest : public ::testing::Test {
 protected:
  std::filesystem::path Path() const { return dir_.Path() / "vantle" / "progress.sqlite3"; }
  // The first column of the first row of `sql`, run on the file outside the journal.
  std::int64_t Sql(const std::string& sql) const {
    SQLite::Database database(Path(), SQLite::OPEN_READWRITE);
    return database.execAndGet(sql).getInt64();
  }
  std::string SqlText(const std::string& sql) const {
    SQLite::Database database(Path(), SQLite::OPEN_READWRITE);
    return database.execAndGet(sql).getString();
  }
  void Exec(const std::string& sql) const {
    SQLite::Database database(Path(), SQLite::OPEN_READWRITE);
    database.exec(sql);
  }
  static std::string Bytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }

  kit::TempDir dir_;
};

}  // namespace journal_files
