// The journal keeps the learner's work whatever happens to the program or the file: killed
// while writing, two programs at once, a damaged file, a newer or older schema, a folder that
// cannot be written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "journal_files.h"
#include "progress/journal.h"

namespace {

using journal_files::kStart;
using progress::Grade;
using progress::Journal;
using progress::JournalCondition;
using progress::Mode;

using SafetyTest = journal_files::JournalTest;

std::string Word(int i) {
  return kit::Numbered("w", i % 50);
}

TEST_F(SafetyTest, StoppedWhileRecordingTheFileHoldsAllButTheAnswerInFlight) {
  struct Row {
    const char* what;
    bool killed;        // killed by the test after 300 answers, with kill -9
    rlim_t file_limit;  // else stopped by a write that fails, as on a full disk
  } rows[] = {{"killed while recording", true, RLIM_INFINITY},
              {"files that cannot grow past 64 KiB", false, 64 * 1024}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(Path().parent_path());
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Records answer after answer, telling the parent of each one committed. A write that
      // fails must stop recording, say why, and leave the journal readable.
      close(pipe_ends[0]);
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{row.file_limit, row.file_limit};
      setrlimit(RLIMIT_FSIZE, &limit);
      Journal journal(Path());
      for (int i = 0;; ++i) {
        if (!journal.Record(Word(i), "义", "", i % 3 ? Grade::Good : Grade::Again, Mode::Match,
                            kStart + i))
          _exit(journal.Status().condition == JournalCondition::CannotWrite &&
                        !journal.Status().text.empty() && journal.Counts(kStart).words > 0
                    ? 0
                    : 2);
        if (write(pipe_ends[1], &i, sizeof i) != sizeof i) _exit(1);
      }
    }
    close(pipe_ends[1]);
    int committed = -1;
    for (int i; (!row.killed || committed < 300) && read(pipe_ends[0], &i, sizeof i) == sizeof i;)
      committed = i;
    if (row.killed) kill(child, SIGKILL);
    for (int i; read(pipe_ends[0], &i, sizeof i) == sizeof i;) committed = i;
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(row.killed ? WIFSIGNALED(status) : WIFEXITED(status) && !WEXITSTATUS(status))
        << status;
    EXPECT_GE(committed, row.killed ? 300 : 0);

    SQLite::Database database(Path(), SQLite::OPEN_READWRITE);
    EXPECT_EQ(database.execAndGet("PRAGMA integrity_check").getString(), "ok");
    std::int64_t reviews = database.execAndGet("SELECT count(*) FROM reviews").getInt64();
    EXPECT_GE(reviews, committed + 1);
    EXPECT_LE(reviews, committed + 1 + row.killed);  // the one in flight may be in too
    EXPECT_EQ(database.execAndGet("SELECT sum(reps) FROM words").getInt64(), reviews);
  }
}

TEST_F(SafetyTest, TwoWritersAtOnceLoseNothing) {
  constexpr int kEach = 300;
  auto writer = [this](int first) {
    Journal journal(Path());
    for (int i = 0; i < kEach; ++i) {
      // Every third answer goes to a word both write, the rest to words of their own.
      std::string english = i % 3 ? kit::Numbered(Word(first + i) + "-", first) : "shared";
      EXPECT_TRUE(journal.Record(english, "义", "", Grade::Good, Mode::Quiz, kStart + i))
          << journal.Status().text;
    }
  };
  std::thread one(writer, 0), two(writer, 1);
  one.join();
  two.join();
  EXPECT_EQ(Sql("SELECT count(*) FROM reviews"), 2 * kEach);
  EXPECT_EQ(Sql("SELECT reps FROM words WHERE english = 'shared'"), 2 * kEach / 3);
  EXPECT_EQ(Sql("SELECT sum(reps) FROM words"), 2 * kEach);
}

// The words and answers of a journal's bytes that SQLite can read one by one, by their ids
// 1 to `count` (each answer to the word of its id): as "N 个单词、M 次复习".
std::string Readable(const std::filesystem::path& copy, const std::string& bytes, int count) {
  kit::WriteFile(copy, bytes);
  int words = 0, answers = 0;
  for (int id = 1; id <= count; ++id) {
    auto reads = [&](const char* table) {
      try {
        SQLite::Database database(copy, SQLite::OPEN_READONLY);
        return database
                   .execAndGet(std::string("SELECT count(*) FROM ") + table +
                               " WHERE id = " + std::to_string(id))
                   .getInt() == 1;
      } catch (const SQLite::Exception&) {
        return false;
      }
    };
    const bool word = reads("words");
    words += word;
    answers += word && reads("reviews");
  }
  return std::to_string(words) + " 个单词、" + std::to_string(answers) + " 次复习";
}

TEST_F(SafetyTest, DamagedFileIsSetAsideUnchangedAndANewJournalStarts) {
  constexpr int kWords = 400;
  // A journal with enough words and answers to fill several pages, then a page of `table`
  // (one of its leaves after the first) overwritten.
  auto overwritten_page = [this](const char* table) {
    return [this, table] {
      {
        Journal journal(Path());
        for (int i = 0; i < kWords; ++i)
          EXPECT_TRUE(journal.Record(kit::Numbered("word", i), "义", "", Grade::Good, Mode::Match,
                                     kStart + i));
      }
      std::string bytes = Bytes(Path());
      const std::size_t size = static_cast<std::size_t>(Sql("PRAGMA page_size"));
      const std::size_t page = static_cast<std::size_t>(
          Sql(std::string("SELECT pageno FROM dbstat WHERE name = '") + table +
              "' AND pagetype = 'leaf' ORDER BY pageno LIMIT 1 OFFSET 1"));
      EXPECT_GT(bytes.size(), 6 * size);
      bytes.replace((page - 1) * size, size, std::string(size, '\x5a'));
      return bytes;
    };
  };
  struct Row {
    const char* what;
    std::function<std::string()> bytes;
    bool unreadable;  // else the review set, 18 words, may miss the damaged page
  } rows[] = {
      {"not SQLite", [] { return std::string("enormous\r\n巨大的\r\n", 21); }, true},
      {"a page of the words overwritten", overwritten_page("words"), false},
      {"a page of an index overwritten", overwritten_page("words_by_due"), false},
      {"a page of the answers overwritten", overwritten_page("reviews"), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(Path().parent_path());
    std::string damaged = row.bytes();
    const std::string kept = Readable(dir_.Path() / "readable.sqlite3", damaged, kWords);
    kit::WriteFile(Path(), damaged);

    // Reading the damaged file changes nothing; the first answer finds the damage, copies the
    // file aside and starts a new journal with what could be read.
    Journal journal(Path());
    EXPECT_EQ(journal.ReviewSet().empty(), row.unreadable);
    if (row.unreadable) {
      EXPECT_EQ(journal.Status().condition, JournalCondition::CannotRead);
    }
    EXPECT_EQ(Bytes(Path()), damaged);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path().parent_path()), {}), 1)
        << "reading made no file beside it";
    EXPECT_TRUE(journal.Record("vast", "巨大的", "", Grade::Good, Mode::Match, kStart));
    const std::string notice = journal.TakeNotice();
    EXPECT_NE(notice.find("学习记录已损坏：已保存副本，恢复了 " + kept), std::string::npos)
        << notice;
    EXPECT_NE(notice.find("progress.damaged-"), std::string::npos) << notice;
    EXPECT_EQ(journal.Status().condition, JournalCondition::Recording);
    EXPECT_EQ(journal.TakeNotice(), "");  // said once
    EXPECT_EQ(journal.Counts(kStart).words, 1 + std::stoi(kept));
    EXPECT_EQ(SqlText("PRAGMA integrity_check"), "ok");

    std::vector<std::filesystem::path> aside;
    for (const auto& entry : std::filesystem::directory_iterator(Path().parent_path()))
      if (entry.path().filename().string().find(".damaged-") != std::string::npos)
        aside.push_back(entry.path());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_NE(notice.find(aside[0].filename().string()), std::string::npos);
    EXPECT_EQ(Bytes(aside[0]), damaged);
  }
}

TEST_F(SafetyTest, NewerSchemaIsNeitherReadNorWritten) {
  {
    Journal journal(Path());
    ASSERT_TRUE(journal.Record("vast", "巨大的", "", Grade::Good, Mode::Match, kStart));
  }
  Exec("PRAGMA user_version = " + std::to_string(progress::kSchemaVersion + 1));
  const std::string before = Bytes(Path());

  Journal journal(Path());
  EXPECT_FALSE(journal.Record("tiny", "微小的", "", Grade::Good, Mode::Match, kStart));
  EXPECT_FALSE(journal.Add("tiny", "微小的", "", kStart));
  EXPECT_TRUE(journal.ReviewSet().empty());
  EXPECT_EQ(journal.Status().condition, JournalCondition::NewerSchema);
  EXPECT_NE(journal.Status().text.find("格式 2"), std::string::npos) << journal.Status().text;
  EXPECT_EQ(Bytes(Path()), before);
}

TEST_F(SafetyTest, OlderSchemaMigratesInOneTransactionOrNotAtAll) {
  struct Row {
    const char* what;
    const char* made_by_hand;  // SQL run on a new file of version 0
    bool migrates;
  } rows[] = {
      {"an empty file", "", true},
      {"a file of tables of our own", "CREATE TABLE notes (text TEXT)", true},
      // The steps create words, then fail on reviews: words must go too.
      {"a file whose reviews table is in the way", "CREATE TABLE reviews (text TEXT)", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(Path().parent_path());
    kit::WriteFile(Path(), "");
    if (*row.made_by_hand) Exec(row.made_by_hand);

    Journal journal(Path());
    EXPECT_EQ(journal.Record("vast", "巨大的", "", Grade::Good, Mode::Match, kStart).Ok(),
              row.migrates);
    EXPECT_EQ(Sql("PRAGMA user_version"), row.migrates ? progress::kSchemaVersion : 0);
    EXPECT_EQ(Sql("SELECT count(*) FROM sqlite_master WHERE name = 'words'"), row.migrates);
    EXPECT_EQ(journal.Status().condition,
              row.migrates ? JournalCondition::Recording : JournalCondition::CannotWrite);
  }
}

TEST_F(SafetyTest, FolderThatCannotBeWrittenStopsRecordingAndSaysWhy) {
  struct Row {
    const char* what;
    bool needs_permissions;  // chmod stops no one running as root
    std::function<void()> make;
    bool words_readable;
  } rows[] = {
      {"a file where the folder should be", false,
       [this] { kit::WriteFile(Path().parent_path(), "not a folder"); }, false},
      {"a read-only folder", true,
       [this] {
         std::filesystem::create_directories(Path().parent_path());
         chmod(Path().parent_path().c_str(), 0555);
       },
       false},
      {"a read-only journal", true,
       [this] {
         EXPECT_TRUE(Journal(Path()).Add("vast", "巨大的", "", kStart));
         chmod(Path().c_str(), 0444);
       },
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.needs_permissions && geteuid() == 0) continue;
    std::filesystem::remove_all(Path().parent_path());
    row.make();

    Journal journal(Path());
    EXPECT_FALSE(journal.Record("tiny", "微小的", "", Grade::Good, Mode::Match, kStart));
    EXPECT_FALSE(journal.Add("tiny", "微小的", "", kStart));
    EXPECT_EQ(journal.ReviewSet().size(), row.words_readable ? 1u : 0u);
    EXPECT_EQ(journal.Status().condition, JournalCondition::CannotWrite);
    EXPECT_NE(journal.Status().text.find("不能记录学习进度："), std::string::npos)
        << journal.Status().text;
    chmod(Path().parent_path().c_str(), 0755);
  }
}

}  // namespace
