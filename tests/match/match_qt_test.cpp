// The match game on real widgets (offscreen): the board as the user sees it, and real clicks
// on its cells showing the marker and clearing pairs.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRawFont>
#include <QTextLayout>

#include "kit/kit.h"
#include "match/match_window.h"
#include "qt/faces.h"
#include "qt/qt_harness.h"
#include "qt/widgets.h"

namespace {

using shell::Mode;

const QColor kLightCyan(192, 255, 255);

class MatchWidgets : public qtharness::ProgramFixture {
 protected:
  // Starts the program, loads a 36-record own book and deals group 1 with button b showing
  // cell b: record k + 1 on buttons 2k and 2k + 1.
  // `first` replaces the first records' English entries.
  void StartRound(const std::vector<std::string>& first = {}) {
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 1; i <= 36; ++i)
      records.push_back({"word" + std::to_string(i), "词" + std::to_string(i) + "义"});
    for (std::size_t k = 0; k < first.size(); ++k) records[k].first = first[k];
    WriteOwnBook(records);
    Start();
    form_ = Model(Mode::Match);
    ASSERT_TRUE(form_);
    qtharness::ClickRow(WidgetAs<QListWidget>("match_window", "book_list"),
                        kit::RowOf(form_->BookList(), books::kOwnBookLabel));
    Click("match_window", "choose_book_button");
    qtharness::ClickRow(WidgetAs<QListWidget>("match_window", "group_list"), 1);
    for (int b = 0; b < match::kCells; ++b) random_.PushIndex(b, match::kCells);
    random_.PushIndex(0, 20);
    Click("match_window", "choose_group_button");
    ASSERT_TRUE(form_->Clock().Enabled());
  }

  QPushButton* Cell(int i) {
    return WidgetAs<QPushButton>("match_window", "cells_" + std::to_string(i));
  }
  QLabel* Marker() { return WidgetAs<QLabel>("match_window", "marker"); }

  // The widget the user sees at the centre of cell i (a child of it counts as itself).
  QWidget* SeenAt(int i) {
    QWidget* form_widget = Window("match_window");
    QWidget* seen = form_widget->childAt(Cell(i)->geometry().center());
    while (seen && seen->parentWidget() != form_widget) seen = seen->parentWidget();
    return seen;
  }

  // The colour drawn near the top-left corner of cell i, inside its frame.
  QColor ColourIn(int i) {
    const QImage shot = Window("match_window")->grab().toImage();
    return shot.pixelColor(Cell(i)->geometry().topLeft() + QPoint(6, 6));
  }

  std::optional<kit::Controls> form_;
};

TEST_F(MatchWidgets, TheBoardIsASixBySixGridOfCellButtons) {
  StartRound();
  EXPECT_EQ(Window("match_window")->windowTitle(), "Kestrin之连连看V3.6 - 《My词库》 - 1");
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
  Click("match_window", "cells_0");
  EXPECT_FALSE(Cell(0)->isVisible());
  ASSERT_TRUE(Marker()->isVisible());
  EXPECT_EQ(Marker()->geometry(), Cell(0)->geometry());
  EXPECT_EQ(Marker()->text().toStdString(), "word1");
  EXPECT_EQ(SeenAt(0), Marker());
  EXPECT_EQ(ColourIn(0), kLightCyan);

  // Its partner: both cells leave the board, and so does the marker.
  Click("match_window", "cells_1");
  EXPECT_FALSE(Cell(0)->isVisible());
  EXPECT_FALSE(Cell(1)->isVisible());
  EXPECT_FALSE(Marker()->isVisible());
  EXPECT_EQ(SeenAt(0), nullptr);
  EXPECT_EQ(SeenAt(1), nullptr);

  // A wrong pair: both are ordinary buttons again; the marker lies unseen beneath the second.
  Click("match_window", "cells_2");
  Click("match_window", "cells_5");
  EXPECT_TRUE(Cell(2)->isVisible());
  EXPECT_TRUE(Cell(5)->isVisible());
  EXPECT_EQ(Marker()->geometry(), Cell(5)->geometry());
  EXPECT_EQ(SeenAt(5), Cell(5));
  EXPECT_NE(ColourIn(5), kLightCyan);
  EXPECT_NE(ColourIn(2), kLightCyan);
}

TEST_F(MatchWidgets, BackInTheGameTheBoardHasTheFocusNotTheButtonThatLeftIt) {
  random_.fallback = 0.0;  // the deals and pictures this test does not look at
  StartRound();
  Click("match_window", "mode_buttons_3");  // to the screen saver, and back
  ASSERT_NE(Window("screensaver_window"), nullptr);
  EXPECT_EQ(Window("screensaver_window")->focusWidget(), Window("screensaver_window"))
      << "no mode button on opening";
  Click("screensaver_window", "mode_buttons_0");
  EXPECT_EQ(Window("match_window")->focusWidget(), Cell(0));
}

// The faces that draw each character of `text` in `font`, in the order they draw.
QStringList FacesDrawing(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  QStringList faces;
  qreal baseline = -1;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    faces.append(run.rawFont().familyName());
    EXPECT_TRUE(baseline < 0 || run.positions().front().y() == baseline) << "one baseline";
    baseline = run.positions().front().y();
  }
  faces.removeDuplicates();
  faces.sort();
  return faces;
}

TEST_F(MatchWidgets, LatinLettersComeFromTheLatinFaceAndChineseFromTheSongFace) {
  StartRound({"light", "X光", "T恤"});
  const QString latin = QString::fromLatin1(qtbind::kLatinFace);
  const bool song_installed = QFontDatabase::hasFamily(QStringLiteral("宋体")) ||
                              QFontDatabase::hasFamily(QStringLiteral("SimSun"));
  const QStringList song_faces{QStringLiteral("宋体"), QStringLiteral("SimSun"),
                               QStringLiteral("AR PL UMing CN"),
                               QStringLiteral("Noto Serif CJK SC")};
  struct Row {
    int cell;
    bool latin, chinese;  // drawn from the Latin face, from a Song face
  } rows[] = {{0, true, false}, {1, true, true}, {2, true, true}, {3, true, true}};
  for (const Row& row : rows) {
    auto* cell = dynamic_cast<qtbind::ButtonWidget*>(Cell(row.cell));
    ASSERT_NE(cell, nullptr);
    const QStringList faces = FacesDrawing(cell->text(), cell->Caption().font);
    SCOPED_TRACE(cell->text().toStdString() + ": " + faces.join(',').toStdString());
    if (song_installed) {  // its own Latin letters are clear
      EXPECT_EQ(faces.size(), 1);
      continue;
    }
    EXPECT_EQ(faces.contains(latin), row.latin);
    int song = 0;
    for (const QString& face : faces) song += song_faces.contains(face);
    EXPECT_EQ(song, row.chinese ? 1 : 0);
    EXPECT_EQ(faces.size(), int(row.latin) + int(row.chinese)) << "no third face";
  }
  // The message boxes and everything else without a font of its own draw in the same faces.
  EXPECT_EQ(QApplication::font().families(), Cell(0)->font().families());
}

TEST_F(MatchWidgets, CellsShowingLettersThatLookAlikeElsewhereDrawDifferentPixels) {
  // Cells 2, 4, 6, 8 and 10 show records 2 to 6; cell 0 holds the focus and is left out.
  StartRound({"word", "l", "1", "I", "O", "0", "ill", "i11", "l1l", "lI1"});
  qtharness::Settle();
  const QImage shot = Window("match_window")->grab().toImage();
  auto pixels = [&](int cell) { return shot.copy(Cell(cell)->geometry()); };
  struct Row {
    int a, b;
  } rows[] = {{2, 4}, {2, 6}, {4, 6}, {8, 10}, {12, 14}, {16, 18}};
  for (const Row& row : rows) {
    const QImage a = pixels(row.a), b = pixels(row.b);
    int differ = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) differ += a.pixel(x, y) != b.pixel(x, y);
    EXPECT_GT(differ, 8) << Cell(row.a)->text().toStdString() << " and "
                         << Cell(row.b)->text().toStdString() << " look the same";
  }
}

TEST_F(MatchWidgets, AssistiveTechnologyReadsTheWindowListsCellsAndTheTimeLeft) {
  StartRound();
  qtharness::Settle();
  auto describe = [](QObject* object) { return QAccessible::queryAccessibleInterface(object); };
  QAccessibleInterface* window = describe(Window("match_window"));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), Window("match_window")->windowTitle());
  struct Row {
    const char* control;
    QAccessible::Role role;
    const char* name;
    bool invisible;
  } rows[] = {
      {"book_list", QAccessible::List, "词库", true},
      {"group_list", QAccessible::List, "组", true},
      {"cells_6", QAccessible::Button, "word4", false},
      {"cells_7", QAccessible::Button, "词4义", false},
      {"time_bar", QAccessible::ProgressBar, "剩余时间", false},
      {"choose_book_button", QAccessible::Button, "选书", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control);
    QAccessibleInterface* control = describe(Widget("match_window", row.control));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->role(), row.role);
    EXPECT_EQ(control->text(QAccessible::Name).toStdString(), row.name);
    EXPECT_EQ(control->state().invisible, row.invisible);
    EXPECT_EQ(control->parent()->object(), Window("match_window"));
  }
  // The focus rests on the first cell of the deal, and assistive technology sees it there.
  EXPECT_TRUE(describe(Cell(0))->state().focused);
  EXPECT_FALSE(describe(Cell(1))->state().focused);

  // The bar's value is the time left: the full bar at the deal, less with every tick, more
  // with every cleared pair.
  QAccessibleValueInterface* bar = describe(Widget("match_window", "time_bar"))->valueInterface();
  ASSERT_NE(bar, nullptr);
  const int full = match::kBarHeight - match::kBarMinimum;
  EXPECT_EQ(bar->minimumValue().toInt(), 0);
  EXPECT_EQ(bar->maximumValue().toInt(), full);
  EXPECT_EQ(bar->currentValue().toInt(), full);
  platform_.DeliverTick([this] { form_->Clock().Tick(); });
  EXPECT_EQ(bar->currentValue().toInt(), full - match::kBarPerTick);
  EXPECT_EQ(bar->currentValue().toInt(), form_->TimeBar().Height() - match::kBarMinimum);
  Click("match_window", "cells_0");
  Click("match_window", "cells_1");
  EXPECT_EQ(bar->currentValue().toInt(), full - match::kBarPerTick + match::kBarPerPair);
  EXPECT_EQ(bar->maximumValue().toInt(), bar->currentValue().toInt());
}

}  // namespace
