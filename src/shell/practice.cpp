#include "shell/practice.h"

#include <algorithm>
#include <utility>

#include "books/catalogue.h"
#include "books/loader.h"

namespace shell {

namespace {

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;

std::vector<ReviewWord> ToReview(const std::vector<progress::JournalWord>& words) {
  std::vector<ReviewWord> review;
  for (const progress::JournalWord& w : words) review.push_back({{w.english, w.chinese}, w.book});
  return review;
}

}  // namespace

std::string WithReason(std::string_view caption, std::string_view reason) {
  std::string text(caption);
  ((text += "（") += reason) += "）";
  return text;
}

std::string WhenText(std::int64_t seconds) {
  // Rounded up below an hour, so that "1 分钟后" is never already past; to the nearest hour or
  // day beyond.
  if (seconds < kHour)
    return std::to_string(std::max<std::int64_t>(1, (seconds + 59) / 60)) + " 分钟后";
  if (seconds < kDay) return std::to_string((seconds + kHour / 2) / kHour) + " 小时后";
  return std::to_string((seconds + kDay / 2) / kDay) + " 天后";
}

Practice::Practice(ui::Platform& platform, ShowProgress show_progress)
    : platform_(platform), show_progress_(std::move(show_progress)) {}

progress::Journal* Practice::Journal() {
  if (!platform_.RecordsProgress()) return nullptr;
  if (!journal_) journal_.emplace(progress::JournalPath(platform_.UserDataDirectory()));
  return &*journal_;
}

std::optional<AnswerId> Practice::Record(const books::Word& word, const std::string& book,
                                         progress::Grade grade, progress::Mode mode) {
  // A failure shows in the menu, through the journal's status: play goes on.
  if (word.Empty()) return std::nullopt;
  progress::Journal* journal = Journal();
  if (!journal) return std::nullopt;
  const progress::JournalResult<progress::ReviewId> recorded =
      journal->Record(word.english, word.chinese, book, grade, mode, platform_.Now());
  if (!recorded) return std::nullopt;
  return *recorded;
}

bool Practice::TakeBack(const std::vector<AnswerId>& answers) {
  progress::Journal* journal = Journal();
  return journal && journal->TakeBack(answers).Ok();
}

bool Practice::Add(const books::Word& word, const std::string& book) {
  progress::Journal* journal = Journal();
  return journal && journal->Add(word.english, word.chinese, book, platform_.Now()).Ok();
}

std::vector<ReviewWord> Practice::ReviewWords() {
  progress::Journal* journal = Journal();
  return journal ? ToReview(journal->ReviewRound(platform_.Now())) : std::vector<ReviewWord>{};
}

std::vector<ReviewWord> Practice::ReviewAheadWords() {
  progress::Journal* journal = Journal();
  return journal ? ToReview(journal->ReviewSet()) : std::vector<ReviewWord>{};
}

std::vector<books::Word> Practice::AllWords() {
  std::vector<books::Word> words;
  if (progress::Journal* journal = Journal())
    for (const progress::JournalWord& w : journal->List(progress::Listing::All, platform_.Now()))
      words.push_back({w.english, w.chinese});
  return words;
}

Practice::Queue Practice::ReadQueue() {
  Queue queue;
  progress::Journal* journal = Journal();
  if (!journal) return queue;
  const std::int64_t now = platform_.Now();
  queue.words = journal->Counts(now).words;
  static_cast<progress::ReviewQueue&>(queue) = journal->Queue(now);
  return queue;
}

std::string Practice::NothingDue() {
  const Queue queue = ReadQueue();
  if (queue.due + queue.soon > 0 || !queue.next_due) return {};
  return "现在没有到期的单词，下一个 " + WhenText(*queue.next_due - platform_.Now());
}

std::string Practice::WhyNoWords() {
  progress::Journal* journal = Journal();
  if (!journal) return std::string(kRecordingOff);
  if (std::string why = journal->Status().text; !why.empty()) return why;
  return "学习记录中还没有单词";
}

std::string Practice::Refusal(int needed, const Queue& queue) {
  progress::Journal* journal = Journal();
  if (!journal) return std::string(kRecordingOff);
  if (!journal->Status().text.empty() && queue.words < needed) return journal->Status().text;
  if (queue.words == 0) return "学习记录中还没有单词";
  if (queue.words < needed)
    return "至少要有 " + std::to_string(needed) + " 个单词，学习记录中只有 " +
           std::to_string(queue.words) + " 个";
  return {};
}

ui::Window::MenuEntry Practice::ReviewEntry(int needed, Act act) {
  using Entry = ui::Window::MenuEntry;
  const Queue queue = ReadQueue();
  if (const std::string refusal = Refusal(needed, queue); !refusal.empty())
    return Entry::Action(WithReason("复习 (F3)", refusal), std::move(act)).EnabledIf(false);
  if (queue.due + queue.soon == 0) {
    std::string when =
        queue.next_due ? "，下一个 " + WhenText(*queue.next_due - platform_.Now()) : "";
    return Entry::Action("复习 (F3)：现在没有到期的单词" + when, std::move(act)).EnabledIf(false);
  }
  std::string caption = "复习 (F3)：" + std::to_string(queue.due) + " 个到期";
  if (queue.soon > 0) caption += " · " + std::to_string(queue.soon) + " 个 20 分钟内";
  return Entry::Action(std::move(caption), std::move(act));
}

ui::Window::MenuEntry Practice::ReviewAheadEntry(int needed, Act act) {
  const Queue queue = ReadQueue();
  std::string why = Refusal(needed, queue);
  if (why.empty() && queue.due + queue.soon > 0) why = "还有到期的单词，按 F3 复习";
  return JournalEntry("提前复习", why, std::move(act));
}

ui::Window::MenuEntry Practice::JournalEntry(std::string caption, std::string_view why_not,
                                             Act act) {
  using Entry = ui::Window::MenuEntry;
  if (!platform_.RecordsProgress()) why_not = kRecordingOff;
  if (why_not.empty()) return Entry::Action(std::move(caption), std::move(act));
  return Entry::Action(WithReason(caption, why_not), std::move(act)).EnabledIf(false);
}

int Practice::BookCount(const books::CatalogueEntry& entry) {
  if (entry.kind != books::BookKind::OwnBook) return entry.word_count;
  // The own book holds what its file holds, up to its capacity.
  books::WordBook book;
  const std::string path =
      books::OwnBookPath(platform_.ProgramDirectory(), platform_.UserDataDirectory());
  return books::ReadWordBook(path, entry, book) ? book.Count() : 0;
}

progresspage::Facts Practice::Facts(const progress::Overview& overview) {
  progresspage::Facts facts;
  const std::int64_t now = platform_.Now();
  facts.today = progresspage::LocalDay(now, platform_.UtcOffset(now));
  facts.recording = platform_.RecordsProgress();
  for (const progress::BookProgress& practised : overview.books) {
    // A word kept without a book (put up for review from none) belongs to no book to list.
    const books::CatalogueEntry* entry = books::FindEntry(books::BookCatalogue(), practised.book);
    if (!entry) continue;
    const int count = BookCount(*entry);
    facts.books.push_back({practised.book, practised.learned, std::max(count, practised.words)});
  }
  return facts;
}

progress::Overview Practice::ReadOverview() {
  const std::int64_t now = platform_.Now();
  const int offset = platform_.UtcOffset(now);
  if (progress::Journal* journal = Journal()) return journal->ReadOverview(now, offset);
  // With recording off the journal is only read, as it stands; nothing is made or written.
  progress::JournalReader reader(progress::JournalPath(platform_.UserDataDirectory()));
  progress::JournalResult<progress::Overview> overview = reader.ReadOverview(now, offset);
  return overview ? std::move(*overview) : progress::Overview{};
}

void Practice::OpenProgressWindow(ui::Timer* round_clock) {
  if (!show_progress_) return;
  const progress::Overview overview = ReadOverview();
  std::function<void()> closed;
  if (round_clock && round_clock->Enabled()) {
    // The round waits for the window, as it waits under a message.
    round_clock->SetEnabled(false);
    closed = [round_clock] { round_clock->SetEnabled(true); };
  }
  show_progress_(progresspage::Describe(overview, Facts(overview)), std::move(closed));
}

std::vector<ui::Window::MenuEntry> Practice::MenuEntries(ui::Timer* round_clock) {
  std::vector<ui::Window::MenuEntry> entries;
  const bool on = platform_.RecordsProgress();
  using Entry = ui::Window::MenuEntry;
  if (show_progress_) {
    entries.push_back(Entry::Action("学习记录…", [this, round_clock](const ui::Attention&) {
      OpenProgressWindow(round_clock);
    }));
  }
  entries.push_back(Entry::Toggle(
      "记录学习进度", on, [this, on](const ui::Attention&) { platform_.SetRecordsProgress(!on); }));
  if (!on || !journal_) return entries;
  // Said only once the journal was needed: the menu itself opens no file.
  if (std::string notice = journal_->TakeNotice(); !notice.empty())
    entries.push_back(Entry::Info(std::move(notice)));
  if (std::string why = journal_->Status().text; !why.empty())
    entries.push_back(Entry::Info(std::move(why)));
  return entries;
}

}  // namespace shell
