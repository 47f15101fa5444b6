#include "match/form1.h"

#include <algorithm>

#include "books/catalogue.h"
#include "shell/shell.h"

namespace match {
namespace {

const ui::Font kCellFont{"宋体", 10.5};

}  // namespace

Form1::Form1(shell::Shell& shell) : GameWindow(shell, "Form1") {
  // The labels go in before the cells, beneath them: the marker shows only where its cell's
  // button is hidden.
  form_.Add(Label1);
  form_.Add(Label2);
  form_.Add(Command1);
  Command1.OnClick = [this](int i) { Command1_Click(i); };
  // F2 says the cell the focus is on.
  ListenForSpeech(
      [this](const ui::SpeechRequest& request) { return request.FocusedCaption(Command1); });
}

void Form1::Form_Load() {
  SetUpWindow("Kestrin之连连看V3.6", true);

  // The grid grows from Command1(0): the cells touch, row by row.
  ui::Button& first = Command1[0];
  first.Move(kCellLeft, kCellTop, kCellWidth, kCellHeight);
  for (int i = 0; i < kCells; ++i) {
    Command1[i].Move((i % kBoardColumns) * first.Width() + first.Left(),
                     (i / kBoardColumns) * first.Height() + first.Top(), first.Width(),
                     first.Height());
    Command1[i].SetFont(kCellFont);
  }
  Label1.Move(Label1.Left(), Label1.Top(), first.Width(), first.Height());
  Label1.SetBackColor(kMarkerColor);
  Label1.SetFont(kCellFont);
  // Centred like the cell it stands in for.
  Label1.SetAlignment(ui::Alignment::Center);
  Label2.Move(kBarLeft, kBarTop, kBarWidth, kBarHeight);
  Label2.SetBackColor(kBarColor);
  Label2.SetTimeBar({kBarMinimum, kBarHeight});
  Label2.SetAccessibleName("剩余时间");

  SetUpBookControls("选书", "换组词", "换本书");
  SetUpGroupControls();
  SetUpModeColumn(shell::Mode::Match);
  BestTime = shell::kNoBestTime;
  ShowBookChoice();
}

void Form1::Form_Unload() {
  SayFarewell("连连看");
}

void Form1::ShowBookChoice() {
  for (int i = 0; i < kCells; ++i) Command1[i].SetVisible(false);
  Command3.SetVisible(true);
  Command2.SetVisible(false);
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  ShowModeColumn(false);
  Timer1.SetEnabled(false);
  Label1.SetVisible(false);
  Label2.SetVisible(false);
  List1.SetVisible(true);
  List2.SetVisible(false);
}

void Form1::LoadWordBook() {
  Command3.SetVisible(false);
  List1.SetVisible(false);
  List2.SetVisible(true);
  Command2.SetVisible(true);
  for (int i = 0; i < kCells; ++i) Command1[i].SetVisible(false);
  ShowModeColumn(false);
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  Label2.SetVisible(false);
  Timer1.SetEnabled(false);
  ReadSelectedBook();
  FillGroupList();
}

void Form1::Command2_Click() {
  // Without a selected group there is nothing to deal: stay in the group choice.
  if (List2.ListIndex() < 0) return;
  Command2.SetVisible(false);
  List2.SetVisible(false);
  form_.SetCaption("Kestrin之连连看V3.6 - " + List1.Text() + " - " + List2.Text());
  PrepareRound();
}

void Form1::Command5_Click() {
  Command5.SetVisible(false);
  Command6.SetVisible(false);
  ShowModeColumn(false);
  Label1.SetVisible(false);
  Label2.SetVisible(false);
  Timer1.SetEnabled(false);
  for (int i = 0; i < kCells; ++i) Command1[i].SetVisible(false);
  Command3.SetVisible(false);
  Command2.SetVisible(true);
  List2.SetVisible(true);
}

void Form1::PrepareRound() {
  BoardCells.fill(std::string());
  Picks.fill(0);
  const std::vector<int> records = PickGroupRecords();
  for (std::size_t k = 0; k < records.size() && k < Picks.size(); ++k) {
    const auto record = static_cast<std::size_t>(records[k]);
    Picks[k] = records[k];
    BoardCells[2 * k] = Book.EnglishEntries.at(record);
    BoardCells[2 * k + 1] = Book.ChineseMeanings.at(record);
  }
  ShowModeColumn(true);
  Command5.SetVisible(true);
  Command6.SetVisible(true);
  Label2.SetVisible(true);
  for (int i = 0; i < kCells; ++i) Command1[i].SetVisible(true);
  ShuffleRound();
}

void Form1::ShuffleRound() {
  Elapsed = 0;
  MatchedPairs = 0;
  Mistakes = 0;
  SelectedCell = -1;
  Label2.Move(Label2.Left(), kBarTop, Label2.Width(), kBarHeight);

  // Draw with rejection: a value already given to an earlier button is drawn again.
  for (int b = 0; b < kCells;) {
    const int cell = random_.Below(kCells);
    const auto end = CellOrder.begin() + b;
    CellOrder[static_cast<std::size_t>(b)] = cell;
    if (std::find(CellOrder.begin(), end, cell) == end) ++b;
  }
  for (int b = 0; b < kCells; ++b) {
    const int cell = CellOrder[static_cast<std::size_t>(b)];
    Command1[b].SetCaption(BoardCells[static_cast<std::size_t>(cell)]);
    Command1[b].SetVisible(true);
  }
  ShowRandomBackground();
  Timer1.SetEnabled(true);
}

void Form1::PlaceMarker(int index) {
  const ui::Button& first = Command1[0];
  Label1.Move((index % kBoardColumns) * first.Width() + first.Left(),
              (index / kBoardColumns) * first.Height() + first.Top(), Label1.Width(),
              Label1.Height());
  Label1.SetCaption(Command1[index].Caption());
}

bool Form1::IsPair(const std::string& first, const std::string& second) const {
  for (std::size_t k = 0; k < kPairs; ++k) {
    const std::string& entry = BoardCells[2 * k];
    const std::string& meaning = BoardCells[2 * k + 1];
    if ((second == meaning && first == entry) || (second == entry && first == meaning)) return true;
  }
  return false;
}

void Form1::Command1_Click(int Index) {
  // Only a cell still on the board can be chosen; the marker's own cell is hidden.
  if (Index < 0 || Index >= kCells || !Command1[Index].Visible()) return;
  // An English entry (an even cell of the board) is said as it is picked.
  if (CellOrder[static_cast<std::size_t>(Index)] % 2 == 0) SayUnasked(Command1[Index].Caption());

  if (SelectedCell == -1) {
    SelectedCell = Index;
    PlaceMarker(Index);
    Label1.SetVisible(true);
    Command1[Index].SetVisible(false);
    return;
  }

  const int s = SelectedCell;
  if (IsPair(Command1[s].Caption(), Command1[Index].Caption())) {
    Command1[s].SetVisible(false);
    SelectedCell = -1;
    Command1[Index].SetVisible(false);
    Label1.SetVisible(false);
    ++MatchedPairs;
    Label2.Move(Label2.Left(), Label2.Top() - kBarPerPair, Label2.Width(),
                Label2.Height() + kBarPerPair);
    if (MatchedPairs == kPairs) {
      ReportRound();  // stops the clock while its message is open
      ShuffleRound();
    } else if (MatchedPairs == kPairs / 2) {
      ShowRandomBackground();
    }
    return;
  }

  // A wrong pair: both cells become ordinary buttons again, and the marker moves beneath the
  // second one, where it cannot be seen.
  platform_.Beep();
  ++Mistakes;
  Command1[s].SetVisible(true);
  SelectedCell = -1;
  PlaceMarker(Index);
  Command1[Index].SetVisible(true);
}

void Form1::Timer1_Timer() {
  ++Elapsed;
  if (Label2.Visible()) {
    const int step = List1.Text() == books::kIdiomBookLabel ? kIdiomBarPerTick : kBarPerTick;
    Label2.Move(Label2.Left(), Label2.Top() + step, Label2.Width(), Label2.Height() - step);
  }
  if (Label2.Height() < kBarMinimum) {
    Timer1.SetEnabled(false);
    platform_.ShowMessage("过时，请重新来过");
    Timer1.SetEnabled(true);
    ShuffleRound();
  }
}

}  // namespace match
