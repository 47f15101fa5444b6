#include "shell/game_window.h"

#include "shell/practice.h"
#include "shell/shell.h"

namespace shell {

GameWindow::GameWindow(Shell& shell, const std::string& name, std::string_view title, Mode mode,
                       int review_words, int column_rows)
    : ModeWindow(shell, name, column_rows),
      books_(
          Window(), Platform(), books::BookCatalogue(), [this] { OnChooseBook(); },
          [this] { ShowBookChoice(); }),
      title_(title),
      mode_(mode),
      review_needed_(review_words) {
  ui::Window& window = Window();
  window.Add(group_list_);
  window.Add(choose_group_button_);
  window.Add(change_group_button_);
  window.Add(clock_);
  choose_group_button_.on_click = [this] { OnChooseGroup(); };
  group_list_.on_dbl_click = [this] { OnChooseGroup(); };
  change_group_button_.on_click = [this] { OnChangeGroup(); };
  clock_.on_timer = [this] { OnTick(); };
  PressOnEnter(group_list_, choose_group_button_);
  // F3 and the first entry of the menu start a review round.
  AddShortcut("F3", [this] { OnReview(); });
  ListenForMenu([this] {
    return std::vector<ui::Window::MenuEntry>{
        Practice().ReviewEntry(review_needed_, [this](const ui::Attention&) { OnReview(); })};
  });
}

void GameWindow::SetUpGameControls() {
  books_.SetUp("选书", "换本书");
  group_list_.Move(kGroupListLeft, kGroupListTop, kGroupListWidth, kGroupListHeight);
  group_list_.SetAccessibleName("组");
  choose_group_button_.Move(kGroupListLeft, kChooseGroupTop, kButtonWidth, kButtonHeight);
  choose_group_button_.SetCaption("选组");
  PlaceColumnButton(change_group_button_, kFirstButtonTop, "换组词");
  clock_.SetInterval(kTickInterval);
}

void GameWindow::LoadChosenBook() {
  books_.ReadChosen();
  FillGroupList();
}

void GameWindow::FillGroupList() {
  group_list_.Clear();
  for (int i = 0; i <= source_.LastGroup(); ++i) group_list_.AddItem(std::to_string(i));
}

std::string GameWindow::PlayTitle() const {
  const std::string& label = Book().label;
  if (!source_.Reviewing()) return Title(title_, {label, group_list_.Text()});
  if (label.empty()) return Title(title_, {"复习"});
  return Title(title_, {label, "复习"});
}

void GameWindow::ShowScreen(Screen screen) {
  ShowControls(screen);
  clock_.SetEnabled(screen == Screen::Play);
}

void GameWindow::ShowGameControls(Screen screen, std::vector<Shown> rows) {
  screen_ = screen;
  const bool books = screen == Screen::BookChoice;
  const bool groups = screen == Screen::GroupChoice;
  const bool play = screen == Screen::Play;
  rows.insert(rows.begin(), {{&books_.List(), books},
                             {&books_.ChooseButton(), books},
                             {&group_list_, groups},
                             {&choose_group_button_, groups},
                             {&change_group_button_, play},
                             {&books_.ChangeButton(), play}});
  ShowScreenTable(rows, play);
}

void GameWindow::ShowBookChoice() {
  source_.Drop();
  ShowScreen(Screen::BookChoice);
}

void GameWindow::OnChooseGroup() {
  if (source_.ChooseGroup(group_list_.ListIndex(), Random())) EnterPlay();
}

void GameWindow::OnChangeGroup() {
  source_.Drop();
  ShowScreen(Book().label.empty() ? Screen::BookChoice : Screen::GroupChoice);
}

void GameWindow::OnReview() {
  if (source_.ChooseReview(Practice().ReviewWords(), review_needed_)) EnterPlay();
}

bool GameWindow::ChooseAgain() {
  return source_.ChooseAgain(group_list_.ListIndex(), Random());
}

void GameWindow::EnterPlay() {
  if (!StartRound()) {
    source_.Drop();
    return;
  }
  Window().SetCaption(PlayTitle());
  ShowScreen(Screen::Play);
}

void GameWindow::RecordAnswer(const books::Word& word, bool good) {
  Practice().Record(word, source_.BookOf(word),
                    good ? progress::Grade::Good : progress::Grade::Again, mode_);
}

void GameWindow::ShowPaused(const std::string& message) {
  clock_.SetEnabled(false);
  Platform().ShowMessage(message);
  clock_.SetEnabled(true);
}

void GameWindow::ReportRound(int words, int elapsed, int mistakes) {
  best_time_.Offer(elapsed, mistakes);
  ShowPaused("本局共 " + std::to_string(words) + " 个单词\r\n您共错了 " + std::to_string(mistakes) +
             " 次\r\n本局用时 " + TimeText(elapsed) + " 秒");
}

void GameWindow::SayFarewell(const std::string& mode_name) {
  clock_.SetEnabled(false);
  const std::string best =
      best_time_.Any() ? "最好成绩为 " + TimeText(best_time_.Tenths()) + " 秒" : "无最好成绩";
  Platform().ShowMessage("本次" + mode_name + "\r\n" + best + "\r\nGood-Bye!");
  EndProgram();
}

}  // namespace shell
