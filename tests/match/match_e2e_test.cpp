// Whole match rounds on a real X display: a catalogue book from beside the program, every
// cell clicked with the real mouse (the partners found from the book), photographed when
// dealt and when half cleared; a round with a mistake, an error-free one, and the farewell.
// A round played by keys alone, and the keys pressed while a list is hidden.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <ctime>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "books/catalogue.h"
#include "books/loader.h"
#include "e2e/driver.h"
#include "kit/kit.h"
#include "match/round.h"
#include "progress/journal.h"
#include "shell/shell.h"
#include "ui/focus.h"

namespace {

using shell::Mode;

constexpr std::string_view kBook = "《大学英语1-4级词汇》(上)(2303)";

class MatchOnScreen : public ::testing::Test {
 protected:
  explicit MatchOnScreen(const std::filesystem::path& program_dir = e2e::ProgramDir())
      : driver_(program_dir) {}

  // The cell that shows text `text` of the board in this round: text 2k is the English entry
  // of the group's k-th word, text 2k + 1 its meaning.
  int ButtonOf(int text) const {
    const books::Word& word = words_[static_cast<std::size_t>(text / 2)];
    const std::string& caption = text % 2 == 0 ? word.english : word.chinese;
    for (int b = 0; b < match::kCells; ++b)
      if (form_->Cell(b).Caption() == caption) return b;
    ADD_FAILURE() << "no cell shows " << caption;
    return 0;
  }
  bool ClickCell(int cell) {
    return driver_.Click("match_window", "cells_" + std::to_string(ButtonOf(cell)));
  }
  bool CellShown(int cell) const {
    QWidget* w = driver_.Widget("match_window", "cells_" + std::to_string(ButtonOf(cell)));
    return w && w->isVisible();
  }

  e2e::Driver driver_;
  std::optional<kit::Controls> form_;
  std::vector<books::Word> words_;  // the group dealt, in book order
};

// The first 18 words of a catalogue book beside the program, as the program reads them.
std::vector<books::Word> FirstGroup(const std::filesystem::path& program_dir,
                                    std::string_view label) {
  const books::CatalogueEntry& entry = *books::FindEntry(books::BookCatalogue(), label);
  books::WordBook book;
  EXPECT_TRUE(
      books::ReadWordBook(books::BookFilePath(program_dir.string(), entry), entry, book).Ok());
  book.words.resize(books::kGroupSize);
  return book.words;
}

// The text of the time in a round's report ("本局用时 12.3 秒").
std::string ReportedTime(const std::string& report) {
  const std::string before = "本局用时 ";
  const std::size_t from = report.find(before) + before.size();
  return report.substr(from, report.rfind(" 秒") - from);
}

TEST_F(MatchOnScreen, AWholeRoundIsPlayedWithRealClicks) {
  ASSERT_TRUE(driver_.Start());
  form_ = driver_.Model(Mode::Match);
  ASSERT_TRUE(form_);
  words_ = FirstGroup(e2e::ProgramDir(), kBook);

  const int book = kit::RowOf(form_->BookList(), kBook);
  ASSERT_GE(book, 0);
  ASSERT_TRUE(driver_.ClickRow("match_window", "book_list", book));
  ASSERT_TRUE(driver_.Click("match_window", "choose_book_button"));
  ASSERT_EQ(form_->GroupList().ListCount(), 129)
      << "the sample book of 2303 words beside the program";
  ASSERT_TRUE(driver_.ClickRow("match_window", "group_list", 1));
  ASSERT_TRUE(driver_.Click("match_window", "choose_group_button"));
  ASSERT_TRUE(driver_.WaitUntil([&] { return CellShown(0) && CellShown(35); }));
  EXPECT_EQ(driver_.Window("match_window")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - " + std::string(kBook) + " - 1");
  EXPECT_TRUE(form_->Clock().Enabled());
  EXPECT_FALSE(driver_.Screenshot("match_window", "match-dealt").empty());

  // A wrong pair first: both cells stay on the board.
  ASSERT_TRUE(ClickCell(0));
  ASSERT_TRUE(ClickCell(3));
  EXPECT_TRUE(CellShown(0) && CellShown(3));

  for (int k = 0; k < 9; ++k) {
    ASSERT_TRUE(ClickCell(2 * k));
    ASSERT_TRUE(ClickCell(2 * k + 1));
    EXPECT_FALSE(CellShown(2 * k) || CellShown(2 * k + 1)) << "pair " << k;
  }
  ASSERT_TRUE(ClickCell(2 * 9));  // the marker shows in the photograph
  EXPECT_TRUE(driver_.Widget("match_window", "marker")->isVisible());
  EXPECT_FALSE(driver_.Screenshot("match_window", "match-half-cleared").empty());

  ASSERT_TRUE(ClickCell(2 * 9 + 1));
  for (int k = 10; k < 18; ++k) {
    ASSERT_TRUE(ClickCell(2 * k));
    if (k == 17) driver_.AnswerMessages(1);
    ASSERT_TRUE(ClickCell(2 * k + 1));
  }
  ASSERT_TRUE(driver_.WaitUntil([&] { return driver_.Messages().size() == 1; }));
  const std::string report = driver_.Messages().front();
  EXPECT_EQ(report.rfind("本局共 18 个单词\n您共错了 1 次\n本局用时 ", 0), 0u) << report;

  // The next round deals the same texts again; played without a mistake it sets the best time.
  ASSERT_TRUE(driver_.WaitUntil([&] { return CellShown(0) && CellShown(35); }));
  EXPECT_TRUE(form_->Clock().Enabled());
  for (int k = 0; k < 18; ++k) {
    ASSERT_TRUE(ClickCell(2 * k));
    if (k == 17) driver_.AnswerMessages(1);
    ASSERT_TRUE(ClickCell(2 * k + 1));
  }
  ASSERT_TRUE(driver_.WaitUntil([&] { return driver_.Messages().size() == 2; }));
  EXPECT_EQ(driver_.Messages().back().rfind("本局共 18 个单词\n您共错了 0 次\n本局用时 ", 0), 0u);
  // The round with a mistake does not count: the best time is this one's.
  const std::string best = ReportedTime(driver_.Messages().back());

  driver_.AnswerMessages(1);
  driver_.Platform().Deliver([&] { form_->Window().Close(); });
  ASSERT_EQ(driver_.Messages().size(), 3u);
  EXPECT_EQ(driver_.Messages().back(), "本次连连看\n最好成绩为 " + best + " 秒\nGood-Bye!");
  EXPECT_TRUE(driver_.Ended());
}

// A program folder of its own: an own book of 36 words, and pictures.
struct OwnFolder {
  OwnFolder() {
    std::vector<kit::Record> book;
    for (int i = 1; i <= 36; ++i)
      book.emplace_back(kit::Numbered("word", i), kit::Numbered("词", i, "义"));
    kit::WriteOwnBook(dir.Path(), book);
    e2e::WritePictures(dir.Path());
  }
  kit::TempDir dir;
};

class MatchByKeys : private OwnFolder, public MatchOnScreen {
 protected:
  MatchByKeys() : MatchOnScreen(dir.Path()) {}

  // The control holding the match window's focus (it gets the keys once the window is
  // active again, which the driver sees to before every key).
  QWidget* FocusedWidget() const {
    QWidget* window = driver_.Window("match_window");
    return window ? window->focusWidget() : nullptr;
  }
  QString Focused() const {
    QWidget* w = FocusedWidget();
    return w ? w->objectName() : QString();
  }

  // The shortest run of arrow keys that walks the focus from the focused cell to `button`,
  // found by trying the arrows as the board's model answers them.
  std::string PathTo(int button) {
    using D = ui::Direction;
    const ui::Button* from = nullptr;
    for (int i = 0; i < match::kCells; ++i)
      if (Focused() == QString::fromStdString(form_->Cell(i).Name())) from = &form_->Cell(i);
    const ui::Button* target = &form_->Cell(button);
    std::map<const ui::Button*, std::string> path{{from, ""}};
    std::deque<const ui::Button*> open{from};
    while (from && !open.empty() && !path.count(target)) {
      const ui::Button* at = open.front();
      open.pop_front();
      for (auto [d, name] : {std::pair{D::Left, "Left "}, std::pair{D::Right, "Right "},
                             std::pair{D::Up, "Up "}, std::pair{D::Down, "Down "}}) {
        const ui::Button* next = ui::Neighbour(form_->Window(), *at, d);
        if (!next || path.count(next)) continue;
        path[next] = path[at] + name;
        open.push_back(next);
      }
    }
    EXPECT_TRUE(path.count(target)) << "no way to button " << button;
    return path[target];
  }
  // Chooses a cell by keys: the arrows to it, then Enter.
  bool PressCell(int cell) { return driver_.Key(PathTo(ButtonOf(cell)) + "Return"); }
};

TEST_F(MatchByKeys, AWholeRoundIsPlayedWithKeysAloneAndEnterNeverLeavesTheGame) {
  ASSERT_TRUE(driver_.Start());
  form_ = driver_.Model(Mode::Match);
  ASSERT_TRUE(form_);
  for (int i = 1; i <= 18; ++i)
    words_.push_back({kit::Numbered("word", i), kit::Numbered("词", i, "义")});
  EXPECT_EQ(Focused(), "book_list");
  ASSERT_TRUE(driver_.Key("Return"));
  EXPECT_TRUE(form_->BookList().Visible()) << "Enter with no book chosen does nothing";
  ASSERT_TRUE(driver_.Key("Down"));
  ASSERT_EQ(form_->BookList().Text(), books::kOwnBookLabel);
  ASSERT_TRUE(driver_.Key("Return"));
  ASSERT_EQ(form_->GroupList().ListCount(), 3) << "36 words";
  EXPECT_EQ(Focused(), "group_list");
  ASSERT_TRUE(driver_.Key("Down Down"));
  ASSERT_EQ(form_->GroupList().Text(), "1");
  ASSERT_TRUE(driver_.Key("Return"));
  ASSERT_TRUE(driver_.WaitUntil([&] { return Focused() == "cells_0"; }));
  EXPECT_EQ(driver_.Window("match_window")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - 《My词库》 - 1");

  for (int k = 0; k < 18; ++k) {
    const int first = ButtonOf(2 * k), second = ButtonOf(2 * k + 1);
    ASSERT_TRUE(PressCell(2 * k));
    ASSERT_FALSE(form_->Cell(first).Visible()) << "pair " << k << ": picked";
    ASSERT_TRUE(form_->Marker().Visible()) << "pair " << k;
    if (k == 17) driver_.AnswerMessages(1);
    ASSERT_TRUE(PressCell(2 * k + 1));
    if (k < 17) {
      ASSERT_FALSE(form_->Cell(second).Visible()) << "pair " << k << ": cleared";
    }
  }
  ASSERT_TRUE(driver_.WaitUntil([&] { return driver_.Messages().size() == 1; }));
  EXPECT_EQ(driver_.Messages()[0].rfind("本局共 18 个单词\n您共错了 0 次\n本局用时 ", 0), 0u)
      << driver_.Messages()[0];

  // The next deal has the focus on its first cell, in the window active again; Enter there
  // chooses it, nothing else.
  ASSERT_TRUE(driver_.WaitUntil([&] {
    return QApplication::focusWidget() && QApplication::focusWidget()->objectName() == "cells_0";
  }));
  ASSERT_TRUE(driver_.Key("Return"));
  EXPECT_FALSE(form_->Cell(0).Visible()) << "the first cell picked";
  EXPECT_TRUE(form_->Marker().Visible());
  EXPECT_TRUE(driver_.OnScreen("match_window"));
  EXPECT_FALSE(driver_.Model(Mode::Quiz)) << "no other window opened";
  EXPECT_FALSE(driver_.Screenshot("match_window", "match-by-keys").empty());
}

TEST_F(MatchByKeys, KeysPressedWhileTheBookListIsHiddenLeaveTheChosenBook) {
  ASSERT_TRUE(driver_.Start());
  form_ = driver_.Model(Mode::Match);
  ASSERT_TRUE(form_);
  ASSERT_TRUE(driver_.ClickRow("match_window", "book_list",
                               kit::RowOf(form_->BookList(), books::kOwnBookLabel)));
  ASSERT_TRUE(driver_.Click("match_window", "choose_book_button"));
  // A double-click below the group rows, with none chosen, does nothing.
  auto* groups = dynamic_cast<QListWidget*>(driver_.Widget("match_window", "group_list"));
  ASSERT_NE(groups, nullptr);
  QWidget* below = groups->viewport();
  ASSERT_TRUE(driver_.ClickAt(below->mapToGlobal(QPoint(10, below->height() - 5)), 2));
  EXPECT_TRUE(form_->GroupList().Visible());
  EXPECT_EQ(form_->GroupList().ListIndex(), -1);

  ASSERT_TRUE(driver_.Key("Down"));
  EXPECT_EQ(form_->BookList().Text(), books::kOwnBookLabel);
  ASSERT_TRUE(driver_.ClickRow("match_window", "group_list", 1));
  ASSERT_TRUE(driver_.Click("match_window", "choose_group_button"));
  EXPECT_EQ(driver_.Window("match_window")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - 《My词库》 - 1");
  EXPECT_EQ(form_->BookList().Text(), books::kOwnBookLabel);
  EXPECT_TRUE(driver_.Messages().empty());
}

}  // namespace

namespace {

// Walks 0..35 round and round: a deal shows text b on cell b.
class CyclingRandom : public ui::Random {
 public:
  double Next() override { return ((next_++ % match::kCells) + 0.5) / match::kCells; }
  void Reseed(std::uint64_t) override { next_ = 0; }

 private:
  int next_ = 0;
};

// The program run after run on one program folder and one learner's data folder.
class ReviewAcrossRuns : private OwnFolder, public ::testing::Test {
 protected:
  std::unique_ptr<e2e::Driver> Run() {
    auto driver = std::make_unique<e2e::Driver>(dir.Path(), std::make_unique<CyclingRandom>());
    driver->Platform().SetUserDataDirectory(learner_.Str());
    driver->Platform().SetSettingsFile(QString::fromStdString(learner_.Str() + "/vantle.ini"));
    return driver;
  }
  // The caption of every cell.
  static std::vector<std::string> Captions(const kit::Controls& match) {
    std::vector<std::string> captions;
    for (int b = 0; b < match::kCells; ++b) captions.push_back(match.Cell(b).Caption());
    return captions;
  }

  kit::TempDir learner_;
};

TEST_F(ReviewAcrossRuns, APairMissedInOneRunComesBackWithF3InTheNextAndTheProgressWindowNamesIt) {
  {
    const std::unique_ptr<e2e::Driver> driver = Run();
    ASSERT_TRUE(driver->Start());
    // The own book and its group 1 by keys; cell b shows text b: word1, 词1义, word2, ...
    ASSERT_TRUE(driver->Key("Down Return Down Down Return"));
    const std::optional<kit::Controls> match = driver->Model(Mode::Match);
    ASSERT_TRUE(driver->WaitUntil([&] { return match->Cell(35).Visible(); }));
    ASSERT_EQ(match->Cell(0).Caption(), "word1");
    // A wrong pick on purpose: word1, then word2 two cells along.
    ASSERT_TRUE(driver->Key("Return Right Right Return"));
    EXPECT_TRUE(match->Cell(0).Visible() && match->Cell(2).Visible()) << "a wrong pair";
    driver->AnswerMessages(1);
    driver->Window("match_window")->close();
    ASSERT_TRUE(driver->WaitUntil([&] { return driver->Ended(); }));
  }
  const std::unique_ptr<e2e::Driver> driver = Run();
  ASSERT_TRUE(driver->Start());
  const std::optional<kit::Controls> match = driver->Model(Mode::Match);
  // F3 on the book list: the missed words, their first step due within the minute, on a board
  // of their own four cells.
  ASSERT_EQ(e2e::Run({"xdotool", "key", "F3"}), 0);
  ASSERT_TRUE(driver->WaitUntil([&] { return match->Cell(3).Visible(); }));
  EXPECT_EQ(driver->Window("match_window")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - 复习");
  std::vector<std::string> captions = Captions(*match);
  std::sort(captions.begin(), captions.end());
  std::vector<std::string> expected(match::kCells - 4, "");
  for (const char* text : {"word1", "word2", "词1义", "词2义"}) expected.push_back(text);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(captions, expected) << "the two missed words";
  for (int b = 0; b < match::kCells; ++b)
    EXPECT_EQ(driver->OnScreen("match_window", "cells_" + std::to_string(b)), b < 4) << b;
  EXPECT_FALSE(driver->Screenshot("match_window", "match-review").empty());

  // "学习记录…" from the window's menu shows the missed words.
  ASSERT_TRUE(driver->Click("match_window", "cells_0", 1, 3));
  QMenu* menu = nullptr;
  ASSERT_TRUE(driver->WaitUntil([&] {
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu != nullptr;
  }));
  QAction* progress = nullptr;
  for (QAction* action : menu->actions()) {
    // A missed word's first step is a minute away: none is due yet, both are within the
    // 20 minutes a review takes ahead.
    if (action->text().startsWith(QStringLiteral("复习 (F3)"))) {
      EXPECT_EQ(action->text(), "复习 (F3)：0 个到期 · 2 个 20 分钟内");
    }
    if (action->text() == QStringLiteral("学习记录…")) progress = action;
  }
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(driver->ClickAt(menu->mapToGlobal(menu->actionGeometry(progress).center())));
  QWidget* window = nullptr;
  ASSERT_TRUE(driver->WaitUntil([&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == QStringLiteral("学习记录")) window = w;
    return window != nullptr;
  }));
  auto* missed = window->findChild<QTreeWidget*>();
  ASSERT_NE(missed, nullptr);
  QStringList words;
  for (int i = 0; i < missed->topLevelItemCount(); ++i) words << missed->topLevelItem(i)->text(0);
  words.sort();
  EXPECT_EQ(words, (QStringList{"word1", "word2"}));
}

// The round: five words due, F3 on the group list, a board of their ten cells cleared
// by real clicks, a report of five, the group list again, and no best time at the end.
TEST_F(ReviewAcrossRuns, FiveWordsDueMakeABoardOfTenCellsAndTheWindowGoesBackAfterTheReport) {
  {
    progress::Journal journal(learner_.Path() / "progress.sqlite3");
    for (int k = 1; k <= 5; ++k)
      ASSERT_TRUE(journal.Add(kit::Numbered("word", k), kit::Numbered("词", k, "义"),
                              books::kOwnBookLabel, std::time(nullptr)));
  }
  const std::unique_ptr<e2e::Driver> driver = Run();
  ASSERT_TRUE(driver->Start());
  const std::optional<kit::Controls> match = driver->Model(Mode::Match);
  ASSERT_TRUE(driver->Key("Down Return"));  // the own book: its group list
  ASSERT_TRUE(driver->WaitUntil([&] { return driver->OnScreen("match_window", "group_list"); }));
  ASSERT_EQ(e2e::Run({"xdotool", "key", "F3"}), 0);  // a shortcut: the driver sees no key arrive
  ASSERT_TRUE(driver->WaitUntil([&] { return driver->OnScreen("match_window", "cells_9"); }));
  for (int b = 0; b < match::kCells; ++b)
    EXPECT_EQ(driver->OnScreen("match_window", "cells_" + std::to_string(b)), b < 10) << b;
  EXPECT_EQ(driver->Window("match_window")->windowTitle().toStdString(),
            "Kestrin之连连看V3.6 - 《My词库》 - 复习");
  EXPECT_FALSE(driver->Screenshot("match_window", "match-review-five").empty());
  const auto cell_showing = [&](const std::string& text) {
    for (int b = 0; b < match::kCells; ++b)
      if (match->Cell(b).Visible() && match->Cell(b).Caption() == text)
        return "cells_" + std::to_string(b);
    ADD_FAILURE() << "no cell shows " << text;
    return std::string("cells_0");
  };
  for (int k = 1; k <= 5; ++k) {
    ASSERT_TRUE(driver->Click("match_window", cell_showing(kit::Numbered("word", k))));
    if (k == 5) driver->AnswerMessages(1);
    ASSERT_TRUE(driver->Click("match_window", cell_showing(kit::Numbered("词", k, "义"))));
  }
  ASSERT_TRUE(driver->WaitUntil([&] { return driver->Messages().size() == 1; }));
  EXPECT_EQ(driver->Messages()[0].rfind("本局共 5 个单词\n您共错了 0 次\n本局用时 ", 0), 0u)
      << driver->Messages()[0];
  // The review is over: the group list, as F3 found the window, and no board dealt again.
  ASSERT_TRUE(driver->WaitUntil([&] { return driver->OnScreen("match_window", "group_list"); }));
  EXPECT_FALSE(driver->OnScreen("match_window", "cells_0"));
  EXPECT_EQ(driver->Window("match_window")->windowTitle().toStdString(), "Kestrin之连连看V3.6");
  driver->AnswerMessages(1);
  driver->Window("match_window")->close();
  ASSERT_TRUE(driver->WaitUntil([&] { return driver->Ended(); }));
  ASSERT_EQ(driver->Messages().size(), 2u);
  EXPECT_EQ(driver->Messages()[1], "本次连连看\n无最好成绩\nGood-Bye!");
}

}  // namespace
