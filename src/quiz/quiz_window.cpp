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

books::Word Exchanged(const books::Word& word) {
  return {word.chinese, word.english};
}

}  // namespace

QuizWindow::QuizWindow(shell::Shell& shell)
    : GameWindow(shell, "quiz_window", kTitle, progress::Mode::Quiz, kReviewWords, kColumnRows) {
  window_.Add(question_);
  window_.Add(answers_);
  DirectionButton(Direction::EnglishToChinese).on_click = [this] {
    OnChooseDirection(Direction::EnglishToChinese);
  };
  DirectionButton(Direction::ChineseToEnglish).on_click = [this] {
    OnChooseDirection(Direction::ChineseToEnglish);
  };
  answers_.on_click = [this](int answer) { OnAnswer(answer); };
  window_.on_key_press = [this](int key) { OnKey(key); };
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
  SetUpWindow(LoadTitle(), true);
  SetUpBookControls("选书", "换本书");
  SetUpGroupControls();
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
    answers_[i].SetFont({"宋体", 10.5, false});
  }
  question_.SetFont({"宋体", 14.25, false});
  question_.SetAutoSize(true);
  ShowBookChoice();
}

void QuizWindow::OnClose() {
  SayFarewell("英汉互译");
}

void QuizWindow::ShowScreen(Screen screen) {
  ShowControls(screen);
  clock_.SetEnabled(screen == Screen::Play);
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

void QuizWindow::LoadWordBook() {
  // The clock is left as it is: coming back to the window may have started it on the book
  // list, and it runs on through the group list, where nothing falls.
  ShowControls(Screen::GroupChoice);
  ReadSelectedBook();
  // A new book follows the direction in use: with "汉译英" it is asked from its Chinese side.
  if (!AsksEnglish()) ExchangeSides();
  FillGroupList();
}

void QuizWindow::ExchangeSides() {
  std::vector<std::string>& english = book_.english_entries;
  std::vector<std::string>& chinese = book_.chinese_meanings;
  for (std::size_t r = 1; r <= static_cast<std::size_t>(book_.word_count); ++r) {
    english[0] = english[r];
    english[r] = chinese[r];
    chinese[r] = english[0];
  }
}

void QuizWindow::OnChooseDirection(Direction direction) {
  direction_ = direction;
  ShowControls(Showing());
  ExchangeSides();
  PrepareRound();
}

void QuizWindow::PrepareRound() {
  std::vector<books::Word> words = RoundWords();
  if (words.empty()) return;  // no group chosen or no record: nothing to ask
  const books::WordBook* pool = &book_;
  if (Reviewing()) {
    // The words to review are asked in the direction in use, among distractors from the
    // loaded book, or else from the journal's words.
    if (!AsksEnglish())
      for (books::Word& word : words) word = Exchanged(word);
    if (book_.word_count < 1) {
      review_pool_ = books::WordBook{};
      review_pool_.english_entries.emplace_back();
      review_pool_.chinese_meanings.emplace_back();
      for (const books::Word& w : practice_.AllWords()) {
        const books::Word word = AsksEnglish() ? w : Exchanged(w);
        review_pool_.english_entries.push_back(word.english);
        review_pool_.chinese_meanings.push_back(word.chinese);
      }
      review_pool_.word_count = static_cast<int>(review_pool_.english_entries.size()) - 1;
      if (review_pool_.word_count < 1) return;
      pool = &review_pool_;
    }
  }
  round_.SetSlots(words, *pool);
  ShuffleRound();
}

void QuizWindow::ShuffleRound() {
  round_.Shuffle(random_);
  ShowRandomBackground();
  NextQuestion();
}

void QuizWindow::NextQuestion() {
  round_.DrawDistractors(random_);
  question_.SetTop(0);
  ShowQuestion();
  if (AsksEnglish()) SayUnasked(round_.Question());
}

void QuizWindow::ShowQuestion() {
  round_.DrawRightButton(random_);
  question_.SetCaption(round_.Question());
  const int range =
      text::CharCount(round_.Question()) > kLongQuestionChars ? kLongLeftRange : kShortLeftRange;
  question_.SetLeft(random_.Below(range) + kQuestionLeftMin);
  for (int i = 0; i < kAnswerButtons; ++i) answers_[i].SetCaption(round_.Answer(i));
}

void QuizWindow::OnAnswer(int answer) {
  const std::string& caption = answers_[answer].Caption();
  if (!round_.IsRight(caption)) {
    platform_.Beep();
    round_.CountMistake();
    RecordOutcomes();
    ShowQuestion();  // same question, new place and order; it goes on falling
    return;
  }
  if (!AsksEnglish()) SayUnasked(caption);
  if (round_.QuestionNo() == kRoundSlots / 2) ShowRandomBackground();
  const bool more = round_.Advance();
  RecordOutcomes();
  if (!more) {
    EndRound();
    return;
  }
  NextQuestion();
}

void QuizWindow::EndRound() {
  ReportRound(round_.Elapsed(), round_.Mistakes());
  clock_.SetEnabled(true);
  ShuffleRound();
}

void QuizWindow::OnTick() {
  round_.Tick();
  if (Showing() != Screen::Play) return;  // book or group choice: nothing falls
  question_.SetTop(question_.Top() + kFallStep);
  if (question_.Top() > kDropTop) {
    platform_.Beep();
    round_.CountMistake();
    RecordOutcomes();
    question_.SetTop(0);
  }
}

void QuizWindow::RecordOutcomes() {
  for (const Round::Outcome& outcome : round_.TakeOutcomes())
    RecordAnswer(AsksEnglish() ? outcome.word : Exchanged(outcome.word), outcome.good);
}

}  // namespace quiz
