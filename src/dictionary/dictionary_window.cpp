#include "dictionary/dictionary_window.h"

#include "dictionary/lookup.h"
#include "shell/shell.h"

namespace dictionary {
namespace {

constexpr char kTitle[] = "Kestrin之双向词典V3.6";
constexpr std::string_view kNothingFound = "查询无果！";

// The query box above the result box.
constexpr int kBoxLeft = 2700;
constexpr int kBoxWidth = 7500;
constexpr int kQueryTop = 1300;
constexpr int kQueryHeight = 300;
constexpr int kResultTop = 2000;
constexpr int kResultHeight = 5000;

}  // namespace

DictionaryWindow::DictionaryWindow(shell::Shell& shell)
    : BookWindow(shell, "dictionary_window", books::DictionaryCatalogue()) {
  window_.Add(look_up_button_);
  window_.Add(query_box_);
  window_.Add(result_box_);
  look_up_button_.on_click = [this] { LookUpWord(); };
  query_box_.on_key_press = [this](int key) { OnQueryKey(key); };
  AddShortcut("F4", [this](const ui::Attention& attention) { OnAddToReview(attention); });
  ListenForMenu([this] {
    std::vector<ui::Window::MenuEntry> entries;
    const bool on = platform_.RecordsProgress();
    entries.push_back({on ? "加入复习 (F4)" : "加入复习 (F4)（记录学习进度已关闭）",
                       on && screen_ == Screen::Lookup && !hits_.empty(), false, false,
                       [this](const ui::Attention& attention) { OnAddToReview(attention); }});
    if (!added_.empty()) entries.push_back({"已加入复习：" + added_, false, false, false, nullptr});
    return entries;
  });
  // F2 says the text selected in the results, else the query.
  ListenForSpeech([this](const ui::Attention& request) {
    if (screen_ != Screen::Lookup) return std::string();
    std::string selected = request.SelectionIn(result_box_);
    return selected.empty() ? query_box_.Text() : selected;
  });
}

void DictionaryWindow::Load() {
  SetUpWindow(kTitle, false);
  SetUpBookControls("选择", "换一本书");
  PlaceColumnButton(look_up_button_, shell::kFirstButtonTop, "查单词");
  SetUpModeColumn(shell::Mode::Dictionary);
  const ui::Font font{"宋体", 10.5};
  query_box_.Move(kBoxLeft, kQueryTop, kBoxWidth, kQueryHeight);
  query_box_.SetFont(font);
  query_box_.SetAccessibleName("查询");
  query_box_.SetText("Text1");
  result_box_.Move(kBoxLeft, kResultTop, kBoxWidth, kResultHeight);
  result_box_.SetFont(font);
  result_box_.SetAccessibleName("结果");
  result_box_.SetMultiLine(true);  // shown with a vertical scroll bar
  ShowBookChoice();
}

void DictionaryWindow::OnClose() {
  EndProgram();
}

void DictionaryWindow::ShowScreen(Screen screen) {
  screen_ = screen;
  const bool books = screen == Screen::BookChoice;
  const bool lookup = screen == Screen::Lookup;
  ShowScreenTable({{&book_list_, books},
                   {&choose_book_button_, books},
                   {&look_up_button_, lookup},
                   {&change_book_button_, lookup},
                   {&query_box_, lookup},
                   {&result_box_, lookup}},
                  lookup);
}

void DictionaryWindow::ShowBookChoice() {
  ShowScreen(Screen::BookChoice);
}

void DictionaryWindow::LoadWordBook() {
  ShowScreen(Screen::Lookup);
  // Titled before the book is read, so that a failed load still shows what was chosen.
  window_.SetCaption(Title(kTitle, {book_list_.Text()}));
  ReadSelectedBook();
  LookUpWord();
}

void DictionaryWindow::LookUpWord() {
  ShowRandomBackground();
  // The result is built apart and put into the box in one go: a long list (every entry of
  // a full book) then costs a single update of the box instead of one per hit.
  const BlockStyle style = IsIdiomBook() ? BlockStyle::WholeLine : BlockStyle::TwoLines;
  Hits hits = FindEntries(book_, query_box_.Text(), style);
  hits_ = std::move(hits.records);
  std::string result = std::move(hits.text);
  if (result.empty()) result = kNothingFound;
  // Emptied first, so that every lookup shows its result from the top, even the same text.
  result_box_.SetText(std::string());
  result_box_.SetText(std::move(result));
  platform_.Beep();
  SayUnasked(query_box_.Text());
}

void DictionaryWindow::OnQueryKey(int key) {
  if (key == ui::kEnterKey) LookUpWord();
}

int DictionaryWindow::ChosenRecord(const std::string& selected) const {
  if (hits_.empty()) return 0;
  // The first line of the selection that holds anything.
  std::string line;
  for (std::size_t from = 0; from <= selected.size() && line.empty();) {
    std::size_t end = selected.find('\n', from);
    if (end == std::string::npos) end = selected.size();
    line = selected.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    from = end + 1;
  }
  if (!line.empty()) {
    for (int record : hits_) {
      const auto r = static_cast<std::size_t>(record);
      if (book_.english_entries[r].find(line) != std::string::npos ||
          book_.chinese_meanings[r].find(line) != std::string::npos)
        return record;
    }
    // An idiom's line is shown whole: its two halves without the marker between them.
    if (IsIdiomBook()) {
      for (int record : hits_) {
        const auto r = static_cast<std::size_t>(record);
        if (IdiomLine(book_.english_entries[r], book_.chinese_meanings[r]).find(line) !=
            std::string::npos)
          return record;
      }
    }
  }
  return hits_.front();
}

void DictionaryWindow::OnAddToReview(const ui::Attention& attention) {
  if (screen_ != Screen::Lookup) return;
  const int record = ChosenRecord(attention.SelectionIn(result_box_));
  if (record < 1) return;
  const auto r = static_cast<std::size_t>(record);
  const books::Word word{book_.english_entries[r], book_.chinese_meanings[r]};
  if (practice_.Add(word, BookLabel())) added_ = word.english + " — " + word.chinese;
}

}  // namespace dictionary
