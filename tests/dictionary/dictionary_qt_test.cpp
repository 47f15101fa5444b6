// The dictionary on real widgets (offscreen): the query typed into the real box, Enter pressed,
// the result read back from the real result box.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "dictionary/dictionary_window.h"
#include "qt/qt_harness.h"
#include "qt/speech.h"

namespace {

using qtharness::Settle;

class DictionaryWidgets : public qtharness::ProgramFixture {
 protected:
  // Program start, then on to the dictionary window the way its mode button goes there.
  void OpenDictionary() {
    Start();
    platform_.Deliver([this] {
      program_.Shell().SwitchMode(*program_.Shell().Find(shell::Mode::Match),
                                  shell::Mode::Dictionary);
    });
    Settle();
    form_ = Model(shell::Mode::Dictionary);
    ASSERT_TRUE(form_);
  }

  // Chooses the own book: a click on its row, then a double-click there.
  void ChooseOwnBook() {
    auto* list = WidgetAs<QListWidget>("dictionary_window", "book_list");
    ASSERT_NE(list, nullptr);
    qtharness::ClickRow(list, 0);
    qtharness::DoubleClickRow(list, 0);
    Settle();
    ASSERT_TRUE(messages_.empty()) << messages_.front();
  }

  // Replaces the query by real key presses and presses Enter.
  void Search(const QString& query) {
    auto* query_box = WidgetAs<QLineEdit>("dictionary_window", "query_box");
    ASSERT_NE(query_box, nullptr);
    query_box->setFocus();
    QTest::keyClick(query_box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(query_box, Qt::Key_Backspace);
    // One key press a character; a Chinese character comes as the text of a key of its own,
    // as an input method hands it over.
    for (QChar c : query) {
      if (c.unicode() < 0x80)
        QTest::keyClick(query_box, c.toLatin1());
      else
        QTest::sendKeyEvent(QTest::Click, query_box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QTest::keyClick(query_box, Qt::Key_Return);
    Settle();
  }

  QString Shown() {
    return WidgetAs<QPlainTextEdit>("dictionary_window", "result_box")->toPlainText();
  }

  std::optional<kit::Controls> form_;
};

TEST_F(DictionaryWidgets, EnterInTheRealQueryBoxListsTheHitsInTheResultBox) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at
  WriteOwnBook({{"apple", "苹果"}, {"Apple Inc.", "苹果公司"}, {"pineapple", "菠萝"}});
  OpenDictionary();
  ChooseOwnBook();
  EXPECT_EQ(Window("dictionary_window")->windowTitle(), "Kestrin之双向词典V3.6 - 《My词库》");
  auto* query_box = WidgetAs<QLineEdit>("dictionary_window", "query_box");
  auto* result_box = WidgetAs<QPlainTextEdit>("dictionary_window", "result_box");
  ASSERT_TRUE(query_box && result_box);
  EXPECT_EQ(query_box->text(), "Text1");
  EXPECT_EQ(result_box->toPlainText(), "查询无果！");
  EXPECT_EQ(result_box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(Window("dictionary_window")->focusWidget(), query_box)
      << "the query box takes the focus once the book is loaded";
  for (QWidget* box : {static_cast<QWidget*>(query_box), static_cast<QWidget*>(result_box)})
    EXPECT_EQ(box->font().pointSizeF(), 10.5) << box->objectName().toStdString();

  Search("apple");
  EXPECT_EQ(form_->QueryBox().Text(), "apple");
  EXPECT_EQ(Shown(), "apple\n苹果\n\npineapple\n菠萝\n\n");
  EXPECT_EQ(query_box->text(), "apple") << "Enter leaves the query as typed";

  Search("苹果");
  EXPECT_EQ(Shown(), "apple\n苹果\n\nApple Inc.\n苹果公司\n\n");
  Search("Pine");
  EXPECT_EQ(Shown(), "查询无果！");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(DictionaryWidgets, TheEmptyQueryPutsAFullOwnBookIntoTheResultBoxUntruncated) {
  random_.fallback = 0.0;  // each lookup loads a picture this test does not look at
  std::vector<std::pair<std::string, std::string>> records;
  for (int i = 1; i <= books::kOwnBookCapacity; ++i)
    records.push_back({"word" + std::to_string(i), "第" + std::to_string(i) + "个词"});
  WriteOwnBook(records);
  OpenDictionary();
  ChooseOwnBook();
  Search("");
  auto* result_box = WidgetAs<QPlainTextEdit>("dictionary_window", "result_box");
  ASSERT_NE(result_box, nullptr);
  // Three lines a record, and the empty line after the text's last CR LF.
  const QStringList shown = result_box->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(shown.size(), 3 * books::kOwnBookCapacity + 1);
  EXPECT_EQ(shown[0], "word1");
  EXPECT_EQ(shown[3 * 29999], "word30000");
  EXPECT_EQ(shown[3 * 29999 + 1], "第30000个词");
  EXPECT_GT(result_box->verticalScrollBar()->maximum(), 0);
  // The same lookup again shows its result from the top, wherever the user had scrolled.
  result_box->verticalScrollBar()->setValue(result_box->verticalScrollBar()->maximum() / 2);
  Search("");
  EXPECT_EQ(result_box->verticalScrollBar()->value(), 0);
}

// F2 hands the model the control holding the focus and the text selected in the result box.
// The engine is left alone here: the window's request is caught before anything is said.
TEST_F(DictionaryWidgets, F2TellsTheModelTheFocusAndTheResultBoxSelection) {
  random_.fallback = 0.0;  // the background pictures, which this test does not look at
  WriteOwnBook({{"apple", "苹果"}, {"pineapple", "菠萝"}});
  OpenDictionary();
  ChooseOwnBook();
  Search("apple");
  std::vector<ui::Attention> asked;
  form_->Window().on_speech_request = [&asked](const ui::Attention& r) { asked.push_back(r); };
  auto* speak = Window("dictionary_window")->findChild<QAction*>("SpeakAction");
  ASSERT_NE(speak, nullptr);
  EXPECT_EQ(speak->shortcut(), QKeySequence(Qt::Key_F2));
  EXPECT_EQ(platform_.SpeechService().State().status, qtbind::SpeechState::Status::Idle)
      << "no engine is opened before speech is first used";

  auto* result_box = WidgetAs<QPlainTextEdit>("dictionary_window", "result_box");
  ASSERT_NE(result_box, nullptr);
  const QTextCursor cursor = result_box->document()->find("pineapple");
  ASSERT_TRUE(cursor.hasSelection());
  result_box->setTextCursor(cursor);
  result_box->setFocus();
  speak->trigger();
  auto* query_box = WidgetAs<QLineEdit>("dictionary_window", "query_box");
  query_box->setFocus();
  query_box->deselect();
  result_box->setTextCursor(QTextCursor(result_box->document()));  // nothing selected
  speak->trigger();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].focus, &form_->ResultBox());
  EXPECT_EQ(asked[0].SelectionIn(form_->ResultBox()), "pineapple");
  EXPECT_EQ(asked[1].focus, &form_->QueryBox());
  EXPECT_TRUE(asked[1].selections.empty());
}

// A right click in the query box, to copy or paste, opens the box's own menu with the speech
// entries below; it asks for no speech, so no engine is started.
TEST_F(DictionaryWidgets, ARightClickInTheQueryBoxCopiesAndPastesWithoutStartingSpeech) {
  random_.fallback = 0.0;  // the background pictures, which this test does not look at
  WriteOwnBook({{"apple", "苹果"}, {"pear", "梨"}});
  OpenDictionary();
  ChooseOwnBook();
  auto* query_box = WidgetAs<QLineEdit>("dictionary_window", "query_box");
  ASSERT_NE(query_box, nullptr);
  const QPoint at = query_box->rect().center();
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, query_box->mapToGlobal(at));
  QApplication::sendEvent(query_box, &click);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QStringList entries;  // each entry's name, or its caption with the shortcut it shows
  for (const QAction* action : menu->actions())
    entries << (action->menu()                   ? action->menu()->objectName()
                : action->objectName().isEmpty() ? action->text()
                                                 : action->objectName());
  const auto shows = [&](QKeySequence::StandardKey key) {
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const QString& entry) { return entry.endsWith('\t' + shortcut); });
  };
  EXPECT_TRUE(shows(QKeySequence::Copy) && shows(QKeySequence::Paste))
      << entries.join(' ').toStdString();
  EXPECT_TRUE(entries.contains("SpeakAction") && entries.contains("VoiceMenu"))
      << entries.join(' ').toStdString();
  EXPECT_EQ(platform_.SpeechService().State().status, qtbind::SpeechState::Status::Idle)
      << "copying and pasting starts no speech engine";
  menu->close();
  Settle();
  EXPECT_EQ(platform_.SpeechService().State().status, qtbind::SpeechState::Status::Idle);
}

// Opened by the Menu key, the menu's arrow keys stop on every line, a disabled one too: the keys
// meant for "加入复习 (F4)", greyed out before a lookup, never reach the entry below, and only
// the entry itself turns 记录学习进度 off.
TEST_F(DictionaryWidgets, TheMenusKeysStopOnDisabledLinesSoOnlyItsOwnEntryTurnsRecordingOff) {
  random_.fallback = 0.0;
  platform_.SetSettingsFile(QString::fromStdString(dir_.Str() + "/vantle.ini"));
  OpenDictionary();
  QWidget* form = Window("dictionary_window");
  const auto open_menu = [form] {
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(10, 10),
                          form->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(form, &key);
    Settle();
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  };
  QMenu* menu = open_menu();
  ASSERT_NE(menu, nullptr);
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << action->text();
  const int toggle = static_cast<int>(captions.indexOf(QStringLiteral("记录学习进度")));
  ASSERT_GT(toggle, 0) << captions.join(' ').toStdString();
  ASSERT_FALSE(menu->actions().at(0)->isEnabled()) << captions.join(' ').toStdString();
  QTest::keyClick(menu, Qt::Key_Down);
  EXPECT_EQ(menu->activeAction(), menu->actions().at(0)) << "the disabled first line";
  QTest::keyClick(menu, Qt::Key_Return);
  Settle();
  EXPECT_TRUE(platform_.RecordsProgress());
  if (QApplication::activePopupWidget()) menu->close();
  Settle();

  menu = open_menu();
  ASSERT_NE(menu, nullptr);
  for (int line = 0; line <= toggle; ++line) QTest::keyClick(menu, Qt::Key_Down);
  ASSERT_EQ(menu->activeAction()->text(), QStringLiteral("记录学习进度"));
  QTest::keyClick(menu, Qt::Key_Return);
  Settle();
  EXPECT_FALSE(platform_.RecordsProgress()) << "the entry itself turns it off";
}

TEST_F(DictionaryWidgets, EveryModeWindowButTheScreenSaverHasTheSpeechMenu) {
  random_.fallback = 0.0;
  OpenDictionary();
  shell::Mode from = shell::Mode::Dictionary;
  for (const shell::Mode to : {shell::Mode::Quiz, shell::Mode::ScreenSaver}) {
    platform_.Deliver(
        [this, from, to] { program_.Shell().SwitchMode(*program_.Shell().Find(from), to); });
    Settle();
    from = to;
  }
  for (const char* window :
       {"match_window", "quiz_window", "dictionary_window", "screensaver_window"}) {
    const bool speaks = std::string(window) != "screensaver_window";
    EXPECT_EQ(Window(window)->findChild<QMenu*>("WindowMenu") != nullptr, speaks) << window;
    EXPECT_EQ(Window(window)->findChild<QAction*>("SpeakAction") != nullptr, speaks) << window;
  }
}

TEST_F(DictionaryWidgets, AssistiveTechnologyReadsTheQueryAndResultBoxesByTheirNames) {
  random_.fallback = 0.0;  // the background picture, which this test does not look at
  WriteOwnBook({{"apple", "苹果"}, {"pear", "梨"}});
  OpenDictionary();
  ChooseOwnBook();
  struct Row {
    const char* control;
    const char* name;
  } rows[] = {{"book_list", "词库"}, {"query_box", "查询"}, {"result_box", "结果"}};
  for (const Row& row : rows) {
    QAccessibleInterface* box =
        QAccessible::queryAccessibleInterface(Widget("dictionary_window", row.control));
    ASSERT_NE(box, nullptr) << row.control;
    EXPECT_EQ(box->text(QAccessible::Name).toStdString(), row.name) << row.control;
  }
  QAccessibleInterface* query =
      QAccessible::queryAccessibleInterface(Widget("dictionary_window", "query_box"));
  EXPECT_EQ(query->role(), QAccessible::EditableText);
  EXPECT_TRUE(query->state().focused) << "the query box is acted on next";
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(Widget("dictionary_window", "result_box"))
                  ->state()
                  .readOnly);
}

}  // namespace
