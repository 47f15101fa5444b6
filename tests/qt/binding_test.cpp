// The Qt binding on the offscreen platform: real widgets, real (synthesised) input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "qt/convert.h"
#include "qt/faces.h"
#include "qt/qt_harness.h"
#include "qt/speech.h"
#include "qt/widgets.h"
#include "ui/control.h"
#include "ui/window.h"

namespace {

using qtharness::Settle;

// A window of our own with one control of every kind, on the Qt platform.
class BindingTest : public ::testing::Test {
 protected:
  BindingTest() {
    qtharness::AnswerMessages(platform_, messages_, &on_message_);
    window_.Move(1500, 1500, 12000, 8550);
    window_.SetCaption("测试窗口");
    window_.Add(note_);
    window_.Add(cells_);
    window_.Add(choices_);
    window_.Add(line_box_);
    window_.Add(text_area_);
    window_.Add(ticker_);
    for (int i = 0; i < cells_.Count(); ++i)  // a 3 x 3 grid of 975 x 375 cells
      cells_[i].Move(3000 + (i % 3) * 975, 1500 + (i / 3) * 375, 975, 375);
    cells_.on_click = [this](int i) { clicks_.push_back(i); };
    choices_.Move(4400, 3000, 3400, 2000);
    for (const char* row : {"《My词库》", "《高考英语词汇手册》(3468)", "第三本"})
      choices_.AddItem(row);
    line_box_.Move(600, 600, 3000, 300);
    text_area_.Move(600, 5400, 7500, 2000);
    text_area_.SetMultiLine(true);
    platform_.Attach(window_);
  }
  void Show() {
    window_.Show();
    Settle();
  }
  template <class W>
  W* Widget(const std::string& name) {
    QWidget* form = Form();
    auto* w =
        form ? dynamic_cast<W*>(form->findChild<QWidget*>(QString::fromStdString(name))) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QWidget* Form() { return platform_.WindowWidget("probe_window"); }
  // Lets `count` intervals of `ms` pass on a timer of our own, so that a timer of the model
  // with that interval had its chances to tick.
  static void LetIntervalsPass(int ms, int count) {
    QTimer own;
    int fired = 0;
    QObject::connect(&own, &QTimer::timeout, [&fired] { ++fired; });
    own.start(ms);
    EXPECT_TRUE(QTest::qWaitFor([&fired, count] { return fired >= count; }, 5000));
  }

  std::vector<std::string> messages_;
  std::function<void(const std::string&)> on_message_;
  qtbind::QtPlatform platform_;
  ui::Window window_{"probe_window", platform_};
  ui::Label note_{"note"};
  ui::ButtonArray cells_{"cells", 9};
  ui::ListBox choices_{"choices"};
  ui::TextBox line_box_{"line_box"};
  ui::TextBox text_area_{"text_area"};
  ui::Timer ticker_{"ticker"};
  std::vector<int> clicks_;
};

TEST_F(BindingTest, WidgetsAreMadeOnFirstShowAndAClickReachesTheArrayHandlerWithItsIndex) {
  EXPECT_EQ(Form(), nullptr);
  Show();
  ASSERT_NE(Form(), nullptr);
  EXPECT_EQ(Form()->objectName(), "probe_window");
  qtharness::Click(Widget<QPushButton>("cells_5"));
  qtharness::Click(Widget<QPushButton>("cells_0"));
  EXPECT_EQ(clicks_, (std::vector<int>{5, 0}));
}

TEST_F(BindingTest, GeometryFollowsTheTwipsRoundedOnlyWhenPlaced) {
  Show();
  EXPECT_EQ(Form()->geometry().size(), QSize(800, 570));
  EXPECT_EQ(Form()->pos(), QPoint(100, 100));
  struct Row {
    int left, top, width, height;
    QRect pixels;
  } rows[] = {
      {4400, 1500, 3400, 4000, {293, 100, 227, 267}},
      {500, 2400, 975, 375, {33, 160, 65, 25}},
      {7, 8, 22, 23, {0, 1, 1, 2}},
      {0, 0, 0, 0, {0, 0, 0, 0}},
  };
  auto* label = Widget<QLabel>("note");
  for (const Row& row : rows) {
    note_.Move(row.left, row.top, row.width, row.height);
    EXPECT_EQ(label->geometry(), row.pixels) << row.left << "," << row.top;
  }
  // A time bar shrinking by a fraction of a pixel a tick keeps its exact width in the model.
  note_.Move(3000, 300, 6000, 200);
  for (int tick = 0; tick < 5; ++tick) note_.SetWidth(note_.Width() - 3);
  EXPECT_EQ(note_.Width(), 5985);
  EXPECT_EQ(label->width(), 399);
  window_.Move(3000, 1500, 12000, 8550);
  EXPECT_EQ(Form()->pos(), QPoint(200, 100));
}

TEST_F(BindingTest, VisibilityEnabledStateAndCaptionsFollowTheModel) {
  Show();
  auto* cell = Widget<QPushButton>("cells_4");
  cells_[4].SetCaption("R&D 研发");
  EXPECT_EQ(cell->text(), "R&&D 研发");  // shown as written, no mnemonic
  cells_[4].SetVisible(false);
  EXPECT_FALSE(cell->isVisible());
  cells_[4].SetVisible(true);
  EXPECT_TRUE(cell->isVisible());
  cells_[4].SetEnabled(false);
  EXPECT_FALSE(cell->isEnabled());
  note_.SetCaption("<b>1</b>\r\n二");
  EXPECT_EQ(Widget<QLabel>("note")->text(), "<b>1</b>\n二");
  EXPECT_EQ(Widget<QLabel>("note")->textFormat(), Qt::PlainText);
  window_.SetCaption("Kestrin之连连看V3.6 - 《My词库》 - 1");
  EXPECT_EQ(Form()->windowTitle(), "Kestrin之连连看V3.6 - 《My词库》 - 1");
  window_.Hide();
  EXPECT_FALSE(Form()->isVisible());
}

TEST_F(BindingTest, LabelsLieBeneathButtonsThoughAddedAfterThem) {
  ui::Label late{"late_note"};
  window_.Add(late);  // after the buttons, and after the attach: known only through Controls()
  Show();
  const QPoint centre = Widget<QPushButton>("cells_4")->geometry().center();
  for (ui::Label* marker : {&note_, &late}) {
    marker->Move(cells_[4].Left(), cells_[4].Top(), 975, 375);
    EXPECT_EQ(Form()->childAt(centre), Widget<QPushButton>("cells_4")) << marker->Name();
    marker->SetLeft(0);
  }
  late.Move(cells_[4].Left(), cells_[4].Top(), 975, 375);
  cells_[4].SetVisible(false);
  EXPECT_EQ(Form()->childAt(centre), Widget<QLabel>("late_note"));
}

TEST_F(BindingTest, LabelsTakeTheirColoursFontAndTransparency) {
  Show();
  auto* label = Widget<QLabel>("note");
  note_.SetBackColor(ui::Rgb(255, 0, 0));
  note_.SetForeColor(ui::Rgb(0, 0, 255));
  note_.SetFont({"宋体", 10.5, true});
  EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(label->autoFillBackground());
  EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 10.5);
  EXPECT_TRUE(label->font().bold());
  EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
  note_.SetTransparent(true);
  EXPECT_FALSE(label->autoFillBackground());
  // Some installed face draws Chinese, so no empty boxes.
  bool drawable = false;
  for (const QString& family : label->font().families())
    drawable |= QRawFont::fromFont(QFont(family), QFontDatabase::SimplifiedChinese)
                    .supportsCharacter(QChar(0x8FDE));  // 连
  EXPECT_TRUE(drawable);
}

TEST_F(BindingTest, CaptionsFitTheirFixedSizeWholeWordsFirstAndNeverLeaveIt) {
  Show();
  // A board cell and the match marker over it: 1110 x 1290 twips, 宋体 10.5 pt, centred.
  const ui::Font cell_font{"宋体", 10.5, false};
  cells_[4].Move(3000, 1500, 1110, 1290);
  cells_[4].SetFont(cell_font);
  note_.Move(3000, 1500, 1110, 1290);
  note_.SetFont(cell_font);
  note_.SetAlignment(ui::Alignment::Center);
  auto* button = dynamic_cast<qtbind::ButtonWidget*>(Widget<QPushButton>("cells_4"));
  auto* label = dynamic_cast<qtbind::LabelWidget*>(Widget<QLabel>("note"));
  ASSERT_TRUE(button && label);
  enum Size { Stated, Smaller, Any };
  struct Row {
    const char* caption;
    Size size;
    bool whole;  // every word drawn on one line
  } rows[] = {
      {"苹果", Stated, true},
      {"knowledge", Any, true},
      {"一心-", Stated, true},
      {"international relations", Any, true},
      {"n. 知识；学问（总称）", Any, true},
      {"知识；学问；学识；认识；了解；理解；消息；信息；见闻与经验。", Smaller, true},
      {"pneumonoultramicroscopicsilicovolcanoconiosis", Smaller, false},
  };
  auto without_spaces = [](QString text) { return text.remove(QLatin1Char(' ')); };
  for (const Row& row : rows) {
    cells_[4].SetCaption(row.caption);
    note_.SetCaption(row.caption);
    const QString caption = QString::fromUtf8(row.caption);
    for (auto [widget, layout] :
         {std::pair<QWidget*, const qtbind::CaptionLayout*>{button, &button->Caption()},
          {label, &label->Caption()}}) {
      SCOPED_TRACE(widget->objectName().toStdString() + ": " + row.caption);
      EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), 10.5) << "the widget keeps the stated size";
      const qreal points = layout->font.pointSizeF();
      EXPECT_TRUE(row.size == Stated ? points == 10.5 : row.size == Any || points < 10.5)
          << points << " pt";
      EXPECT_TRUE(!row.whole || points >= qtbind::kSmallestWholeWordsPoints) << points << " pt";
      EXPECT_EQ(layout->words_whole, row.whole);
      const QFontMetricsF metrics(layout->font);
      const QRectF cell(widget->rect());
      QString shown;
      for (const auto& line : layout->lines) {
        shown += line.text;
        const QRectF ink = metrics.boundingRect(line.text).translated(
            line.box.left(), line.box.top() + metrics.ascent());
        EXPECT_TRUE(cell.contains(line.box)) << line.text.toStdString();
        EXPECT_GE(ink.left(), cell.left()) << line.text.toStdString();
        EXPECT_LE(ink.right(), cell.right()) << line.text.toStdString();
        EXPECT_FALSE(line.text.startsWith(QStringLiteral("；")) ||
                     line.text.startsWith(QStringLiteral("）")))
            << "closing punctuation begins a line: " << line.text.toStdString();
      }
      EXPECT_EQ(without_spaces(shown), without_spaces(caption)) << "every character is drawn";
      if (!row.whole) continue;
      static const QRegularExpression kWord(QStringLiteral("[A-Za-z]+"));
      for (const QRegularExpressionMatch& word : kWord.globalMatch(caption)) {
        bool on_one_line = false;
        for (const auto& line : layout->lines) on_one_line |= line.text.contains(word.captured());
        EXPECT_TRUE(on_one_line) << word.captured().toStdString() << " is broken";
      }
    }
  }
}

TEST(CaptionLayoutTest, LinesBreakAtSpacesAndBetweenChineseCharactersOnly) {
  // Each area is as wide as `fits` at the stated size and tall enough for any number of
  // lines, so the rules alone decide where lines end.
  const QFont font = qtbind::ToQFont({"宋体", 10.5, false});
  const QFontMetricsF metrics(font);
  struct Row {
    const char* caption;
    const char* fits;
    std::vector<const char*> lines;
  } rows[] = {
      {"in spite of", "in spite", {"in spite", "of"}},
      {"计算机辅助设计", "计算机辅", {"计算机辅", "助设计"}},
      {"引诱；吸引", "引诱；吸", {"引诱；", "吸引"}},      // after the phrase, not 吸 / 引
      {"知识，学问", "知识", {"知", "识，", "学问"}},      // a comma never begins a line
      {"设计（CAD）", "设计（CA", {"设计", "（CAD）"}},    // brackets keep their word
      {"使用CPU时间", "使用CP", {"使用", "CPU时", "间"}},  // no break inside CPU
      {"first\nsecond line", "first second line", {"first", "second line"}},
  };
  for (const Row& row : rows) {
    // As wide as the line's advance, or its ink where a serif reaches further.
    const QString fits = QString::fromUtf8(row.fits);
    const QRectF area(
        0, 0, std::max(metrics.horizontalAdvance(fits), metrics.boundingRect(fits).right()) + 0.5,
        1000);
    const qtbind::CaptionLayout layout =
        qtbind::FitCaption(QString::fromUtf8(row.caption), font, area, Qt::AlignLeft);
    std::vector<std::string> lines;
    for (const auto& line : layout.lines) lines.push_back(line.text.toStdString());
    EXPECT_EQ(lines, std::vector<std::string>(row.lines.begin(), row.lines.end())) << row.caption;
    EXPECT_DOUBLE_EQ(layout.font.pointSizeF(), 10.5) << row.caption;
  }
}

TEST_F(BindingTest, AnAutoSizedLabelIsLargeEnoughForItsText) {
  Show();
  for (const char* caption : {"屏幕保护", "Kestrin", "W", "一心一意\r\n二"}) {
    note_.SetFont({"宋体", 36, true});
    note_.SetAutoSize(true);
    note_.SetCaption(caption);
    auto* label = Widget<QLabel>("note");
    EXPECT_GE(label->width(), label->sizeHint().width()) << caption;
    EXPECT_GE(label->height(), label->sizeHint().height()) << caption;
  }
}

TEST_F(BindingTest, AMessageIsPlainOkOnlyCaptionedVantleAndShownAfterThePendingChanges) {
  Show();
  QMessageBox* seen = nullptr;
  platform_.on_message_shown = [&](QMessageBox& box) {
    seen = &box;
    EXPECT_EQ(box.windowTitle(), "Vantle");
    EXPECT_EQ(box.text(), "本局共 18 个单词\n您共错了 0 次\n<b>");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
    EXPECT_FALSE(Widget<QPushButton>("cells_8")->isVisible());  // the last pair is gone
    box.button(QMessageBox::Ok)->click();
  };
  cells_.on_click = [this](int i) {
    cells_[i].SetVisible(false);
    platform_.ShowMessage("本局共 18 个单词\r\n您共错了 0 次\r\n<b>");
  };
  qtharness::Click(Widget<QPushButton>("cells_8"));
  EXPECT_NE(seen, nullptr);

  // Enter, Space and Escape each answer it.
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape}) {
    bool open = true;
    platform_.on_message_shown = [&open, key](QMessageBox& box) {
      QTimer::singleShot(5000, &box, [&box] {  // a guard, not a measurement
        ADD_FAILURE() << "the key did not close the message";
        box.done(0);
      });
      QWidget* focus = box.focusWidget() ? box.focusWidget() : &box;
      QTest::keyClick(focus, key);
      open = box.isVisible();
    };
    platform_.ShowMessage("过时，请重新来过");
    EXPECT_FALSE(open) << key;
  }
}

TEST_F(BindingTest, AFailureEscapingAHandlerIsShownAndEndsTheProgramWithStatusOne) {
  Show();
  cells_.on_click = [](int) -> void { throw std::runtime_error("iconv: no CP936 support"); };
  qtharness::Click(Widget<QPushButton>("cells_0"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("iconv: no CP936 support"), std::string::npos) << messages_[0];
  EXPECT_TRUE(platform_.Ended());
  EXPECT_EQ(platform_.ExitCode(), 1);
  EXPECT_FALSE(Form()->isVisible());
}

TEST_F(BindingTest, EndingTheProgramHidesTheWindowQuitsTheLoopAndStopsAllDelivery) {
  Show();
  int ticks = 0;
  ticker_.SetInterval(10);
  ticker_.on_timer = [&] { ++ticks; };
  cells_.on_click = [this](int i) {
    clicks_.push_back(i);
    ticker_.SetEnabled(true);
    platform_.EndProgram();
    clicks_.push_back(-1);  // never reached
  };
  QEventLoop loop;
  QTimer::singleShot(0, [this] { qtharness::Click(Widget<QPushButton>("cells_1")); });
  QTimer::singleShot(5000, &loop, [&loop] { loop.exit(1); });  // a guard, not a measurement
  EXPECT_EQ(loop.exec(), 0);
  EXPECT_TRUE(platform_.Ended());
  EXPECT_EQ(clicks_, std::vector<int>{1});
  EXPECT_FALSE(Form()->isVisible());
  window_.Show();  // only to reach the widgets again: no event gets through any more
  Settle();
  Widget<QPushButton>("cells_2")->click();
  LetIntervalsPass(10, 3);
  Form()->close();
  EXPECT_EQ(clicks_, std::vector<int>{1});
  EXPECT_EQ(ticks, 0);
}

TEST_F(BindingTest, TheUserChoosesListRowsButNeverClearsThemAndDoubleClicksOnlyOnARow) {
  int double_clicks = 0;
  choices_.on_dbl_click = [&] { ++double_clicks; };
  Show();
  auto* list = Widget<QListWidget>("choices");
  ASSERT_EQ(list->count(), 3);
  list->setFocus(Qt::TabFocusReason);  // Qt makes row 0 current on focus: that is no choice
  Settle();
  EXPECT_EQ(choices_.ListIndex(), -1);
  EXPECT_EQ(list->currentRow(), -1) << "no row may look chosen while none is";
  qtharness::ClickRow(list, 1);
  EXPECT_EQ(choices_.Text(), "《高考英语词汇手册》(3468)");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    list->visualItemRect(list->item(1)).center());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, {10, list->viewport()->height() - 5});
  EXPECT_EQ(choices_.ListIndex(), 1);
  EXPECT_TRUE(list->item(1)->isSelected());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, {10, list->viewport()->height() - 5});
  EXPECT_EQ(double_clicks, 0) << "the empty space below the rows is no row";
  qtharness::DoubleClickRow(list, 2);
  EXPECT_EQ(double_clicks, 1);
  EXPECT_EQ(choices_.ListIndex(), 2);
  choices_.SetListIndex(2);
  EXPECT_EQ(list->currentRow(), 2);
  choices_.Clear();
  for (int g = 0; g <= 1667; ++g) choices_.AddItem(std::to_string(g));
  EXPECT_EQ(list->count(), 1668);
  EXPECT_EQ(list->item(1667)->text(), "1667");
  EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(BindingTest, TypedTextReachesTheModelAfterEachKeyPressWithItsCode) {
  std::vector<std::pair<int, std::string>> presses;  // code and the text at that moment
  line_box_.on_key_press = [&](int code) { presses.emplace_back(code, line_box_.Text()); };
  Show();
  auto* edit = Widget<QLineEdit>("line_box");
  edit->setFocus();
  QTest::keyClicks(edit, "ab");
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(line_box_.Text(), "a");
  EXPECT_EQ(presses, (std::vector<std::pair<int, std::string>>{
                         {'a', ""}, {'b', "a"}, {13, "ab"}, {8, "ab"}}));
  line_box_.SetText("苹果");
  EXPECT_EQ(edit->text(), "苹果");
}

TEST_F(BindingTest, AMultiLineBoxShowsEveryCrLfLineAndTheUserCannotEditIt) {
  Show();
  auto* area = Widget<QPlainTextEdit>("text_area");
  text_area_.SetText("apple\r\n苹果\r\n\r\nbook\r\n书\r\n\r\n");
  EXPECT_EQ(area->toPlainText(), "apple\n苹果\n\nbook\n书\n\n");
  // Each entry with its empty line is one text block, which keeps long lists fast.
  EXPECT_EQ(area->blockCount(), 3);
  EXPECT_TRUE(area->isReadOnly());
  EXPECT_EQ(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  // A one-line box made multi-line gets a box of that kind, showing its text, and back.
  line_box_.SetText("ab");
  line_box_.SetMultiLine(true);
  auto* grown = Widget<QPlainTextEdit>("line_box");
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(grown->toPlainText(), "ab");
  EXPECT_TRUE(grown->isVisible());
  line_box_.SetMultiLine(false);
  auto* edit = Widget<QLineEdit>("line_box");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "ab");
}

TEST_F(BindingTest, TimersTickOnlyWhileEnabledAndNeverInsideARunningHandler) {
  int ticks = 0, ticks_while_open = -1;
  ticker_.SetInterval(10);
  ticker_.on_timer = [&] { ++ticks; };
  ticker_.SetEnabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
  Show();
  cells_.on_click = [&](int) {
    const int before = ticks;
    on_message_ = [&](const std::string&) { LetIntervalsPass(10, 3); };
    platform_.ShowMessage("本局");
    ticks_while_open = ticks - before;
  };
  qtharness::Click(Widget<QPushButton>("cells_0"));
  EXPECT_EQ(ticks_while_open, 0);
  ticker_.SetEnabled(false);
  Settle();
  const int stopped_at = ticks;
  LetIntervalsPass(10, 3);
  EXPECT_EQ(ticks, stopped_at);
}

TEST_F(BindingTest, ClosingTheWindowRunsItsUnloadAndTheWindowStays) {
  int unloads = 0;
  window_.on_unload = [&] { ++unloads; };
  Show();
  Form()->close();
  EXPECT_EQ(unloads, 1);
  EXPECT_TRUE(Form()->isVisible());
}

TEST_F(BindingTest, MovingTheWindowWritesItsNewPlaceBackToTheModel) {
  Show();
  Form()->move(250, 40);
  Settle();
  EXPECT_EQ(window_.Left(), 3750);
  EXPECT_EQ(window_.Top(), 600);
  EXPECT_EQ(window_.Width(), 12000);
}

TEST_F(BindingTest, ArrowKeysWalkTheShownButtonsAndEnterClicks) {
  Show();
  cells_[4].SetVisible(false);  // the centre cell of the 3 x 3 grid is cleared
  cells_[8].SetEnabled(false);
  Widget<QPushButton>("cells_3")->setFocus();
  struct Step {
    Qt::Key key;
    const char* lands_on;
  } steps[] = {
      {Qt::Key_Right, "cells_5"},  // over the cleared cell, along the row
      {Qt::Key_Up, "cells_2"},    {Qt::Key_Left, "cells_1"},
      {Qt::Key_Down, "cells_7"},   // over the cleared cell, down the column
      {Qt::Key_Down, "cells_7"},   // nothing below: the focus stays
      {Qt::Key_Right, "cells_5"},  // 8 is disabled: the nearest one that way
  };
  for (const Step& step : steps) {
    QTest::keyClick(QApplication::focusWidget(), step.key);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), step.lands_on) << step.key;
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(clicks_, (std::vector<int>{5, 5}));
  // A list keeps its arrows.
  auto* list = Widget<QListWidget>("choices");
  list->setFocus();
  choices_.SetListIndex(0);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(choices_.ListIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), list);
}

TEST_F(BindingTest, TheFocusLeavesAHiddenOrDisabledControlForTheOneActedOnNext) {
  Show();
  QWidget* form = Form();
  auto focus = [form] {
    QWidget* w = form->focusWidget();
    return w == form ? std::string("probe_window") : w ? w->objectName().toStdString() : "";
  };
  Widget<QPushButton>("cells_4")->setFocus();
  struct Step {
    std::function<void()> change;
    const char* lands_on;
  } steps[] = {
      {[&] { cells_[4].SetVisible(false); }, "cells_5"},  // the nearest cell, its row first
      {[&] { cells_[5].SetEnabled(false); }, "cells_3"},
      {[&] {
         for (int i = 0; i < 9; ++i) cells_[i].SetVisible(false);
       },
       "choices"},  // no cell left: the list
      {[&] { choices_.SetVisible(false); }, "line_box"},
      {[&] { line_box_.SetEnabled(false); }, "probe_window"},  // nothing left: the window holds it
      {[&] { cells_[7].SetVisible(true); }, "cells_7"},        // and gives it to what comes back
  };
  for (const Step& step : steps) {
    step.change();
    EXPECT_EQ(focus(), step.lands_on);
  }
}

TEST_F(BindingTest, AHiddenListOrBoxTakesNoKeyAndNoChoiceReachesTheModel) {
  std::vector<int> codes;
  choices_.on_key_press = [&](int code) { codes.push_back(code); };
  Show();
  auto* list = Widget<QListWidget>("choices");
  auto* edit = Widget<QLineEdit>("line_box");
  choices_.SetListIndex(0);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(codes, std::vector<int>{13});
  choices_.SetVisible(false);
  line_box_.SetVisible(false);
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  list->setCurrentRow(2);  // as the list's own keys would
  QTest::keyClicks(edit, "ab");
  EXPECT_EQ(choices_.ListIndex(), 0);
  EXPECT_EQ(list->currentRow(), 0) << "the widget shows the model's choice again";
  EXPECT_EQ(codes, std::vector<int>{13});
  EXPECT_EQ(line_box_.Text(), "");
  EXPECT_EQ(edit->text(), "");
}

TEST_F(BindingTest, TabFollowsTheReadingOrderAndAKeyNoControlTakesReachesTheWindow) {
  std::vector<int> window_keys;
  window_.on_key_press = [&](int code) { window_keys.push_back(code); };
  cells_[4].SetVisible(false);
  Show();
  Widget<QLineEdit>("line_box")->setFocus();
  std::vector<std::string> walked;
  for (int i = 0; i < 10; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked.push_back(QApplication::focusWidget()->objectName().toStdString());
  }
  EXPECT_EQ(walked,
            (std::vector<std::string>{"cells_0", "cells_1", "cells_2", "cells_3", "cells_5",
                                      "cells_6", "cells_7", "cells_8", "choices", "text_area"}));
  QTest::keyClicks(Widget<QLineEdit>("line_box"), "3");  // the box takes it
  QTest::keyClicks(Widget<QPushButton>("cells_0"), "3");
  EXPECT_EQ(window_keys, std::vector<int>{'3'});
}

TEST(QtPlatformTest, PicturesLoadOnlyFromReadableImagesAndAreDrawnUnscaledTopLeft) {
  kit::TempDir dir;
  QImage red(40, 30, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(dir.Str() + "/0.jpg"), "JPG"));
  kit::WriteFile(dir.Path() / "1.jpg", "not a picture at all");
  qtbind::QtPlatform platform;
  EXPECT_EQ(platform.LoadPicture(dir.Str() + "/1.jpg"), nullptr);
  EXPECT_EQ(platform.LoadPicture(dir.Str() + "/2.jpg"), nullptr);
  auto picture = platform.LoadPicture(dir.Str() + "/0.jpg");
  ASSERT_NE(picture, nullptr);

  ui::Window window{"picture_window", platform};
  window.Move(0, 0, 12000, 8550);
  platform.Attach(window);
  window.SetPicture(picture);
  window.Show();
  Settle();
  QImage shot = platform.WindowWidget("picture_window")->grab().toImage();
  EXPECT_GT(qRed(shot.pixel(5, 5)), 200);
  EXPECT_LT(qGreen(shot.pixel(5, 5)), 60);
  EXPECT_NE(shot.pixel(60, 60), shot.pixel(5, 5));  // unscaled: the picture ends at 40 x 30
  window.SetPicture(nullptr);
  shot = platform.WindowWidget("picture_window")->grab().toImage();
  EXPECT_EQ(shot.pixel(5, 5), shot.pixel(60, 60));
}

using ProgramWidgets = qtharness::ProgramFixture;

TEST_F(ProgramWidgets, TheStartWindowShowsTheBookListAndAChosenBookLeadsToTheGroupList) {
  WriteOwnBook({{"apple", "苹果"}, {"book", "书"}, {"cat", "猫"}});
  Start();
  QWidget* form = Window("match_window");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Kestrin之连连看V3.6");
  EXPECT_EQ(form->size(), QSize(800, 570));
  auto* list = WidgetAs<QListWidget>("match_window", "book_list");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->geometry(), QRect(293, 100, 227, 267));
  EXPECT_EQ(list->count(), 55);
  EXPECT_EQ(list->item(0)->text(), "《My词库》");
  EXPECT_FALSE(Widget("match_window", "mode_buttons_0")->isVisible());
  qtharness::ClickRow(list, 0);
  Click("match_window", "choose_book_button");
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(list->isVisible());
  auto* groups = WidgetAs<QListWidget>("match_window", "group_list");
  ASSERT_NE(groups, nullptr);
  EXPECT_TRUE(groups->isVisible());
  EXPECT_EQ(groups->count(), 2);  // "0" and "1"
  EXPECT_EQ(Model(shell::Mode::Match)->GroupList().Items(), (std::vector<std::string>{"0", "1"}));
}

TEST_F(ProgramWidgets, LoadingWithoutAChosenBookShowsTheMessageAndEndsTheProgram) {
  Start();
  Click("match_window", "choose_book_button");
  EXPECT_EQ(messages_, std::vector<std::string>{"词库已损坏\n请重新解压"});
  EXPECT_TRUE(platform_.Ended());
  EXPECT_FALSE(Window("match_window")->isVisible());
}

TEST(DocumentTextTest, KeepsEveryLineWhileGroupingLinesIntoBlocks) {
  const QString rows[] = {"", "a", "a\n", "a\n\n\nb", "\n\n", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n"};
  for (const QString& shown : rows) {
    const QString laid_out = qtbind::ToDocumentText(shown);
    QString back = laid_out;
    back.replace(QChar::LineSeparator, QLatin1Char('\n'));
    EXPECT_EQ(back, shown);
    EXPECT_LE(laid_out.count(QLatin1Char('\n')), shown.count(QLatin1Char('\n')));
  }
  // No block grows without bound when a text has no empty lines.
  QString many;
  for (int i = 0; i < 100; ++i) many += "line\n";
  EXPECT_GE(qtbind::ToDocumentText(many).count(QLatin1Char('\n')), 100 / 8);
}

}  // namespace

namespace {

TEST(SpeechSettings, AreReadBackAndWrittenOnlyWhenASettingChanges) {
  kit::TempDir dir;
  const QString file = QString::fromStdString((dir.Path() / "vantle.ini").string());
  {
    qtbind::Speech speech(file);
    EXPECT_FALSE(speech.AutoSpeak()) << "off until the learner turns it on";
    EXPECT_EQ(speech.Voice(), "");
    speech.SetAutoSpeak(false);
    speech.SetVoice("");
    EXPECT_FALSE(QFile::exists(file)) << "nothing changed, so nothing is written";
    speech.SetAutoSpeak(true);
    speech.SetVoice("English (America)");
    EXPECT_TRUE(QFile::exists(file));
  }
  std::filesystem::remove(dir.Path() / "vantle.ini");
  kit::WriteFile(dir.Path() / "vantle.ini", "[speech]\nauto=true\nvoice=English (Caribbean)\n");
  qtbind::Speech again(file);
  EXPECT_TRUE(again.AutoSpeak());
  EXPECT_EQ(again.Voice(), "English (Caribbean)");
  again.SetAutoSpeak(true);
  EXPECT_EQ(QFileInfo(file).size(), 45) << "the same setting again is not written";
  EXPECT_EQ(again.State().status, qtbind::SpeechState::Status::Idle)
      << "the settings never open the engine";
}

}  // namespace
