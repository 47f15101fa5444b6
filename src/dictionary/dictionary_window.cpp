#include "dictionary/dictionary_window.h"

#include "dictionary/lookup.h"
#include "shell/practice.h"
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
    : ModeWindow(shell, "dictionary_window"),
      books_(
          Window(), Platform(), books::DictionaryCatalogue(), [this] { LoadWordBook(); },
          [this] { ShowScreen(Screen::BookChoice); }) {
  Window().Add(look_up_button_);
  Window().Add(query_box_);
  Window().Add(result_box_);
  look_up_button_.on_click = [this] { LookUpWord(); };
  query_box_.on_key_press = [this](int key) { OnQueryKey(key); };
  AddShortcut("F4", [this](const ui::Attention& attention) { OnAddToReview(attention); });
  AddShortcut("F5", [this](const ui::Attention& attention) { OnKnown(attention); });
  ListenForMenu([this] {
    using Entry = ui::Window::MenuEntry;
    const std::string_view why_not =
        screen_ == Screen::Lookup && !hits_.empty() ? "" : "没有查到单词";
    std::vector<Entry> entries = {
        Practice().JournalEntry(
            "加入复习 (F4)", why_not,
            [this](const ui::Attention& attention) { OnAddToReview(attention); }),
        Practice().JournalEntry("我认识 (F5)", why_not,
                                [this](const ui::Attention& attention) { OnKnown(attention); }),
    };
    if (!added_.empty()) entries.push_back(Entry::Info("已加入复习：" + added_));
    if (!known_.empty()) entries.push_back(Entry::Info("已记为认识：" + known_));
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
  SetUpWindow(kTitle, shell::Seed::Kept);
  books_.SetUp("选择", "换一本书");
  shell::PlaceColumnButton(look_up_button_, shell::kFirstButtonTop, "查单词");
  SetUpModeColumn(shell::Mode::Dictionary);
  query_box_.Move(kBoxLeft, kQueryTop, kBoxWidth, kQueryHeight);
  query_box_.SetFont(shell::kWordFont);
  query_box_.SetAccessibleName("查询");
  query_box_.SetText("Text1");
  result_box_.Move(kBoxLeft, kResultTop, kBoxWidth, kResultHeight);
  result_box_.SetFont(shell::kWordFont);
  result_box_.SetAccessibleName("结果");
  result_box_.SetMultiLine(true);  // shown with a vertical scroll bar
  ShowScreen(Screen::BookChoice);
}

void DictionaryWindow::OnClose() {
  EndProgram();
}

void DictionaryWindow::ShowScreen(Screen screen) {
  screen_ = screen;
  const bool books = screen == Screen::BookChoice;
  const bool lookup = screen == Screen::Lookup;
  ShowScreenTable({{&books_.List(), books},
                   {&books_.ChooseButton(), books},
                   {&look_up_button_, lookup},
                   {&books_.ChangeButton(), lookup},
                   {&query_box_, lookup},
                   {&result_box_, lookup}},
                  lookup);
}

void DictionaryWindow::LoadWordBook() {
  ShowScreen(Screen::Lookup);
  // Titled before the book is read, so that a failed load still shows what was chosen.
  Window().SetCaption(Title(kTitle, {books_.List().Text()}));
  books_.ReadChosen();
  LookUpWord();
}

void DictionaryWindow::LookUpWord() {
  ShowRandomBackground();
  // The result is built apart and put into the box in one go: a long list (every entry of
  // a full book) then costs a single update of the box instead of one per hit.
  const shell::LoadedBook& loaded = books_.Loaded();
  const BlockStyle style = loaded.IsIdiomBook() ? BlockStyle::WholeLine : BlockStyle::TwoLines;
  Hits hits = FindEntries(loaded.book, query_box_.Text(), style);
  hits_ = std::move(hits.words);
  std::string result = std::move(hits.text);
  if (result.empty()) result = kNothingFound;
  // Emptied first, so that every lookup shows its result from the top, even the same text.
  result_box_.SetText(std::string());
  result_box_.SetText(std::move(result));
  Platform().Beep();
  SayUnasked(query_box_.Text());
}

void DictionaryWindow::OnQueryKey(int key) {
  if (key == ui::kEnterKey) LookUpWord();
}

const books::Word* DictionaryWindow::ChosenWord(const std::string& selected) const {
  if (hits_.empty()) return nullptr;
  const shell::LoadedBook& loaded = books_.Loaded();
  const std::vector<books::Word>& words = loaded.book.words;
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
    for (std::size_t hit : hits_) {
      const books::Word& word = words[hit];
      if (word.english.find(line) != std::string::npos ||
          word.chinese.find(line) != std::string::npos)
        return &word;
    }
    // An idiom's line is shown whole: its two halves without the marker between them.
    if (loaded.IsIdiomBook()) {
      for (std::size_t hit : hits_) {
        const books::Word& word = words[hit];
        if (IdiomLine(word.english, word.chinese).find(line) != std::string::npos) return &word;
      }
    }
  }
  return &words[hits_.front()];
}

const books::Word* DictionaryWindow::Meant(const ui::Attention& attention) const {
  if (screen_ != Screen::Lookup) return nullptr;
  return ChosenWord(attention.SelectionIn(result_box_));
}

std::string DictionaryWindow::Named(const books::Word& word) {
  return word.english + " — " + word.chinese;
}

void DictionaryWindow::OnAddToReview(const ui::Attention& attention) {
  const books::Word* word = Meant(attention);
  if (word && Practice().Add(*word, books_.Loaded().label)) added_ = Named(*word);
}

void DictionaryWindow::OnKnown(const ui::Attention& attention) {
  const books::Word* word = Meant(attention);
  if (word && Practice().Record(*word, books_.Loaded().label, progress::Grade::Easy,
                                shell::Mode::Dictionary))
    known_ = Named(*word);
}

}  // namespace dictionary
