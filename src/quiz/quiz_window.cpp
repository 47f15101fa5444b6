#include "quiz/quiz_window.h"

#include "shell/shell.h"
#include "text/text.h"

namespace quiz {
namespace {

constexpr char kTitle[] = "Kestrin之英汉互译V3.6";
// The column: 连连看, the two direction buttons, 双向词典, 屏幕保护.
constexpr int kColumnRows = 5;
constexpr int kEnglishToChineseRow = 1;
constexpr int kChineseToEnglishRow = 2;
// A question offers four answers: a review round needs four words to draw them from.
constexpr int kReviewWords = 4;

}  // namespace

QuizWindow::QuizWindow(shell::Shell& shell)
    : GameWindow(shell, "quiz_window", kTitle, shell::Mode::Quiz, kReviewWords, kColumnRows) {
  Window().Add(question_);
  Window().Add(answers_);
  DirectionButton(Direction::EnglishToChinese).on_click = [this] {
    OnChooseDirection(Direction::EnglishToChinese);
  };
  DirectionButton(Direction::ChineseToEnglish).on_click = [this] {
    OnChooseDirection(Direction::ChineseToEnglish);
  };
  answers_.on_click = [this](int answer) { OnAnswer(answer); };
  Window().on_key_press = [this](int key) { OnKey(key); };
  // F2 says the falling question (英译汉) or the answer the focus is on (汉译英).
  ListenForSpeech([this](const ui::Attention& request) {
    if (AsksEnglish()) return Showing() == Screen::Play ? question_.Caption() : std::string();
    return request.FocusedCaption(answers_);
  });
}

ui::Button& QuizWindow::DirectionButton(Direction direction) {
  return ModeButton(direction == Direction::EnglishToChinese ? kEnglishToChineseRow
                                                             : kChineseToEnglishRow);
}

void QuizWindow::OnKey(int key) {
  // The keys 1 to 4 press the answer buttons from left to right.
  if (key >= '1' && key < '1' + kAnswerButtons) answers_[key - '1'].Click();
}

void QuizWindow::Load() {
  SetUpWindow(LoadTitle(), shell::Seed::FromClock);
  SetUpGameControls();
  PlaceModeButton(0, "连连看");
  PlaceModeButton(kEnglishToChineseRow, "英译汉");
  PlaceModeButton(kChineseToEnglishRow, "汉译英");
  PlaceModeButton(3, "双向词典");
  PlaceModeButton(4, "屏幕保护");
  ConnectModeButton(0, shell::Mode::Match);
  ConnectModeButton(3, shell::Mode::Dictionary);
  ConnectModeButton(4, shell::Mode::ScreenSaver);
  for (int i = 0; i < answers_.Count(); ++i) {
    answers_[i].Move(kAnswerLeft + kAnswerStep * i, kAnswerTop, kAnswerWidth, kAnswerHeight);
    answers_[i].SetFont(shell::kWordFont);
  }
  question_.SetFont({"宋体", 14.25, false});
  question_.SetAutoSize(true);
  ShowScreen(Screen::BookChoice);
}

void QuizWindow::OnClose() {
  SayFarewell("英汉互译");
}

void QuizWindow::ShowControls(Screen screen) {
  const bool play = screen == Screen::Play;
  std::vector<shell::Shown> rows = {{&question_, play}};
  for (int i = 0; i < answers_.Count(); ++i) rows.push_back({&answers_[i], play});
  ShowGameControls(screen, std::move(rows));
  // The button of the direction in use is the disabled one.
  DirectionButton(Direction::EnglishToChinese).SetEnabled(!AsksEnglish());
  DirectionButton(Direction::ChineseToEnglish).SetEnabled(AsksEnglish());
}

void QuizWindow::OnChooseBook() {
  // The clock is left as it is: coming back to the window may have started it on the book
  // list, and it runs on through the group list, where nothing falls.
  ShowControls(Screen::GroupChoice);
  LoadChosenBook();
}

void QuizWindow::OnChooseDirection(Direction direction) {
  direction_ = direction;
  ShowControls(Showing());
  // On whatever screen is shown: a group chosen in the list starts its round there too.
  if (ChooseAgain()) StartRound();
}

std::string QuizWindow::CannotReview(const std::vector<books::Word>& words) {
  const std::vector<books::Word>& book = Book().book.words;
  // Read apart: the pool of a round in play stays as it is when the review is refused.
  const std::vector<books::Word> journal =
      book.empty() ? Practice().AllWords() : std::vector<books::Word>();
  const std::span<const books::Word> pool = book.empty() ? std::span(journal) : std::span(book);
  if (Round::EnoughDistractors(words, pool, direction_)) return {};
  return book.empty() ? "学习记录中的单词不够凑出四个不同的答案"
                      : "这本书的单词不够凑出四个不同的答案";
}

bool QuizWindow::StartRound() {
  std::span<const books::Word> pool = Book().book.words;
  const bool review = Source().Reviewing();
  if (review && pool.empty()) {
    // Without a book the words to review are asked among the journal's words.
    journal_words_ = Practice().AllWords();
    pool = journal_words_;
  }
  if (Source().Words().empty() || pool.empty()) return false;
  if (review && !Round::EnoughDistractors(Source().Words(), pool, direction_)) return false;
  round_.SetSlots(Source().Words(), pool, direction_, Source().Size());
  ShuffleRound();
  return true;
}

void QuizWindow::ShuffleRound() {
  round_.Shuffle(Random());
  ShowRandomBackground();
  NextQuestion();
}

void QuizWindow::NextQuestion() {
  round_.DrawDistractors(Random());
  question_.SetTop(0);
  ShowQuestion();
  if (AsksEnglish()) SayUnasked(round_.Question());
}

void QuizWindow::ShowQuestion() {
  round_.DrawRightButton(Random());
  question_.SetCaption(round_.Question());
  const int range =
      text::CharCount(round_.Question()) > kLongQuestionChars ? kLongLeftRange : kShortLeftRange;
  question_.SetLeft(Random().Below(range) + kQuestionLeftMin);
  for (int i = 0; i < kAnswerButtons; ++i) answers_[i].SetCaption(round_.Answer(i));
}

void QuizWindow::OnAnswer(int answer) {
  const std::string& caption = answers_[answer].Caption();
  if (!round_.IsRight(caption)) {
    Platform().Beep();
    round_.CountMistake();
    RecordOutcomes();
    ShowQuestion();  // same question, new place and order; it goes on falling
    return;
  }
  if (!AsksEnglish()) SayUnasked(caption);
  if (round_.QuestionNo() == round_.Words() / 2) ShowRandomBackground();
  const bool more = round_.Advance();
  RecordOutcomes();
  if (!more) {
    EndRound();
    return;
  }
  NextQuestion();
}

void QuizWindow::EndRound() {
  if (ReportRound(round_.Words(), round_.Elapsed(), round_.Mistakes())) ShuffleRound();
}

void QuizWindow::OnTick() {
  const bool play = Showing() == Screen::Play;
  round_.Tick(play);
  if (!play) return;  // book or group choice: nothing falls
  question_.SetTop(question_.Top() + kFallStep);
  if (question_.Top() > kDropTop) {
    Platform().Beep();
    round_.Fall();
    RecordOutcomes();
    question_.SetTop(0);
  }
}

std::optional<books::Word> QuizWindow::KnownWord(const ui::Attention& attention) {
  static_cast<void>(attention);
  return round_.Slot();
}

}  // namespace quiz
