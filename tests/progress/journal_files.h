// What the journal tests share: a journal in a temporary folder, and SQL run on its file by
// hand, as a learner would with sqlite3.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

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
