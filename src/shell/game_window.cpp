#include "shell/game_window.h"

#include <algorithm>
#include <utility>

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
  AddShortcut("F3", [this] { OnReview(Review::Due); });
  AddShortcut("Ctrl+Z", [this] { OnUndo(); });
  AddShortcut("F5", [this](const ui::Attention& attention) { OnKnown(attention); });
  ListenForMenu([this] { return GameEntries(); });
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

ui::Timer* GameWindow::RoundClock() {
  return screen_ == Screen::Play && clock_.Enabled() ? &clock_ : nullptr;
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
  const std::string_view review = source_.ReviewingAhead() ? "提前复习" : "复习";
  if (label.empty()) return Title(title_, {review});
  return Title(title_, {label, review});
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

void GameWindow::OnReview(Review review) {
  std::vector<ReviewWord> words =
      review == Review::Due ? Practice().ReviewWords() : Practice().ReviewAheadWords();
  review_failure_.clear();
  if (words.empty()) {
    if (review == Review::Due) {
      if (std::string nothing_due = Practice().NothingDue(); !nothing_due.empty()) {
        ShowPaused(nothing_due);
        return;
      }
    }
    review_failure_ = Practice().WhyNoWords();
    return;
  }
  std::vector<books::Word> asked;
  for (const ReviewWord& w : words) asked.push_back(w.word);
  if (review_failure_ = CannotReview(asked); !review_failure_.empty()) return;
  const RoundSource before = source_;
  const Screen from = screen_;
  const std::string title = Window().Caption();
  if (!source_.ChooseReview(std::move(words), review)) return;
  if (!EnterPlay()) {
    // What it needed went between the question and the deal: the round in play goes on.
    source_ = before;
    review_failure_ = CannotReview(asked);
    if (review_failure_.empty()) review_failure_ = Practice().WhyNoWords();
    return;
  }
  if (!before.Reviewing()) {
    review_from_ = from;
    title_before_review_ = title;
  }
}

void GameWindow::EndReview() {
  source_.Drop();
  Window().SetCaption(title_before_review_);
  Screen back = review_from_ == Screen::Play ? Screen::GroupChoice : review_from_;
  if (back == Screen::GroupChoice && Book().label.empty()) back = Screen::BookChoice;
  ShowScreen(back);
}

bool GameWindow::ChooseAgain() {
  return source_.ChooseAgain(group_list_.ListIndex(), Random());
}

bool GameWindow::EnterPlay() {
  if (!StartRound()) {
    source_.Drop();
    return false;
  }
  Window().SetCaption(PlayTitle());
  ShowScreen(Screen::Play);
  return true;
}

std::vector<std::vector<GameWindow::Answered>>& GameWindow::Steps() {
  if (Grades().Rounds() != steps_round_) {
    steps_.clear();
    steps_round_ = Grades().Rounds();
  }
  return steps_;
}

void GameWindow::RecordOutcomes() {
  std::vector<Answered> step;
  for (const Tally::Outcome& outcome : Grades().TakeOutcomes()) {
    const progress::Grade grade = outcome.good ? progress::Grade::Good : progress::Grade::Again;
    if (const std::optional<AnswerId> id =
            Practice().Record(outcome.word, source_.BookOf(outcome.word), grade, mode_))
      step.push_back({outcome.word, *id});
  }
  if (!step.empty()) Steps().push_back(std::move(step));
}

void GameWindow::OnUndo() {
  std::vector<std::vector<Answered>>& steps = Steps();
  if (steps.empty() || screen_ != Screen::Play) return;
  std::vector<AnswerId> ids;
  for (const Answered& answered : steps.back()) ids.push_back(answered.id);
  if (!Practice().TakeBack(ids)) return;
  for (const Answered& answered : steps.back()) Grades().Untell(answered.word);
  steps.pop_back();
}

void GameWindow::OnKnown(const ui::Attention& attention) {
  if (screen_ != Screen::Play) return;
  const std::optional<books::Word> word = KnownWord(attention);
  if (!word || word->Empty()) return;
  // An answer given to the word in this round is replaced.
  std::vector<std::vector<Answered>>& steps = Steps();
  const auto same = [&word](const Answered& answered) { return answered.word == *word; };
  std::vector<AnswerId> replaced;
  for (const std::vector<Answered>& step : steps)
    for (const Answered& answered : step)
      if (same(answered)) replaced.push_back(answered.id);
  if (!replaced.empty() && !Practice().TakeBack(replaced)) return;
  for (std::vector<Answered>& step : steps) std::erase_if(step, same);
  std::erase_if(steps, [](const std::vector<Answered>& step) { return step.empty(); });
  Grades().Claim(*word);
  if (const std::optional<AnswerId> id =
          Practice().Record(*word, source_.BookOf(*word), progress::Grade::Easy, mode_))
    steps.push_back({{*word, *id}});
}

std::vector<ui::Window::MenuEntry> GameWindow::GameEntries() {
  using Entry = ui::Window::MenuEntry;
  const bool play = screen_ == Screen::Play;
  std::vector<Entry> entries = {
      Practice().ReviewEntry(review_needed_,
                             [this](const ui::Attention&) { OnReview(Review::Due); }),
      Practice().ReviewAheadEntry(review_needed_,
                                  [this](const ui::Attention&) { OnReview(Review::Ahead); }),
      Practice().JournalEntry("撤销 (Ctrl+Z)",
                              play && !Steps().empty() ? "" : "本局没有可撤销的答案",
                              [this](const ui::Attention&) { OnUndo(); }),
      Practice().JournalEntry("我认识 (F5)", play ? "" : "开始一局后可用",
                              [this](const ui::Attention& attention) { OnKnown(attention); }),
  };
  if (!review_failure_.empty()) entries.push_back(Entry::Info("不能复习：" + review_failure_));
  return entries;
}

void GameWindow::ShowPaused(const std::string& message) {
  const bool running = clock_.Enabled();
  clock_.SetEnabled(false);
  Platform().ShowMessage(message);
  clock_.SetEnabled(running);
}

bool GameWindow::ReportRound(int words, int elapsed, int mistakes) {
  // A review's words are few and known to be due: its time says nothing of the book's rounds.
  if (!source_.Reviewing()) best_time_.Offer(elapsed, mistakes);
  ShowPaused("本局共 " + std::to_string(words) + " 个单词\r\n您共错了 " + std::to_string(mistakes) +
             " 次\r\n本局用时 " + TimeText(elapsed) + " 秒");
  if (!source_.Reviewing()) return true;
  EndReview();
  return false;
}

void GameWindow::SayFarewell(const std::string& mode_name) {
  clock_.SetEnabled(false);
  const std::string best =
      best_time_.Any() ? "最好成绩为 " + TimeText(best_time_.Tenths()) + " 秒" : "无最好成绩";
  Platform().ShowMessage("本次" + mode_name + "\r\n" + best + "\r\nGood-Bye!");
  EndProgram();
}

}  // namespace shell
