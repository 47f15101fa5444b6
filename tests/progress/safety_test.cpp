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
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "journal_files.h"
#include "progress/journal.h"
#include "progress/statements.h"

namespace {

using journal_files::kDay;
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
  // A journal of version 1: a word put up for review from the dictionary, one answered.
  const std::string version_one =
      progress::sql::kSchemaSteps[0] +
      "; INSERT INTO words (english, chinese, due) VALUES ('tiny', '微小的', 5);"
      "INSERT INTO words (english, chinese, due, last_review, reps, state) "
      "VALUES ('dim', '昏暗的', 1, 0, 1, 2); PRAGMA user_version = 1";
  struct Row {
    const char* what;
    std::string made_by_hand;  // SQL run on a new file of version 0
    bool migrates;
    std::vector<std::string> round;  // of a review round after
  } rows[] = {
      {"an empty file", "", true, {}},
      {"a file of tables of our own", "CREATE TABLE notes (text TEXT)", true, {}},
      // The steps create words, then fail on reviews: words must go too.
      {"a file whose reviews table is in the way", "CREATE TABLE reviews (text TEXT)", false, {}},
      // The word never answered was put up for review: it comes first.
      {"a journal of version 1", version_one, true, {"tiny", "dim"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(Path().parent_path());
    kit::WriteFile(Path(), "");
    if (!row.made_by_hand.empty()) Exec(row.made_by_hand);

    Journal journal(Path());
    EXPECT_EQ(journal.Record("vast", "巨大的", "", Grade::Good, Mode::Match, kStart).Ok(),
              row.migrates);
    EXPECT_EQ(Sql("PRAGMA user_version"), row.migrates ? progress::kSchemaVersion : 0);
    EXPECT_EQ(Sql("SELECT count(*) FROM sqlite_master WHERE name = 'words'"), row.migrates);
    EXPECT_EQ(journal.Status().condition,
              row.migrates ? JournalCondition::Recording : JournalCondition::CannotWrite);
    std::vector<std::string> round;
    for (const progress::JournalWord& w : journal.ReviewRound(kStart - kDay))
      round.push_back(w.english);
    EXPECT_EQ(round, row.round);
  }
}

TEST_F(SafetyTest, FolderThatCannotBeWrittenStopsRecordingAndSaysWhy) {
  std::optional<SQLite::Database> other;  // another program, in the middle of writing
  struct Row {
    const char* what;
    std::function<void()> make;
    bool words_readable;
    const char* says;
  } rows[] = {
      {"a file where the folder should be",
       [this] { kit::WriteFile(Path().parent_path(), "not a folder"); }, false,
       "路径上有一个同名的文件挡住了文件夹"},
      {"a read-only folder",
       [this] {
         std::filesystem::create_directories(Path().parent_path());
         chmod(Path().parent_path().c_str(), 0555);
       },
       false, "文件夹只读"},
      {"a read-only journal",
       [this] {
         EXPECT_TRUE(Journal(Path()).Add("vast", "巨大的", "", kStart));
         chmod(Path().c_str(), 0444);
       },
       true, "文件只读"},
      // SQLite would write beside the file; its words are still read as they stand.
      {"a read-only folder with a journal that can be written",
       [this] {
         EXPECT_TRUE(Journal(Path()).Add("vast", "巨大的", "", kStart));
         chmod(Path().parent_path().c_str(), 0555);
       },
       true, "文件夹只读"},
      {"a journal another program keeps writing",
       [&] {
         EXPECT_TRUE(Journal(Path()).Add("vast", "巨大的", "", kStart));
         other.emplace(Path(), SQLite::OPEN_READWRITE);
         other->exec("PRAGMA journal_mode = WAL; BEGIN IMMEDIATE");
       },
       true, "文件正被另一个程序占用"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    other.reset();
    std::filesystem::remove_all(Path().parent_path());
    {
      const journal_files::HeldToPermissions held;  // chmod stops root too
      row.make();
      Journal journal(Path());
      EXPECT_FALSE(journal.Record("tiny", "微小的", "", Grade::Good, Mode::Match, kStart));
      EXPECT_FALSE(journal.Add("tiny", "微小的", "", kStart));
      EXPECT_EQ(journal.ReviewSet().size(), row.words_readable ? 1u : 0u);
      EXPECT_EQ(journal.Status().condition, JournalCondition::CannotWrite);
      EXPECT_NE(journal.Status().text.find(std::string("不能记录学习进度：") + row.says),
                std::string::npos)
          << journal.Status().text;
    }
    chmod(Path().parent_path().c_str(), 0755);
  }
}

TEST_F(SafetyTest, AWriterWhoseFileIsRenamedOrReplacedWritesToTheFileAtThePath) {
  const std::filesystem::path other = Path().parent_path() / "other.sqlite3";
  struct Row {
    const char* what;
    std::function<void()> make_other;  // before the last five answers, made by another program
    std::function<void()> change;      // done to the journal in use
    int words_at_path;                 // after one answer more
    int words_in_other;
  } rows[] = {
      {"renamed, its log left behind", [] {}, [&] { std::filesystem::rename(Path(), other); }, 1,
       10},
      {"replaced by a backup of five words",
       [&] {
         SQLite::Database journal(Path());
         SQLite::Database backup(other, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
         SQLite::Backup(backup, journal).executeStep();
       },
       [&] { std::filesystem::rename(other, Path()); }, 6, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(Path().parent_path());
    Journal journal(Path());
    for (int i = 0; i < 10; ++i) {
      if (i == 5) row.make_other();
      ASSERT_TRUE(journal.Record(Word(i), "义", "", Grade::Good, Mode::Match, kStart + i));
    }
    row.change();
    ASSERT_TRUE(journal.Record("after", "义", "", Grade::Good, Mode::Match, kStart + 10));
    journal.WaitForDisk();
    // What is at the path is whole, with no answer of the old file's log in it, and the
    // answer went there; a renamed file holds all it had.
    EXPECT_EQ(SqlText("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(Sql("SELECT count(*) FROM words"), row.words_at_path);
    EXPECT_EQ(Sql("SELECT count(*) FROM words WHERE english = 'after'"), 1);
    EXPECT_EQ(Sql("SELECT sum(reps) FROM words"), Sql("SELECT count(*) FROM reviews"));
    if (row.words_in_other) {
      SQLite::Database renamed(other);
      EXPECT_EQ(renamed.execAndGet("SELECT count(*) FROM reviews").getInt(), row.words_in_other);
    }
    EXPECT_EQ(journal.Counts(kStart).words, row.words_at_path) << "reads follow the path";
  }
}

TEST_F(SafetyTest, ADamagedLogIsCopiedAsideAndWhatPrecedesTheDamageKept) {
  std::string file, log;
  {
    Journal journal(Path());
    for (int i = 0; i < 10; ++i)
      ASSERT_TRUE(journal.Record(Word(i), "义", "", Grade::Good, Mode::Match, kStart + i));
    journal.WaitForDisk();
    // The files as a program killed now leaves them: the answers in the log.
    file = Bytes(Path());
    log = Bytes(std::filesystem::path(Path()) += "-wal");
  }
  const std::size_t frame = 24 + static_cast<std::size_t>(Sql("PRAGMA page_size"));
  ASSERT_GT(log.size(), 32 + 20 * frame);
  log[32 + 10 * frame + 24 + 100] ^= 0x01;  // one bit of the eleventh page in the log
  std::filesystem::remove(Path());
  kit::WriteFile(Path(), file);
  kit::WriteFile(std::filesystem::path(Path()) += "-wal", log);

  Journal journal(Path());
  const int before = journal.Counts(kStart).words;  // what SQLite reads: the log up to the damage
  EXPECT_LT(before, 10);
  EXPECT_TRUE(journal.Record("after", "义", "", Grade::Good, Mode::Match, kStart + 10));
  const std::string notice = journal.TakeNotice();
  EXPECT_NE(notice.find("学习记录的日志有损坏"), std::string::npos) << notice;
  EXPECT_EQ(journal.Counts(kStart).words, before + 1);
  std::filesystem::path copy;
  for (const auto& entry : std::filesystem::directory_iterator(Path().parent_path()))
    if (entry.path().extension() == ".sqlite3" &&
        entry.path().filename().string().find(".damaged-") != std::string::npos)
      copy = entry.path();
  ASSERT_FALSE(copy.empty());
  EXPECT_NE(notice.find(copy.filename().string()), std::string::npos) << notice;
  EXPECT_EQ(Bytes(copy), file);
  EXPECT_EQ(Bytes(std::filesystem::path(copy) += "-wal"), log);
}

TEST_F(SafetyTest, AFullDiskSaysSoKeepsReadingAndRecoversWhenThereIsRoom) {
  signal(SIGXFSZ, SIG_IGN);
  Journal journal(Path());
  for (int i = 0; i < 20; ++i)
    ASSERT_TRUE(journal.Record(Word(i), "义", "", Grade::Good, Mode::Match, kStart + i));
  const std::filesystem::path log = std::filesystem::path(Path()) += "-wal";
  const std::uintmax_t full = std::filesystem::file_size(log);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  {
    // No file may grow past the log's size now, as on a disk with no room left.
    rlimit limit = before;
    limit.rlim_cur = static_cast<rlim_t>(full);
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_FALSE(journal.Record("more", "义", "", Grade::Good, Mode::Match, kStart + 20));
    EXPECT_NE(journal.Status().text.find("不能记录学习进度：磁盘已满"), std::string::npos)
        << journal.Status().text;
    EXPECT_EQ(journal.Counts(kStart).words, 20) << "review still reads";
    EXPECT_EQ(journal.ReviewSet().size(), static_cast<std::size_t>(progress::kReviewRoundSize));
    setrlimit(RLIMIT_FSIZE, &before);
  }
  // With room again the next answer is kept, and the log, moved into the file, shrinks.
  EXPECT_TRUE(journal.Record("more", "义", "", Grade::Good, Mode::Match, kStart + 20));
  EXPECT_EQ(journal.Status().condition, JournalCondition::Recording);
  EXPECT_LT(std::filesystem::file_size(log), full / 4);
  EXPECT_EQ(journal.Counts(kStart).words, 21);
}

TEST_F(SafetyTest, EveryAnswerIsSyncedToTheDiskAndNothingElseIs) {
  Journal journal(Path());
  EXPECT_EQ(journal.Counts(kStart).words, 0);
  EXPECT_EQ(journal.Syncs(), 0);
  for (int i = 1; i <= 20; ++i) {
    ASSERT_TRUE(journal.Record(Word(i), "义", "", Grade::Good, Mode::Quiz, kStart + i));
    journal.WaitForDisk();
    EXPECT_EQ(journal.Syncs(), i);
  }
  EXPECT_EQ(journal.List(progress::Listing::All, kStart).size(), 20u);
  EXPECT_EQ(journal.Syncs(), 20) << "reading syncs nothing";
  // Answers given at once (a round's time running out) are each synced too.
  for (int i = 21; i <= 25; ++i)
    ASSERT_TRUE(journal.Record(Word(i), "义", "", Grade::Again, Mode::Match, kStart + i));
  journal.WaitForDisk();
  EXPECT_EQ(journal.Syncs(), 25);
}

}  // namespace
