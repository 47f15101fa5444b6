#include "quiz/form2.h"

#include <vector>

#include "shell/shell.h"
#include "text/text.h"

namespace quiz {
namespace {

constexpr char kTitle[] = "Kestrin之英汉互译V3.6";

// The answer buttons: one row of four, 2670 twips apart.
constexpr int kAnswerLeft = 1200;
constexpr int kAnswerStep = 2670;
constexpr int kAnswerTop = 6600;
constexpr int kAnswerWidth = 2100;
constexpr int kAnswerHeight = 900;

// Where the label may start: a long question gets a narrower range so that it stays inside
// the window.
constexpr int kLabelLeftMin = 2500;
constexpr int kLongQuestionChars = 8;
constexpr int kLongLeftRange = 3000;
constexpr int kShortLeftRange = 6000;

}  // namespace

Form2::Form2(shell::Shell& shell) : GameWindow(shell, "Form2") {
  form_.Add(Command2_5);
  form_.Add(Label1);
  form_.Add(Command1);
  Command2_2.OnClick = [this] { Command2_2_Click(); };
  Command2_3.OnClick = [this] { Command2_3_Click(); };
  Command1.OnClick = [this](int i) { Command1_Click(i); };
  form_.OnKeyPress = [this](int key) { Form_KeyPress(key); };
  // F2 says the falling question (英译汉) or the answer the focus is on (汉译英).
  ListenForSpeech([this](const ui::SpeechRequest& request) {
    if (AsksEnglish()) return Label1.Visible() ? Label1.Caption() : std::string();
    return request.FocusedCaption(Command1);
  });
}

void Form2::Form_KeyPress(int KeyAscii) {
  // The keys 1 to 4 press the answer buttons from left to right.
  if (KeyAscii >= '1' && KeyAscii < '1' + kAnswerButtons) Command1[KeyAscii - '1'].Click();
}

void Form2::Form_Load() {
  SetUpWindow(kTitle, true);
  SetUpBookControls("选书", "换组词", "换本书");
  SetUpGroupControls();
  PlaceModeButton(Command2_1, 0, "连连看");
  PlaceModeButton(Command2_2, 1, "英译汉");
  PlaceModeButton(Command2_3, 2, "汉译英");
  PlaceModeButton(Command2_4, 3, "双向词典");
  PlaceModeButton(Command2_5, 4, "屏幕保护");
  ConnectModeButton(Command2_1, shell::Mode::Match);
  ConnectModeButton(Command2_4, shell::Mode::Dictionary);
  ConnectModeButton(Command2_5, shell::Mode::ScreenSaver);
  for (int i = 0; i < Command1.Count(); ++i) {
    Command1[i].Move(kAnswerLeft + kAnswerStep * i, kAnswerTop, kAnswerWidth, kAnswerHeight);
    Command1[i].SetFont({"宋体", 10.5, false});
  }
  Label1.SetFont({"宋体", 14.25, false});
  Command2_2.SetEnabled(false);
  BestTime = shell::kNoBestTime;
  Label1.SetAutoSize(true);
  ShowBookChoice();
}

void Form2::Form_Unload() {
  SayFarewell("英汉互译");
}

void Form2::ShowPlayControls(bool shown) {
  Command5.SetVisible(shown);
  Command6.SetVisible(shown);
  ShowModeColumn(shown);
  Command2_5.SetVisible(shown);
  Label1.SetVisible(shown);
  for (int i = 0; i < Command1.Count(); ++i) Command1[i].SetVisible(shown);
}

void Form2::ShowBookChoice() {
  ShowPlayControls(false);
  Command2.SetVisible(false);
  List2.SetVisible(false);
  Timer1.SetEnabled(false);
  Command3.SetVisible(true);
  List1.SetVisible(true);
}

void Form2::LoadWordBook() {
  Command3.SetVisible(false);
  List1.SetVisible(false);
  List2.SetVisible(true);
  Command2.SetVisible(true);
  ReadSelectedBook();
  // A new book follows the direction in use: with "汉译英" active it is asked from its
  // Chinese side.
  if (!Command2_3.Enabled()) ExchangeSides();
  FillGroupList();
}

void Form2::Command2_Click() {
  // Without a selected group, or without a record to ask, there is no round to play: the
  // press is ignored and the window stays on its group list.
  if (List2.ListIndex() < 0 || Book.WordCount < 1) return;
  Command2.SetVisible(false);
  List2.SetVisible(false);
  ShowPlayControls(true);
  Timer1.SetEnabled(true);
  form_.SetCaption(std::string(kTitle) + " - " + List1.Text() + " - " + List2.Text());
  PrepareRound();
}

void Form2::Command5_Click() {
  ShowPlayControls(false);
  Command3.SetVisible(false);
  Timer1.SetEnabled(false);
  Command2.SetVisible(true);
  List2.SetVisible(true);
}

void Form2::ExchangeSides() {
  std::vector<std::string>& english = Book.EnglishEntries;
  std::vector<std::string>& chinese = Book.ChineseMeanings;
  for (int r = 1; r <= Book.WordCount; ++r) {
    english[0] = english[r];
    english[r] = chinese[r];
    chinese[r] = english[0];
  }
}

void Form2::SwitchDirection(ui::Button& pressed, ui::Button& other) {
  pressed.SetEnabled(false);
  other.SetEnabled(true);
  ExchangeSides();
  PrepareRound();
}

void Form2::Command2_2_Click() {
  SwitchDirection(Command2_2, Command2_3);
}

void Form2::Command2_3_Click() {
  SwitchDirection(Command2_3, Command2_2);
}

void Form2::PrepareRound() {
  std::vector<int> records = PickGroupRecords();
  if (records.empty()) return;  // no group selected or no record: nothing to ask
  for (int i = 1; i <= kRoundSlots; ++i) {
    RoundQuestions[i].clear();
    RoundAnswers[i].clear();
  }
  for (int i = 1; i <= static_cast<int>(records.size()); ++i) {
    Picks[i] = records[i - 1];
    RoundQuestions[i] = Book.EnglishEntries[Picks[i]];
    RoundAnswers[i] = Book.ChineseMeanings[Picks[i]];
  }
  QuestionNo = 1;
  Mistakes = 0;
  Elapsed = 0;
  ShuffleRound();
}

void Form2::ShuffleRound() {
  // A random order of the slots, drawing again whenever a slot is already taken.
  std::array<int, kRoundSlots + 1> order{};
  std::array<bool, kRoundSlots + 1> taken{};
  for (int i = 1; i <= kRoundSlots; ++i) {
    int p;
    do {
      p = random_.Below(kRoundSlots) + 1;
    } while (taken[p]);
    taken[p] = true;
    order[i] = p;
  }
  std::array<std::string, kRoundSlots + 1> questions = RoundQuestions;
  std::array<std::string, kRoundSlots + 1> answers = RoundAnswers;
  for (int i = 1; i <= kRoundSlots; ++i) {
    RoundQuestions[i] = std::move(questions[order[i]]);
    RoundAnswers[i] = std::move(answers[order[i]]);
  }
  ShowRandomBackground();
  NextQuestion();
}

void Form2::NextQuestion() {
  for (int k = 1; k <= kDistractors; ++k) Picks[k] = random_.Below(Book.WordCount) + 1;
  Label1.SetTop(0);
  ShowQuestion();
  if (AsksEnglish()) SayUnasked(Label1.Caption());
}

void Form2::ShowQuestion() {
  const int q = random_.Below(kAnswerButtons);
  Label1.SetCaption(RoundQuestions[QuestionNo]);
  if (text::CharCount(Label1.Caption()) > kLongQuestionChars)
    Label1.SetLeft(random_.Below(kLongLeftRange) + kLabelLeftMin);
  else
    Label1.SetLeft(random_.Below(kShortLeftRange) + kLabelLeftMin);
  // The distractors keep their order and fill the buttons that the right answer leaves free.
  int k = 1;
  for (int i = 0; i < kAnswerButtons; ++i)
    Command1[i].SetCaption(i == q ? RoundAnswers[QuestionNo] : Book.ChineseMeanings[Picks[k++]]);
}

bool Form2::IsRightAnswer(const std::string& answer) const {
  const std::string& question = Label1.Caption();
  for (int k = 1; k <= kDistractors; ++k) {
    if (Book.EnglishEntries[Picks[k]] == question && Book.ChineseMeanings[Picks[k]] == answer)
      return true;
  }
  return RoundAnswers[QuestionNo] == answer && RoundQuestions[QuestionNo] == question;
}

void Form2::Command1_Click(int Index) {
  if (!IsRightAnswer(Command1[Index].Caption())) {
    platform_.Beep();
    ++Mistakes;
    ShowQuestion();  // same question, new place and order; the label goes on falling
    return;
  }
  if (!AsksEnglish()) SayUnasked(Command1[Index].Caption());
  if (QuestionNo == kRoundSlots) {
    EndRound();
    return;
  }
  if (QuestionNo == kRoundSlots / 2) ShowRandomBackground();
  ++QuestionNo;
  NextQuestion();
}

void Form2::EndRound() {
  ReportRound();
  Timer1.SetEnabled(true);
  Mistakes = 0;
  Elapsed = 0;
  QuestionNo = 1;
  ShuffleRound();
}

void Form2::Timer1_Timer() {
  ++Elapsed;
  if (!Label1.Visible()) return;  // book or group choice: nothing falls
  Label1.SetTop(Label1.Top() + kFallStep);
  if (Label1.Top() > kDropTop) {
    platform_.Beep();
    ++Mistakes;
    Label1.SetTop(0);
  }
}

}  // namespace quiz
