#include "shell/game_window.h"

#include "shell/shell.h"

namespace shell {

GameWindow::GameWindow(Shell& shell, const std::string& name, std::string_view title,
                       progress::Mode mode, int review_words, int column_rows)
    : BookWindow(shell, name, books::BookCatalogue(), column_rows),
      title_(title),
      mode_(mode),
      review_needed_(review_words) {
  window_.Add(group_list_);
  window_.Add(choose_group_button_);
  window_.Add(change_group_button_);
  window_.Add(clock_);
  choose_group_button_.on_click = [this] { OnChooseGroup(); };
  group_list_.on_dbl_click = [this] { OnChooseGroup(); };
  change_group_button_.on_click = [this] { OnChangeGroup(); };
  clock_.on_timer = [this] { OnTick(); };
  PressOnEnter(group_list_, choose_group_button_);
  // F3 and the first entry of the menu start a review round.
  AddShortcut("F3", [this] { OnReview(); });
  ListenForMenu([this] {
    return std::vector<ui::Window::MenuEntry>{
        practice_.ReviewEntry(review_needed_, [this](const ui::Attention&) { OnReview(); })};
  });
}

void GameWindow::SetUpGroupControls() {
  group_list_.Move(kGroupListLeft, kGroupListTop, kGroupListWidth, kGroupListHeight);
  group_list_.SetAccessibleName("组");
  choose_group_button_.Move(kGroupListLeft, kChooseGroupTop, kButtonWidth, kButtonHeight);
  choose_group_button_.SetCaption("选组");
  PlaceColumnButton(change_group_button_, kFirstButtonTop, "换组词");
  clock_.SetInterval(kTickInterval);
}

void GameWindow::FillGroupList() {
  const int last = book_.word_count / kGroupSize + (book_.word_count % kGroupSize != 0 ? 1 : 0);
  group_list_.Clear();
  for (int i = 0; i <= last; ++i) group_list_.AddItem(std::to_string(i));
}

std::vector<int> GameWindow::PickGroupRecords() {
  std::vector<int> picks;
  const int g = group_list_.ListIndex();
  if (g < 0 || book_.word_count < 1) return picks;
  const bool short_group = book_.word_count % kGroupSize != 0 && g == group_list_.ListCount() - 1;
  for (int k = 0; k < kGroupSize; ++k) {
    if (g == 0) {
      picks.push_back(random_.Below(book_.word_count) + 1);
      continue;
    }
    const int x = (g - 1) * kGroupSize + k + 1;
    picks.push_back(x);
    if (short_group && x == book_.word_count) break;
  }
  return picks;
}

std::vector<books::Word> GameWindow::RoundWords() {
  std::vector<books::Word> words;
  if (reviewing_) {
    for (const ReviewWord& w : review_words_) words.push_back(w.word);
    return words;
  }
  for (int record : PickGroupRecords()) {
    const auto r = static_cast<std::size_t>(record);
    words.push_back({book_.english_entries.at(r), book_.chinese_meanings.at(r)});
  }
  return words;
}

std::string GameWindow::PlayTitle() const {
  if (!reviewing_) return Title(title_, {BookLabel(), group_list_.Text()});
  if (BookLabel().empty()) return Title(title_, {"复习"});
  return Title(title_, {BookLabel(), "复习"});
}

void GameWindow::ShowGameControls(Screen screen, std::vector<Shown> rows) {
  screen_ = screen;
  const bool books = screen == Screen::BookChoice;
  const bool groups = screen == Screen::GroupChoice;
  const bool play = screen == Screen::Play;
  rows.insert(rows.begin(), {{&book_list_, books},
                             {&choose_book_button_, books},
                             {&group_list_, groups},
                             {&choose_group_button_, groups},
                             {&change_group_button_, play},
                             {&change_book_button_, play}});
  ShowScreenTable(rows, play);
}

void GameWindow::ShowBookChoice() {
  reviewing_ = false;
  ShowScreen(Screen::BookChoice);
}

void GameWindow::OnChooseGroup() {
  if (group_list_.ListIndex() < 0 || book_.word_count < 1) return;
  reviewing_ = false;
  ShowScreen(Screen::Play);
  window_.SetCaption(PlayTitle());
  PrepareRound();
}

void GameWindow::OnChangeGroup() {
  reviewing_ = false;
  ShowScreen(BookLabel().empty() ? Screen::BookChoice : Screen::GroupChoice);
}

void GameWindow::OnReview() {
  if (!StartReview()) return;
  ShowScreen(Screen::Play);
  window_.SetCaption(PlayTitle());
  PrepareRound();
}

bool GameWindow::StartReview() {
  std::vector<ReviewWord> words = practice_.ReviewWords();
  if (static_cast<int>(words.size()) < review_needed_) return false;
  review_words_ = std::move(words);
  reviewing_ = true;
  return true;
}

void GameWindow::RecordAnswer(const books::Word& word, bool good) {
  std::string book = BookLabel();
  if (reviewing_) {
    for (const ReviewWord& w : review_words_)
      if (w.word == word) book = w.book;
  }
  practice_.Record(word, book, good ? progress::Grade::Good : progress::Grade::Again, mode_);
}

void GameWindow::ReportRound(int elapsed, int mistakes) {
  best_time_.Offer(elapsed, mistakes);
  clock_.SetEnabled(false);
  platform_.ShowMessage("本局共 18 个单词\r\n您共错了 " + std::to_string(mistakes) +
                        " 次\r\n本局用时 " + TimeText(elapsed) + " 秒");
}

void GameWindow::SayFarewell(const std::string& mode_name) {
  clock_.SetEnabled(false);
  const std::string best =
      best_time_.Any() ? "最好成绩为 " + TimeText(best_time_.Tenths()) + " 秒" : "无最好成绩";
  platform_.ShowMessage("本次" + mode_name + "\r\n" + best + "\r\nGood-Bye!");
  EndProgram();
}

}  // namespace shell
