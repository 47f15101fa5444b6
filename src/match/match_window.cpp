#include "match/match_window.h"

#include "shell/shell.h"

namespace match {
namespace {

constexpr char kTitle[] = "Kestrin之连连看V3.6";
// A board needs one word at least: the pairs past the words are empty, as in a short group.
constexpr int kReviewWords = 1;

}  // namespace

MatchWindow::MatchWindow(shell::Shell& shell)
    : GameWindow(shell, "match_window", kTitle, shell::Mode::Match, kReviewWords) {
  // The labels go in before the cells, beneath them: the marker shows only where its cell's
  // button is hidden.
  Window().Add(marker_);
  Window().Add(time_bar_);
  Window().Add(cells_);
  cells_.on_click = [this](int cell) { OnCellPressed(cell); };
  // F2 says the cell the focus is on.
  ListenForSpeech([this](const ui::Attention& request) { return request.FocusedCaption(cells_); });
}

void MatchWindow::Load() {
  SetUpWindow(LoadTitle(), shell::Seed::FromClock);
  for (int i = 0; i < kCells; ++i) {
    cells_[i].Move(CellLeft(i), CellTop(i), kCellWidth, kCellHeight);
    cells_[i].SetFont(shell::kWordFont);
  }
  marker_.Move(marker_.Left(), marker_.Top(), kCellWidth, kCellHeight);
  marker_.SetBackColor(kMarkerColor);
  marker_.SetFont(shell::kWordFont);
  // Centred like the cell it stands in for.
  marker_.SetAlignment(ui::Alignment::Center);
  time_bar_.Move(kBarLeft, kBarTop, kBarWidth, kBarHeight);
  time_bar_.SetBackColor(kBarColor);
  time_bar_.SetTimeBar({kBarMinimum, kBarHeight});
  time_bar_.SetAccessibleName("剩余时间");

  SetUpGameControls();
  SetUpModeColumn(shell::Mode::Match);
  ShowScreen(Screen::BookChoice);
}

void MatchWindow::OnClose() {
  SayFarewell("连连看");
}

void MatchWindow::ShowControls(Screen screen) {
  const bool play = screen == Screen::Play;
  std::vector<shell::Shown> rows = {{&time_bar_, play}, {&marker_, play && round_.MarkerShown()}};
  for (int cell = 0; cell < kCells; ++cell)
    rows.push_back({&cells_[cell], play && round_.OnBoard(cell)});
  ShowGameControls(screen, std::move(rows));
}

void MatchWindow::ShowBoard() {
  for (int cell = 0; cell < kCells; ++cell) cells_[cell].SetCaption(round_.Caption(cell));
  // The marker stands where the cell it stands for stands.
  if (const int at = round_.MarkerCell(); at >= 0) {
    marker_.Move(CellLeft(at), CellTop(at), marker_.Width(), marker_.Height());
    marker_.SetCaption(round_.Caption(at));
  }
  time_bar_.Move(kBarLeft, round_.BarTop(), kBarWidth, round_.BarHeight());
}

void MatchWindow::OnChooseBook() {
  ShowScreen(Screen::GroupChoice);
  LoadChosenBook();
}

bool MatchWindow::StartRound() {
  round_.SetWords(Source().Words(), Source().Size());
  Deal();
  return true;
}

void MatchWindow::Deal() {
  round_.Deal(Random());
  ShowBoard();
  ShowRandomBackground();
}

void MatchWindow::DealAgain() {
  Deal();
  ShowScreen(Screen::Play);
}

void MatchWindow::OnCellPressed(int cell) {
  if (cell < 0 || cell >= kCells || !round_.OnBoard(cell)) return;
  // An English entry (an even text of the board) is said as it is picked.
  if (round_.TextOf(cell) % 2 == 0) SayUnasked(round_.Caption(cell));

  const Round::Press press = round_.PressCell(cell);
  RecordOutcomes();
  if (press == Round::Press::Wrong) Platform().Beep();
  // A cleared pair leaves the board before a report or a picture shows.
  ShowBoard();
  ShowScreen(Showing());
  if (press == Round::Press::Won) {
    if (ReportRound(round_.Words(), round_.Elapsed(), round_.Mistakes())) DealAgain();
  } else if (press == Round::Press::Paired && round_.MatchedPairs() == round_.Words() / 2) {
    ShowRandomBackground();
  }
}

std::optional<books::Word> MatchWindow::KnownWord(const ui::Attention& attention) {
  for (int cell = 0; cell < kCells; ++cell)
    if (attention.focus == &cells_[cell] && round_.OnBoard(cell)) return round_.WordAt(cell);
  return std::nullopt;
}

void MatchWindow::OnTick() {
  const int step = Book().IsIdiomBook() ? kIdiomBarPerTick : kBarPerTick;
  const bool time_up = round_.Tick(Showing() == Screen::Play, step);
  time_bar_.Move(kBarLeft, round_.BarTop(), kBarWidth, round_.BarHeight());
  if (time_up) {
    RecordOutcomes();
    ShowPaused("过时，请重新来过");
    DealAgain();
  }
}

}  // namespace match
