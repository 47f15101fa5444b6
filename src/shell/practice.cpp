#include "shell/practice.h"

#include <utility>

namespace shell {

std::string WithReason(std::string_view caption, std::string_view reason) {
  std::string text(caption);
  ((text += "（") += reason) += "）";
  return text;
}

Practice::Practice(ui::Platform& platform, ShowProgress show_progress)
    : platform_(platform), show_progress_(std::move(show_progress)) {}

progress::Journal* Practice::Journal() {
  if (!platform_.RecordsProgress()) return nullptr;
  if (!journal_) journal_.emplace(progress::JournalPath(platform_.UserDataDirectory()));
  return &*journal_;
}

void Practice::Record(const books::Word& word, const std::string& book, progress::Grade grade,
                      progress::Mode mode) {
  // A failure shows in the menu, through the journal's status: play goes on.
  if (word.Empty()) return;
  if (progress::Journal* journal = Journal())
    static_cast<void>(
        journal->Record(word.english, word.chinese, book, grade, mode, platform_.Now()));
}

bool Practice::Add(const books::Word& word, const std::string& book) {
  progress::Journal* journal = Journal();
  return journal && journal->Add(word.english, word.chinese, book, platform_.Now());
}

ui::Window::MenuEntry Practice::ReviewEntry(int needed,
                                            std::function<void(const ui::Attention&)> act) {
  progress::Journal* journal = Journal();
  const progress::JournalCounts counts =
      journal ? journal->Counts(platform_.Now()) : progress::JournalCounts{};
  std::string refusal;
  if (!journal)
    refusal = std::string(kRecordingOff);
  else if (!journal->Status().text.empty() && counts.words < needed)
    refusal = journal->Status().text;
  else if (counts.words == 0)
    refusal = "学习记录中还没有单词";
  else if (counts.words < needed)
    refusal = "至少要有 " + std::to_string(needed) + " 个单词，学习记录中只有 " +
              std::to_string(counts.words) + " 个";
  if (!refusal.empty())
    return ui::Window::MenuEntry::Action(WithReason("复习 (F3)", refusal), std::move(act))
        .EnabledIf(false);
  return ui::Window::MenuEntry::Action("复习 (F3)：" + std::to_string(counts.due) + " 个到期",
                                       std::move(act));
}

std::vector<ReviewWord> Practice::ReviewWords() {
  std::vector<ReviewWord> words;
  if (progress::Journal* journal = Journal())
    for (const progress::JournalWord& w : journal->ReviewSet())
      words.push_back({{w.english, w.chinese}, w.book});
  return words;
}

std::vector<books::Word> Practice::AllWords() {
  std::vector<books::Word> words;
  if (progress::Journal* journal = Journal())
    for (const progress::JournalWord& w : journal->List(progress::Listing::All, platform_.Now()))
      words.push_back({w.english, w.chinese});
  return words;
}

void Practice::OpenProgressWindow() {
  progress::Journal* journal = Journal();
  if (!journal || !show_progress_) return;
  const std::int64_t now = platform_.Now();
  show_progress_(journal->ReadOverview(now, platform_.UtcOffset(now)));
}

std::vector<ui::Window::MenuEntry> Practice::MenuEntries() {
  std::vector<ui::Window::MenuEntry> entries;
  const bool on = platform_.RecordsProgress();
  using Entry = ui::Window::MenuEntry;
  if (show_progress_) {
    entries.push_back(Entry::Action(on ? "学习记录…" : WithReason("学习记录…", kRecordingOff),
                                    [this](const ui::Attention&) { OpenProgressWindow(); })
                          .EnabledIf(on));
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
