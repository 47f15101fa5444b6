// The match game on real widgets (offscreen): the board as the user sees it, and real clicks
// on its cells showing the marker and clearing pairs.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "kit/kit.h"
#include "match/form1.h"
#include "qt/qt_harness.h"

namespace {

using shell::Mode;

const QColor kLightCyan(192, 255, 255);

class MatchWidgets : public qtharness::ProgramFixture {
 protected:
  // Starts the program, loads a 36-record own book and deals group 1 with button b showing
  // cell b: record k + 1 on buttons 2k and 2k + 1.
  void StartRound() {
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 1; i <= 36; ++i)
      records.push_back({"word" + std::to_string(i), "词" + std::to_string(i) + "义"});
    WriteOwnBook(records);
    Start();
    form = Model<match::Form1>(Mode::Match);
    ASSERT_NE(form, nullptr);
    qtharness::ClickRow(WidgetAs<QListWidget>("Form1", "List1"),
                        kit::RowOf(form->List1, books::kOwnBookLabel));
    Click("Form1", "Command3");
    qtharness::ClickRow(WidgetAs<QListWidget>("Form1", "List2"), 1);
    for (int b = 0; b < match::kCells; ++b) random.PushIndex(b, match::kCells);
    random.PushIndex(0, 20);
    Click("Form1", "Command2");
    ASSERT_TRUE(form->Timer1.Enabled());
  }

  QPushButton* Cell(int i) {
    return WidgetAs<QPushButton>("Form1", "Command1_" + std::to_string(i));
  }
  QLabel* Marker() { return WidgetAs<QLabel>("Form1", "Label1"); }

  // The widget the user sees at the centre of cell i (a child of it counts as itself).
  QWidget* SeenAt(int i) {
    QWidget* form_widget = Window("Form1");
    QWidget* seen = form_widget->childAt(Cell(i)->geometry().center());
    while (seen && seen->parentWidget() != form_widget) seen = seen->parentWidget();
    return seen;
  }

  // The colour drawn near the top-left corner of cell i, inside its frame.
  QColor ColourIn(int i) {
    const QImage shot = Window("Form1")->grab().toImage();
    return shot.pixelColor(Cell(i)->geometry().topLeft() + QPoint(6, 6));
  }

  match::Form1* form = nullptr;
};

TEST_F(MatchWidgets, TheBoardIsASixBySixGridOfCellButtons) {
  StartRound();
  EXPECT_EQ(Window("Form1")->windowTitle(), "Kestrin之连连看V3.6 - 《My词库》 - 1");
  for (int i = 0; i < match::kCells; ++i) {
    QPushButton* cell = Cell(i);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->isVisible()) << i;
    EXPECT_EQ(cell->geometry(), QRect(220 + 74 * (i % 6), 13 + 86 * (i / 6), 74, 86)) << i;
    EXPECT_DOUBLE_EQ(cell->font().pointSizeF(), 10.5);
  }
  EXPECT_EQ(Cell(6)->text().toStdString(), "word4");
  EXPECT_EQ(Cell(7)->text().toStdString(), "词4义");
  EXPECT_FALSE(Marker()->isVisible());
}

TEST_F(MatchWidgets, RealClicksShowTheMarkerClearPairsAndHideAWrongPairsMarker) {
  StartRound();
  qtharness::Settle();

  // A first choice: the cell gives way to the light-cyan marker with its text.
  Click("Form1", "Command1_0");
  EXPECT_EQ(form->SelectedCell, 0);
  EXPECT_FALSE(Cell(0)->isVisible());
  ASSERT_TRUE(Marker()->isVisible());
  EXPECT_EQ(Marker()->geometry(), Cell(0)->geometry());
  EXPECT_EQ(Marker()->text().toStdString(), "word1");
  EXPECT_EQ(SeenAt(0), Marker());
  EXPECT_EQ(ColourIn(0), kLightCyan);

  // Its partner: both cells leave the board, and so does the marker.
  Click("Form1", "Command1_1");
  EXPECT_EQ(form->MatchedPairs, 1);
  EXPECT_FALSE(Cell(0)->isVisible());
  EXPECT_FALSE(Cell(1)->isVisible());
  EXPECT_FALSE(Marker()->isVisible());
  EXPECT_EQ(SeenAt(0), nullptr);
  EXPECT_EQ(SeenAt(1), nullptr);

  // A wrong pair: both are ordinary buttons again; the marker lies unseen beneath the second.
  Click("Form1", "Command1_2");
  Click("Form1", "Command1_5");
  EXPECT_EQ(form->Mistakes, 1);
  EXPECT_TRUE(Cell(2)->isVisible());
  EXPECT_TRUE(Cell(5)->isVisible());
  EXPECT_EQ(Marker()->geometry(), Cell(5)->geometry());
  EXPECT_EQ(SeenAt(5), Cell(5));
  EXPECT_NE(ColourIn(5), kLightCyan);
  EXPECT_NE(ColourIn(2), kLightCyan);
}

TEST_F(MatchWidgets, BackInTheGameTheBoardHasTheFocusNotTheButtonThatLeftIt) {
  random.fallback = 0.0;  // the deals and pictures this test does not look at
  StartRound();
  Click("Form1", "Command2_4");  // to the screen saver, and back
  ASSERT_NE(Window("Form4"), nullptr);
  EXPECT_EQ(Window("Form4")->focusWidget(), Window("Form4")) << "no mode button on opening";
  Click("Form4", "Command2_1");
  EXPECT_EQ(Window("Form1")->focusWidget(), Cell(0));
}

}  // namespace
