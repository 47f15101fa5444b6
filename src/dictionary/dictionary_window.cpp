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
  look_up_button_.OnClick = [this] { LookUpWord(); };
  query_box_.OnKeyPress = [this](int key) { OnQueryKey(key); };
  // F2 says the text selected in the results, else the query.
  ListenForSpeech([this](const ui::SpeechRequest& request) {
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
  std::string result = FindEntries(book_, query_box_.Text(), style);
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

}  // namespace dictionary
