#include "progress/journal.h"

#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "os/os.h"
#include "progress/connection.h"
#include "progress/damage.h"
#include "progress/log_syncer.h"
#include "progress/rows.h"
#include "progress/statements.h"

namespace progress {
namespace {

// An answer to record.
struct Answer {
  std::string_view english;
  std::string_view chinese;
  std::string_view book;
  Grade grade;
  Mode mode;
  std::int64_t now;
};

// Writes the answer in the transaction open on `connection`: the word's row made or
// rescheduled, and the answer's row. Gives the answer's row.
ReviewId WriteAnswer(Connection& connection, const Answer& answer) {
  SQLite::Statement& find = connection.Prepared(sql::kFindWord);
  find.bind(":english", std::string(answer.english));
  find.bind(":chinese", std::string(answer.chinese));
  std::int64_t id = 0;
  Card card = NewCard(answer.now);
  if (find.executeStep()) {
    id = find.getColumn("id").getInt64();
    card = ReadCard(find);
  }
  find.reset();
  SQLite::Statement& word = connection.Prepared(id ? sql::kUpdateWord.c_str() : sql::kInsertWord);
  if (id) {
    word.bind(":id", id);
  } else {
    word.bind(":english", std::string(answer.english));
    word.bind(":chinese", std::string(answer.chinese));
  }
  word.bind(":book", std::string(answer.book));
  BindCard(word, Schedule(card, answer.grade, answer.now));
  word.exec();
  if (!id) id = connection.Database().getLastInsertRowid();
  SQLite::Statement& review = connection.Prepared(sql::kInsertReview);
  review.bind(":word_id", id);
  review.bind(":reviewed_at", answer.now);
  review.bind(":grade", static_cast<int>(answer.grade));
  review.bind(":mode", ModeName(answer.mode));
  review.exec();
  return connection.Database().getLastInsertRowid();
}

// When the word `id` was last put up for review, if it was.
std::optional<std::int64_t> PutUp(Connection& connection, std::int64_t id) {
  SQLite::Statement& row = connection.Prepared(sql::kPutUpOfWord);
  row.bind(":id", id);
  std::optional<std::int64_t> put_up;
  if (row.executeStep() && !row.isColumnNull("put_up")) put_up = row.getColumn("put_up").getInt64();
  row.reset();
  return put_up;
}

// Gives the word `id` the schedule its answers, replayed in the order given, leave it; a word
// put up for review after them waits again, due when it was put up if not before. A word
// with no answer left and never put up is gone, as it was before its first.
void Replay(Connection& connection, std::int64_t id) {
  std::optional<Card> card;
  SQLite::Statement& answers = connection.Prepared(sql::kAnswersOfWord);
  answers.bind(":word_id", id);
  while (answers.executeStep()) {
    const std::int64_t at = answers.getColumn("reviewed_at").getInt64();
    card = Schedule(card ? *card : NewCard(at),
                    static_cast<Grade>(answers.getColumn("grade").getInt()), at);
  }
  answers.reset();
  if (const std::optional<std::int64_t> put_up = PutUp(connection, id);
      put_up && (!card || *card->last_review < *put_up)) {
    if (!card) card = NewCard(*put_up);
    card->due = std::min(card->due, *put_up);
  }
  SQLite::Statement& change =
      connection.Prepared(card ? sql::kReschedule.c_str() : sql::kForgetWord);
  change.bind(":id", id);
  if (card) BindCard(change, *card);
  change.exec();
}

}  // namespace

// The connection answers are written through, with the syncer that puts each commit on the
// disk.
class Journal::Writer {
 public:
  explicit Writer(Connection connection, const std::filesystem::path& path)
      : connection_(std::move(connection)), syncer_(LogOf(path)) {}

  Connection& Connected() { return connection_; }
  LogSyncer& Syncer() { return syncer_; }

 private:
  Connection connection_;
  LogSyncer syncer_;  // after the connection: it syncs the last commits before that closes
};

std::filesystem::path JournalPath(std::string_view user_data_directory) {
  if (user_data_directory.empty()) return {};
  return os::PathOf(user_data_directory) / "progress.sqlite3";
}

Journal::Journal(std::filesystem::path path) : path_(path), reader_(std::move(path)) {}

Journal::~Journal() = default;

template <class Change>
auto Journal::Write(const Change& change)
    -> JournalResult<decltype(change(std::declval<Connection&>()))> {
  // Three tries at most: again after the file was found damaged (it is then replaced), and
  // again after it left the path (renamed, or a backup put in its place).
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (JournalResult<> open = OpenWriter(); !open) return Stop(open.Failed(), false);
    if (const int error = writer_->Syncer().TakeError())
      return Stop(
          JournalFailed("同步到磁盘失败：" + disk::ErrorReason(error) + Where(path_), path_),
          false);
    Connection& connection = writer_->Connected();
    try {
      if (short_of_room_) connection.Database().tryExec(sql::kEmptyLog);
      std::optional<decltype(change(connection))> made;
      {
        SQLite::Transaction transaction(connection.Database(),
                                        SQLite::TransactionBehavior::IMMEDIATE);
        // Checked with the write lock held, so no other program replaces it meanwhile.
        if (connection.StillAtPath()) {
          made = change(connection);
          transaction.commit();
        }
      }
      if (!made) {
        CloseWriter();  // the file left the path: let go of it and open the one there now
        continue;
      }
      writer_->Syncer().Committed();
      short_of_room_ = false;
      status_ = {JournalCondition::Recording, {}};
      return std::move(*made);
    } catch (const SQLite::Exception& error) {
      JournalFailure failure = connection.Explain(error);
      const int code = error.getErrorCode() & 0xff;
      if (failure.damaged) {
        CloseWriter();  // opened anew: the file is checked, copied aside and replaced
        continue;
      }
      short_of_room_ = failure.out_of_room;
      // A full disk or a busy file keeps the connection for the next try; a file that failed
      // to be read or written otherwise is opened anew.
      return Stop(failure,
                  failure.out_of_room || (code != SQLITE_IOERR && code != SQLITE_CANTOPEN));
    }
  }
  return Stop(JournalFailed("学习记录在写入时一再被换掉" + Where(path_), path_), false);
}

JournalResult<> Journal::OpenWriter() {
  if (writer_) return {};
  if (status_.condition == JournalCondition::NewerSchema)
    return JournalFailed(status_.text, path_, JournalCondition::NewerSchema);
  if (JournalResult<> ready = ReadyToWrite(path_); !ready) return ready;
  JournalResult<std::string> fit = MakeFitToWrite(path_);
  if (!fit) return fit.Failed();
  if (!fit->empty()) notice_ = std::move(*fit);
  JournalResult<Connection> opened = Connection::ForWriting(path_);
  if (!opened) return opened.Failed();
  writer_ = std::make_unique<Writer>(std::move(*opened), path_);
  return {};
}

void Journal::CloseWriter() {
  if (!writer_) return;
  writer_->Syncer().Wait();
  syncs_ += writer_->Syncer().Syncs();
  writer_.reset();
}

JournalFailure Journal::Stop(JournalFailure failure, bool keep_open) {
  if (!keep_open) CloseWriter();
  if (failure.condition == JournalCondition::NewerSchema) {
    status_ = {JournalCondition::NewerSchema, failure.reason};
  } else {
    failure.condition = JournalCondition::CannotWrite;
    status_ = {JournalCondition::CannotWrite, "不能记录学习进度：" + failure.reason};
  }
  return failure;
}

JournalResult<ReviewId> Journal::Record(std::string_view english, std::string_view chinese,
                                        std::string_view book, Grade grade, Mode mode,
                                        std::int64_t now) {
  const Answer answer{english, chinese, book, grade, mode, now};
  return Write([&answer](Connection& connection) { return WriteAnswer(connection, answer); });
}

JournalResult<> Journal::TakeBack(const std::vector<ReviewId>& answers) {
  return Write([&answers](Connection& connection) {
    std::set<std::int64_t> words;
    for (const ReviewId answer : answers) {
      SQLite::Statement& word = connection.Prepared(sql::kWordOfAnswer);
      word.bind(":id", answer);
      if (word.executeStep()) words.insert(word.getColumn("word_id").getInt64());
      word.reset();
      SQLite::Statement& gone = connection.Prepared(sql::kTakeBackAnswer);
      gone.bind(":id", answer);
      gone.exec();
    }
    for (const std::int64_t word : words) Replay(connection, word);
    return std::monostate{};
  });
}

JournalResult<> Journal::Add(std::string_view english, std::string_view chinese,
                             std::string_view book, std::int64_t now) {
  return Write([&](Connection& connection) {
    SQLite::Statement& add = connection.Prepared(sql::kAddWord);
    add.bind(":english", std::string(english));
    add.bind(":chinese", std::string(chinese));
    add.bind(":book", std::string(book));
    add.bind(":due", now);
    add.exec();
    return std::monostate{};
  });
}

template <class T>
T Journal::Read(JournalResult<T> read) {
  if (read) return std::move(*read);
  const JournalFailure& failure = read.Failed();
  // A damaged file is copied aside and replaced at the next answer.
  if (failure.damaged) CloseWriter();
  if (status_.condition == JournalCondition::Closed ||
      status_.condition == JournalCondition::Recording) {
    status_ =
        failure.condition == JournalCondition::NewerSchema
            ? JournalStatus{JournalCondition::NewerSchema, failure.reason}
            : JournalStatus{JournalCondition::CannotRead, "读不出学习记录：" + failure.reason};
  }
  return T{};
}

std::vector<JournalWord> Journal::ReviewRound(std::int64_t now, int count) {
  return Read(reader_.ReviewRound(now, count));
}

ReviewQueue Journal::Queue(std::int64_t now) {
  return Read(reader_.Queue(now));
}

std::vector<JournalWord> Journal::ReviewSet(int count) {
  return Read(reader_.ReviewSet(count));
}

JournalCounts Journal::Counts(std::int64_t now) {
  return Read(reader_.Counts(now));
}

Overview Journal::ReadOverview(std::int64_t now, int utc_offset_seconds) {
  return Read(reader_.ReadOverview(now, utc_offset_seconds));
}

std::vector<JournalWord> Journal::List(Listing listing, std::int64_t now) {
  return Read(reader_.List(listing, now));
}

JournalStatus Journal::Status() const {
  return status_;
}

std::string Journal::TakeNotice() {
  return std::exchange(notice_, {});
}

const std::filesystem::path& Journal::Path() const {
  return path_;
}

void Journal::WaitForDisk() {
  if (writer_) writer_->Syncer().Wait();
}

std::int64_t Journal::Syncs() const {
  return syncs_ + (writer_ ? writer_->Syncer().Syncs() : 0);
}

}  // namespace progress
