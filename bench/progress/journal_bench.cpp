// The journal on a learner's file after years of practice: 30000 words and 100000 answers.
// Recording one answer with its commit (what the caller waits for: median under 5 ms), the
// same answer until it is on the disk (the journal's syncer thread waits for that), the first
// answer of a session (the file checked, then opened to write), the review set and round
// (under 5 ms), the menu's counts and queue, the overview (under 100 ms) and the first read of
// a session.
#include <benchmark/benchmark.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kit/files.h"
#include "progress/journal.h"

namespace {

constexpr int kWords = 30000;
constexpr int kReviews = 100000;
constexpr std::int64_t kNow = 1767225600;  // 2026-01-01 00:00:00 UTC
constexpr std::int64_t kDay = 86400;
constexpr int kOffset = 8 * 3600;

std::string English(int i) {
  std::string word = "w";
  for (int k = 0; k < 7; ++k, i /= 26) word += static_cast<char>('a' + i % 26);
  return word;
}

// The journal's file, made once: its schema by the journal itself, its rows by hand in one
// transaction. Words fall due from 60 days ago to 120 days ahead; answers spread over the last
// 180 days, one in four Again.
class JournalFile {
 public:
  JournalFile() {
    if (!progress::Journal(Path()).Add("schema", "格式", "", kNow)) std::abort();
    SQLite::Database database(Path(), SQLite::OPEN_READWRITE);
    SQLite::Transaction transaction(database);
    database.exec("DELETE FROM words");
    SQLite::Statement word(database,
                           "INSERT INTO words (english, chinese, book, due, last_review, "
                           "stability, difficulty, state, reps, lapses) "
                           "VALUES (?1, '巨大的；庞大的', '《My词库》', ?2, ?3, ?4, 5.5, 2, 3, 1)");
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t range) {
      seed = seed * 1664525u + 1013904223u;
      return static_cast<std::int64_t>((seed >> 8) % range);
    };
    for (int i = 0; i < kWords; ++i) {
      word.bind(1, English(i));
      word.bind(2, kNow - 60 * kDay + next(180 * kDay));
      word.bind(3, kNow - next(30 * kDay));
      word.bind(4, 0.5 + static_cast<double>(next(10000)) / 100);
      word.exec();
      word.reset();
    }
    SQLite::Statement review(database,
                             "INSERT INTO reviews (word_id, reviewed_at, grade, mode) "
                             "VALUES (?1, ?2, ?3, 'match')");
    for (int i = 0; i < kReviews; ++i) {
      review.bind(1, 1 + next(kWords));
      review.bind(2, kNow - next(180 * kDay));
      review.bind(3, next(4) == 0 ? 1 : 3);
      review.exec();
      review.reset();
    }
    transaction.commit();
  }
  std::filesystem::path Path() const { return dir_.Path() / "vantle" / "progress.sqlite3"; }

 private:
  kit::TempDir dir_;
};

const JournalFile& File() {
  static const JournalFile kFile;
  return kFile;
}

// Answers of the learner's words, one after another; `on_disk` waits for each to be synced.
void RecordAnswers(benchmark::State& state, bool on_disk) {
  progress::Journal journal(File().Path());
  journal.Counts(kNow);
  std::vector<double> times;
  int i = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    bool recorded = journal
                        .Record(English(i * 7919 % kWords), "巨大的；庞大的", "《My词库》",
                                i % 4 ? progress::Grade::Good : progress::Grade::Again,
                                progress::Mode::Match, kNow + i)
                        .Ok();
    if (on_disk) journal.WaitForDisk();
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(seconds.count());
    times.push_back(seconds.count());
    if (!recorded) state.SkipWithError(journal.Status().text.c_str());
    ++i;
  }
  if (times.empty()) return;
  // The median is the target; the slowest shows the occasional checkpoint of the log.
  state.counters["slowest_ms"] = *std::max_element(times.begin(), times.end()) * 1000;
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  state.counters["median_ms"] = times[times.size() / 2] * 1000;
  state.counters["syncs_per_answer"] = static_cast<double>(journal.Syncs()) / i;
}

// What the caller waits for: the answer committed, its sync left to the journal's thread.
void BmRecordAnswer(benchmark::State& state) {
  RecordAnswers(state, false);
}

// The answer until it is on the disk.
void BmRecordAnswerOnDisk(benchmark::State& state) {
  RecordAnswers(state, true);
}

// The first answer of a session: the file checked (its pages and its log), then opened to
// write.
void BmFirstAnswer(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    progress::Journal journal(File().Path());
    if (!journal.Record(English(i++), "巨大的；庞大的", "《My词库》", progress::Grade::Good,
                        progress::Mode::Match, kNow))
      state.SkipWithError(journal.Status().text.c_str());
  }
}

void BmReviewSet(benchmark::State& state) {
  progress::Journal journal(File().Path());
  for (auto _ : state) {
    auto words = journal.ReviewSet();
    if (words.size() != progress::kReviewRoundSize) state.SkipWithError("no full review set");
    benchmark::DoNotOptimize(words.data());
  }
}

// A review round at a time when thousands of words are due, and the menu's queue.
void BmReviewRound(benchmark::State& state) {
  progress::Journal journal(File().Path());
  for (auto _ : state) {
    auto words = journal.ReviewRound(kNow);
    if (words.size() != progress::kReviewRoundSize) state.SkipWithError("no full review round");
    benchmark::DoNotOptimize(words.data());
  }
}

void BmQueue(benchmark::State& state) {
  progress::Journal journal(File().Path());
  for (auto _ : state) {
    progress::ReviewQueue queue = journal.Queue(kNow);
    if (queue.due == 0) state.SkipWithError("nothing due");
    benchmark::DoNotOptimize(queue);
  }
}

void BmCounts(benchmark::State& state) {
  progress::Journal journal(File().Path());
  for (auto _ : state) {
    progress::JournalCounts counts = journal.Counts(kNow);
    if (counts.words < kWords) state.SkipWithError("words missing");
    benchmark::DoNotOptimize(counts);
  }
}

void BmOverview(benchmark::State& state) {
  progress::Journal journal(File().Path());
  for (auto _ : state) {
    progress::Overview overview = journal.ReadOverview(kNow, kOffset);
    if (overview.practised < kWords || overview.most_missed.empty())
      state.SkipWithError("overview incomplete");
    benchmark::DoNotOptimize(overview.due_per_day.data());
  }
}

// The first read of a session: the file opened read-only, then the menu's counts.
void BmOpenAndCount(benchmark::State& state) {
  for (auto _ : state) {
    progress::Journal journal(File().Path());
    benchmark::DoNotOptimize(journal.Counts(kNow));
  }
}

BENCHMARK(BmRecordAnswer)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BmRecordAnswerOnDisk)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BmFirstAnswer)->Unit(benchmark::kMillisecond);
BENCHMARK(BmReviewSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BmReviewRound)->Unit(benchmark::kMicrosecond);
BENCHMARK(BmQueue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BmCounts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BmOverview)->Unit(benchmark::kMillisecond);
BENCHMARK(BmOpenAndCount)->Unit(benchmark::kMillisecond);

}  // namespace
