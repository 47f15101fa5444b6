#include "match/match_window.h"

#include "shell/shell.h"

namespace match {
namespace {

constexpr char kTitle[] = "Kestrin之连连看V3.6";
const ui::Font kCellFont{"宋体", 10.5};
// A board needs one word at least: the pairs past the words are empty, as in a short group.
constexpr int kReviewWords = 1;

}  // namespace

MatchWindow::MatchWindow(shell::Shell& shell)
    : GameWindow(shell, "match_window", kTitle, progress::Mode::Match, kReviewWords) {
  // The labels go in before the cells, beneath them: the marker shows only where its cell's
  // button is hidden.
  window_.Add(marker_);
  window_.Add(time_bar_);
  window_.Add(cells_);
  cells_.on_click = [this](int cell) { OnCellPressed(cell); };
  // F2 says the cell the focus is on.
  ListenForSpeech([this](const ui::Attention& request) { return request.FocusedCaption(cells_); });
}

void MatchWindow::Load() {
  SetUpWindow(LoadTitle(), true);

  // The grid grows from the first cell: the cells touch, row by row.
  ui::Button& first = cells_[0];
  first.Move(kCellLeft, kCellTop, kCellWidth, kCellHeight);
  for (int i = 0; i < kCells; ++i) {
    cells_[i].Move((i % kBoardColumns) * first.Width() + first.Left(),
                   (i / kBoardColumns) * first.Height() + first.Top(), first.Width(),
                   first.Height());
    cells_[i].SetFont(kCellFont);
  }
  marker_.Move(marker_.Left(), marker_.Top(), first.Width(), first.Height());
  marker_.SetBackColor(kMarkerColor);
  marker_.SetFont(kCellFont);
  // Centred like the cell it stands in for.
  marker_.SetAlignment(ui::Alignment::Center);
  time_bar_.Move(kBarLeft, kBarTop, kBarWidth, kBarHeight);
  time_bar_.SetBackColor(kBarColor);
  time_bar_.SetTimeBar({kBarMinimum, kBarHeight});
  time_bar_.SetAccessibleName("剩余时间");

  SetUpBookControls("选书", "换本书");
  SetUpGroupControls();
  SetUpModeColumn(shell::Mode::Match);
  ShowBookChoice();
}

void MatchWindow::OnClose() {
  SayFarewell("连连看");
}

void MatchWindow::ShowScreen(Screen screen) {
  const bool play = screen == Screen::Play;
  std::vector<shell::Shown> rows = {{&time_bar_, play}, {&marker_, play && round_.MarkerShown()}};
  for (int cell = 0; cell < kCells; ++cell)
    rows.push_back({&cells_[cell], play && round_.OnBoard(cell)});
  ShowGameControls(screen, std::move(rows));
  clock_.SetEnabled(play);
}

void MatchWindow::ShowRound() {
  for (int cell = 0; cell < kCells; ++cell) cells_[cell].SetCaption(round_.Caption(cell));
  // The marker stands where the cell it stands for stands, measured from the first cell.
  if (const int at = round_.MarkerCell(); at >= 0) {
    const ui::Button& first = cells_[0];
    marker_.Move((at % kBoardColumns) * first.Width() + first.Left(),
                 (at / kBoardColumns) * first.Height() + first.Top(), marker_.Width(),
                 marker_.Height());
    marker_.SetCaption(round_.Caption(at));
  }
  time_bar_.Move(kBarLeft, round_.BarTop(), kBarWidth, round_.BarHeight());
  ShowScreen(Showing());
}

void MatchWindow::LoadWordBook() {
  ShowScreen(Screen::GroupChoice);
  ReadSelectedBook();
  FillGroupList();
}

void MatchWindow::PrepareRound() {
  round_.SetWords(RoundWords());
  ShowScreen(Screen::Play);
  ShuffleRound();
}

void MatchWindow::ShuffleRound() {
  round_.Deal(random_);
  ShowRound();
  ShowRandomBackground();
  clock_.SetEnabled(true);
}

void MatchWindow::OnCellPressed(int cell) {
  if (cell < 0 || cell >= kCells || !round_.OnBoard(cell)) return;
  // An English entry (an even text of the board) is said as it is picked.
  if (round_.TextOf(cell) % 2 == 0) SayUnasked(round_.Caption(cell));

  const Round::Press press = round_.PressCell(cell);
  RecordOutcomes();
  if (press == Round::Press::Wrong) platform_.Beep();
  ShowRound();  // a cleared pair leaves the board before a report or a picture shows
  if (press == Round::Press::Won) {
    ReportRound(round_.Elapsed(), round_.Mistakes());  // stops the clock while it is open
    ShuffleRound();
  } else if (press == Round::Press::Paired && round_.MatchedPairs() == kPairs / 2) {
    ShowRandomBackground();
  }
}

void MatchWindow::RecordOutcomes() {
  for (const Round::Outcome& outcome : round_.TakeOutcomes())
    RecordAnswer(outcome.word, outcome.good);
}

void MatchWindow::OnTick() {
  const int step = IsIdiomBook() ? kIdiomBarPerTick : kBarPerTick;
  const bool time_up = round_.Tick(Showing() == Screen::Play, step);
  time_bar_.Move(kBarLeft, round_.BarTop(), kBarWidth, round_.BarHeight());
  if (time_up) {
    RecordOutcomes();
    clock_.SetEnabled(false);
    platform_.ShowMessage("过时，请重新来过");
    clock_.SetEnabled(true);
    ShuffleRound();
  }
}

}  // namespace match
