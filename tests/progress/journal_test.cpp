// The journal's behaviour: opening on first use, what recording and adding do to a word, the
// review set's order, the counts, the listings and the overview of a small journal.
#include "progress/journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "journal_files.h"

namespace {

using journal_files::kDay;
using journal_files::kStart;
using progress::CardState;
using progress::Grade;
using progress::Journal;
using progress::JournalCondition;
using progress::Listing;
using progress::Mode;

class JournalTest : public journal_files::JournalTest {
 protected:
  const progress::JournalWord* Find(const std::string& english, const std::string& chinese) {
    words_ = journal_.List(Listing::All, 0);
    auto it = std::find_if(words_.begin(), words_.end(), [&](const auto& word) {
      return word.english == english && word.chinese == chinese;
    });
    return it == words_.end() ? nullptr : &*it;
  }
  static std::vector<std::string> English(const std::vector<progress::JournalWord>& words) {
    std::vector<std::string> out;
    for (const auto& word : words) out.push_back(word.english);
    return out;
  }

  Journal journal_{Path()};
  std::vector<progress::JournalWord> words_;
};

TEST_F(JournalTest, OpensNothingUntilFirstUseThenCreatesTheFolderAndSchema) {
  EXPECT_EQ(progress::JournalPath("/home/li/.local/share/vantle"),
            "/home/li/.local/share/vantle/progress.sqlite3");
  EXPECT_EQ(progress::JournalPath(""), "");
  EXPECT_FALSE(std::filesystem::exists(Path().parent_path()));
  EXPECT_EQ(journal_.Status().condition, JournalCondition::Closed);
  EXPECT_EQ(journal_.Counts(kStart).words, 0);
  // Reading makes nothing; the first answer makes the folder and the schema.
  EXPECT_FALSE(std::filesystem::exists(Path().parent_path()));
  EXPECT_EQ(journal_.Status().condition, JournalCondition::Closed);
  EXPECT_TRUE(journal_.Add("vast", "巨大的", "", kStart));
  EXPECT_EQ(journal_.Status().condition, JournalCondition::Recording);
  EXPECT_EQ(Sql("PRAGMA user_version"), progress::kSchemaVersion);
  SQLite::Database database(Path());
  EXPECT_EQ(database.execAndGet("PRAGMA journal_mode").getString(), "wal");

  // A bare file name is a file in the current folder.
  const std::filesystem::path folder = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Path());
  Journal here("here.sqlite3");
  EXPECT_TRUE(here.Add("vast", "巨大的", "", kStart)) << here.Status().text;
  std::filesystem::current_path(folder);
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "here.sqlite3"));
}

TEST_F(JournalTest, RecordingSchedulesTheWordAndAddingMakesItDueWithoutAnAnswer) {
  struct Row {
    const char* what;
    bool record;  // else Add
    const char *english, *chinese, *book;
    Grade grade;
    std::int64_t now;
    // then: the word's schedule, book and misses, and the journal's words and answers
    std::int64_t due;
    CardState state;
    int reps;
    const char* word_book;
    int misses, words, reviews;
  } rows[] = {
      {"a new word answered Good starts learning", true, "vast", "巨大的", "B1", Grade::Good,
       kStart, kStart + 600, CardState::Learning, 1, "B1", 0, 1, 1},
      {"Again goes back to the first step", true, "vast", "巨大的", "B2", Grade::Again, kStart + 60,
       kStart + 120, CardState::Learning, 2, "B2", 1, 1, 2},
      {"another meaning is another word", true, "vast", "广阔的", "B2", Grade::Good, kStart,
       kStart + 600, CardState::Learning, 1, "B2", 0, 2, 3},
      {"a word added is new and due at once", false, "tiny", "微小的", "B3", Grade::Good,
       kStart + 100, kStart + 100, CardState::New, 0, "B3", 0, 3, 3},
      {"adding a word due later makes it due now", false, "vast", "巨大的", "B3", Grade::Good,
       kStart + 90, kStart + 90, CardState::Learning, 2, "B2", 1, 3, 3},
      {"adding a word due earlier leaves it", false, "vast", "巨大的", "B3", Grade::Good,
       kStart + 200, kStart + 90, CardState::Learning, 2, "B2", 1, 3, 3},
      {"an added word answered starts learning", true, "tiny", "微小的", "B4", Grade::Good,
       kStart + 300, kStart + 900, CardState::Learning, 1, "B4", 0, 3, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_TRUE(
        row.record
            ? journal_.Record(row.english, row.chinese, row.book, row.grade, Mode::Quiz, row.now)
                  .Ok()
            : journal_.Add(row.english, row.chinese, row.book, row.now).Ok());
    const progress::JournalWord* word = Find(row.english, row.chinese);
    ASSERT_TRUE(word);
    EXPECT_EQ(word->card.due, row.due);
    EXPECT_EQ(word->card.state, row.state);
    EXPECT_EQ(word->card.reps, row.reps);
    EXPECT_EQ(word->book, row.word_book);
    EXPECT_EQ(word->misses, row.misses);
    EXPECT_EQ(journal_.Counts(row.now).words, row.words);
    EXPECT_EQ(Sql("SELECT count(*) FROM reviews"), row.reviews);
  }
  // Each answer is kept with its time, grade and mode.
  EXPECT_EQ(Sql("SELECT count(*) FROM reviews WHERE mode = 'quiz' AND grade = 1 AND "
                "reviewed_at = " +
                std::to_string(kStart + 60)),
            1);
  EXPECT_TRUE(journal_.Record("tiny", "微小的", "", Grade::Again, Mode::Dictionary, kStart + 400));
  EXPECT_TRUE(journal_.Record("tiny", "微小的", "", Grade::Good, Mode::Match, kStart + 401));
  EXPECT_EQ(Sql("SELECT count(DISTINCT mode) FROM reviews"), 3);
}

TEST_F(JournalTest, ReviewSetTakesTheWordsDueFirstThenThoseDueSoonest) {
  struct Row {
    const char* english;
    std::int64_t due;
  } rows[] = {{"later", kStart + 500},        {"overdue", kStart - 100}, {"soon", kStart + 50},
              {"also overdue", kStart - 100}, {"latest", kStart + 1000}, {"now", kStart}};
  for (const Row& row : rows) ASSERT_TRUE(journal_.Add(row.english, "义", "", row.due));
  using Words = std::vector<std::string>;
  EXPECT_EQ(English(journal_.ReviewSet(2)), (Words{"overdue", "also overdue"}));
  EXPECT_EQ(English(journal_.ReviewSet(4)), (Words{"overdue", "also overdue", "now", "soon"}));
  EXPECT_EQ(English(journal_.ReviewSet()),
            (Words{"overdue", "also overdue", "now", "soon", "later", "latest"}));
  EXPECT_EQ(English(journal_.List(Listing::Due, kStart)),
            (Words{"overdue", "also overdue", "now"}));
  EXPECT_EQ(journal_.Counts(kStart).due, 3);
  EXPECT_EQ(English(journal_.List(Listing::All, kStart)),
            (Words{"also overdue", "later", "latest", "now", "overdue", "soon"}));
}

TEST_F(JournalTest, OverviewCountsWordsAnswersAndMissesByLocalDay) {
  constexpr int kOffset = 8 * 3600;                         // UTC+8
  const std::int64_t today = kStart + 60 * kDay - kOffset;  // local midnight, 2026-03-02
  const std::int64_t now = today + 12 * 3600;
  // Answers from 40 days ago to now; the chart's first day starts 29 days before today.
  struct Answer {
    const char* english;
    Grade grade;
    std::int64_t at;
  } answers[] = {
      {"apple", Grade::Good, today - 40 * kDay},       // before the chart
      {"apple", Grade::Again, today - 29 * kDay - 1},  // the last second before it
      {"apple", Grade::Again, today - 29 * kDay},      // its first second: day 0
      {"pear", Grade::Again, today - kDay + 3600},     // yesterday: day 28
      {"apple", Grade::Again, today + 300},            // today, 00:05 local: day 29
      {"plum", Grade::Good, today + 600},              // day 29
      {"pear", Grade::Good, now},                      // day 29
  };
  for (const Answer& a : answers)
    ASSERT_TRUE(journal_.Record(a.english, "果", "", a.grade, Mode::Match, a.at));
  ASSERT_TRUE(journal_.Add("fig", "果", "", now));
  ASSERT_TRUE(journal_.Add("kiwi", "果", "", now));
  // Schedules set by hand: due days ahead (local) and stabilities.
  Exec("UPDATE words SET due = " + std::to_string(now - 5 * kDay) +
       ", stability = 3 WHERE english = 'apple'");
  Exec("UPDATE words SET due = " + std::to_string(today + kDay - 1) +
       ", stability = 20.9 WHERE english = 'pear'");
  Exec("UPDATE words SET due = " + std::to_string(now + 7 * kDay) +
       ", stability = 21 WHERE english = 'plum'");
  Exec("UPDATE words SET due = " + std::to_string(today + 29 * kDay) +
       ", stability = 100 WHERE english = 'fig'");
  Exec("UPDATE words SET due = " + std::to_string(today + 30 * kDay) + " WHERE english = 'kiwi'");

  progress::Overview overview = journal_.ReadOverview(now, kOffset);
  EXPECT_EQ(overview.practised, 5);
  EXPECT_EQ(overview.due_now, 1);          // apple
  EXPECT_EQ(overview.due_within_week, 3);  // apple, pear, plum (exactly 7 days)
  EXPECT_EQ(overview.learned, 2);          // plum, fig
  EXPECT_EQ(overview.reviews_last_30_days, 5);
  EXPECT_EQ(overview.good_last_30_days, 2);
  std::array<int, progress::kChartDays> reviews{}, due{};
  reviews[0] = 1, reviews[28] = 1, reviews[29] = 3;
  due[0] = 2, due[7] = 1, due[29] = 1;  // apple (overdue) and pear today, plum, fig; not kiwi
  EXPECT_EQ(overview.reviews_per_day, reviews);
  EXPECT_EQ(overview.due_per_day, due);
  EXPECT_EQ(overview.due_today, 2) << "what the chart's first bar counts";
  ASSERT_EQ(overview.most_missed.size(), 2u);
  EXPECT_EQ(overview.most_missed[0].english, "apple");
  EXPECT_EQ(overview.most_missed[0].misses, 3);
  EXPECT_EQ(overview.most_missed[1].english, "pear");
  EXPECT_EQ(English(journal_.List(Listing::Missed, now)),
            (std::vector<std::string>{"apple", "pear"}));

  // In UTC every day starts 8 hours later: today's first answers (00:05 and 00:10 at UTC+8)
  // fall on the day before, and the chart's first answer before the chart.
  progress::Overview utc = journal_.ReadOverview(now, 0);
  EXPECT_EQ(utc.reviews_per_day[27], 1);
  EXPECT_EQ(utc.reviews_per_day[28], 2);
  EXPECT_EQ(utc.reviews_per_day[29], 1);
}

// A word of `english` in the journal, answered once, then given `state` and `due` by hand.
void Scheduled(Journal& journal, const std::filesystem::path& file, const std::string& english,
               CardState state, std::int64_t due) {
  ASSERT_TRUE(journal.Record(english, "义", "", Grade::Good, Mode::Match, kStart - kDay));
  SQLite::Database database(file, SQLite::OPEN_READWRITE);
  database.exec("UPDATE words SET state = " + std::to_string(static_cast<int>(state)) +
                ", due = " + std::to_string(due) + " WHERE english = '" + english + "'");
}

TEST_F(JournalTest, AReviewRoundTakesTheWordsPutUpThenThoseDueAndThoseAboutToBe) {
  constexpr std::int64_t kMinute = 60;
  using Words = std::vector<std::string>;
  struct Row {
    const char* what;
    std::function<void(Journal&)> make;
    Words round;  // at kStart, in order
    int waiting;  // of them, put up for review
    int due, soon;
    std::optional<std::int64_t> next_due;
  } rows[] = {
      {"a learning step due in 19 minutes is reviewed ahead",
       [&](Journal& j) {
         Scheduled(j, Path(), "step", CardState::Learning, kStart + 19 * kMinute);
       },
       {"step"},
       0,
       0,
       1,
       kStart + 19 * kMinute},
      {"and a relearning step too",
       [&](Journal& j) {
         Scheduled(j, Path(), "again", CardState::Relearning, kStart + 19 * kMinute);
       },
       {"again"},
       0,
       0,
       1,
       kStart + 19 * kMinute},
      {"one due in 21 minutes is not: nothing is due, the next in 21 minutes",
       [&](Journal& j) {
         Scheduled(j, Path(), "step", CardState::Learning, kStart + 21 * kMinute);
       },
       {},
       0,
       0,
       0,
       kStart + 21 * kMinute},
      {"nor a word in review due in 19 minutes",
       [&](Journal& j) { Scheduled(j, Path(), "known", CardState::Review, kStart + 19 * kMinute); },
       {},
       0,
       0,
       0,
       kStart + 19 * kMinute},
      {"the words due, earliest first, and those about to be",
       [&](Journal& j) {
         Scheduled(j, Path(), "soon", CardState::Learning, kStart + 5 * kMinute);
         Scheduled(j, Path(), "late", CardState::Review, kStart - kDay);
         Scheduled(j, Path(), "now", CardState::Review, kStart);
         Scheduled(j, Path(), "later", CardState::Review, kStart + kDay);
       },
       {"late", "now", "soon"},
       0,
       2,
       1,
       kStart + 5 * kMinute},
      {"words put up for review come first, however many are due",
       [&](Journal& j) {
         for (int i = 0; i < 25; ++i)
           Scheduled(j, Path(), kit::Numbered("due", i + 10), CardState::Review, kStart - 100 + i);
         EXPECT_TRUE(j.Add("second", "义", "", kStart - 10));
         EXPECT_TRUE(j.Add("first", "义", "", kStart - 20));
       },
       {"first", "second", "due10", "due11", "due12", "due13", "due14", "due15", "due16", "due17",
        "due18", "due19", "due20", "due21", "due22", "due23", "due24", "due25"},
       2,
       27,
       0,
       std::nullopt},
      {"a word put up, then answered, waits no more",
       [&](Journal& j) {
         EXPECT_TRUE(j.Add("put", "义", "", kStart - 20));
         EXPECT_TRUE(j.Record("put", "义", "", Grade::Good, Mode::Quiz, kStart - 20));
         EXPECT_TRUE(j.Add("waits", "义", "", kStart));
       },
       {"waits", "put"},
       1,
       1,
       1,
       kStart - 20 + 10 * kMinute},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(Path().parent_path());
    Journal journal(Path());
    row.make(journal);
    const std::vector<progress::JournalWord> round = journal.ReviewRound(kStart);
    EXPECT_EQ(English(round), row.round);
    EXPECT_EQ(std::count_if(round.begin(), round.end(), [](const auto& w) { return w.waiting; }),
              row.waiting);
    const progress::ReviewQueue queue = journal.Queue(kStart);
    EXPECT_EQ(queue.due, row.due);
    EXPECT_EQ(queue.soon, row.soon);
    EXPECT_EQ(queue.next_due, row.next_due);
  }
}

TEST_F(JournalTest, TakingAnswersBackLeavesEachWordAsIfTheyHadNeverBeenGiven) {
  struct Answer {
    const char* english;
    Grade grade;
    std::int64_t at;
  };
  struct Row {
    const char* what;
    const char* put_up;  // a word put up for review first, if any
    // Answers kept, answers taken back, then answers given after (to both journals).
    std::vector<Answer> kept, taken_back, then;
  } rows[] = {
      {"the last answer",
       nullptr,
       {{"vast", Grade::Good, kStart}, {"vast", Grade::Good, kStart + 600}},
       {{"vast", Grade::Again, kStart + 700}},
       {}},
      {"the answers of a round, back to its start",
       nullptr,
       {{"vast", Grade::Good, kStart}, {"tiny", Grade::Again, kStart + 10}},
       {{"vast", Grade::Again, kStart + kDay},
        {"tiny", Grade::Good, kStart + kDay + 5},
        {"dim", Grade::Good, kStart + kDay + 9},
        {"vast", Grade::Good, kStart + kDay + 60}},
       {}},
      {"the only answer of a word put up for review",
       "vast",
       {},
       {{"vast", Grade::Good, kStart + 30}},
       {}},
      {"an answer after the word was put up",
       "vast",
       {{"vast", Grade::Again, kStart}},
       {{"vast", Grade::Good, kStart + 30}},
       {}},
      {"a Good, with an Easy in its place",
       nullptr,
       {{"vast", Grade::Good, kStart}},
       {{"vast", Grade::Good, kStart + 600}},
       {{"vast", Grade::Easy, kStart + 600}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    // The same answers, less those taken back, in a journal that never had them.
    const std::filesystem::path never = dir_.Path() / "never" / "progress.sqlite3";
    std::filesystem::remove_all(Path().parent_path());
    std::filesystem::remove_all(never.parent_path());
    Journal journal(Path()), reference(never);
    auto both = [&](const Answer& a) {
      ASSERT_TRUE(reference.Record(a.english, "义", "", a.grade, Mode::Match, a.at));
      ASSERT_TRUE(journal.Record(a.english, "义", "", a.grade, Mode::Match, a.at));
    };
    if (row.put_up) {
      ASSERT_TRUE(journal.Add(row.put_up, "义", "", kStart - 60));
      ASSERT_TRUE(reference.Add(row.put_up, "义", "", kStart - 60));
    }
    for (const Answer& a : row.kept) both(a);
    std::vector<progress::ReviewId> taken;
    for (const Answer& a : row.taken_back) {
      const progress::JournalResult<progress::ReviewId> id =
          journal.Record(a.english, "义", "", a.grade, Mode::Match, a.at);
      ASSERT_TRUE(id);
      taken.push_back(*id);
    }
    ASSERT_TRUE(journal.TakeBack(taken));
    ASSERT_TRUE(journal.TakeBack(taken)) << "taken back twice: nothing more";
    for (const Answer& a : row.then) both(a);
    EXPECT_EQ(Sql("SELECT count(*) FROM reviews"),
              static_cast<std::int64_t>(row.kept.size() + row.then.size()));
    EXPECT_EQ(Sql("SELECT count(*) FROM reviews WHERE grade = 4"), row.then.empty() ? 0 : 1);
    const std::vector<progress::JournalWord> words = journal.List(Listing::All, kStart);
    const std::vector<progress::JournalWord> expected = reference.List(Listing::All, kStart);
    ASSERT_EQ(English(words), English(expected));
    for (std::size_t i = 0; i < words.size(); ++i) {
      SCOPED_TRACE(words[i].english);
      EXPECT_EQ(words[i].card.due, expected[i].card.due);
      EXPECT_EQ(words[i].card.last_review, expected[i].card.last_review);
      EXPECT_DOUBLE_EQ(words[i].card.stability, expected[i].card.stability);
      EXPECT_DOUBLE_EQ(words[i].card.difficulty, expected[i].card.difficulty);
      EXPECT_EQ(words[i].card.state, expected[i].card.state);
      EXPECT_EQ(words[i].card.reps, expected[i].card.reps);
      EXPECT_EQ(words[i].card.lapses, expected[i].card.lapses);
      EXPECT_EQ(words[i].card.learning_steps, expected[i].card.learning_steps);
      EXPECT_EQ(words[i].misses, expected[i].misses);
      EXPECT_EQ(words[i].waiting, expected[i].waiting);
    }
    EXPECT_EQ(English(journal.ReviewRound(kStart + kDay + 100)),
              English(reference.ReviewRound(kStart + kDay + 100)));
  }
}

TEST_F(JournalTest, OverviewListsTheBooksPractisedWithTheirLearnedWords) {
  struct Answer {
    const char* english;
    const char* book;
    std::int64_t at;
    double stability;  // set by hand afterwards
  } answers[] = {
      {"vast", "《初中英语》(第一册)(304)", kStart, 30},
      {"tiny", "《初中英语》(第一册)(304)", kStart + 10, 21},
      {"dim", "《初中英语》(第一册)(304)", kStart + 20, 20.9},
      {"apple", "《My词库》", kStart + 30, 100},
      {"pear", "", kStart + 40, 100},  // a word of no book
      // The last practised from another book counts for that one.
      {"vast", "《高中英语》(第一册)(500)", kStart + 5, 30},
  };
  for (const Answer& a : answers) {
    ASSERT_TRUE(journal_.Record(a.english, "义", a.book, Grade::Good, Mode::Match, a.at));
    Exec("UPDATE words SET stability = " + std::to_string(a.stability) + " WHERE english = '" +
         a.english + "'");
  }
  const progress::Overview overview = journal_.ReadOverview(kStart + 60, 0);
  ASSERT_EQ(overview.books.size(), 3u);
  struct Book {
    std::string book;
    int words, learned;
  };
  const Book expected[] = {{"《My词库》", 1, 1},  // practised last
                           {"《初中英语》(第一册)(304)", 2, 1},
                           {"《高中英语》(第一册)(500)", 1, 1}};
  for (std::size_t i = 0; i < overview.books.size(); ++i) {
    EXPECT_EQ(overview.books[i].book, expected[i].book);
    EXPECT_EQ(overview.books[i].words, expected[i].words) << expected[i].book;
    EXPECT_EQ(overview.books[i].learned, expected[i].learned) << expected[i].book;
  }
}

}  // namespace
