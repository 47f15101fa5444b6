#include <gtest/gtest.h>

#include <algorithm>

#include "books/catalogue.h"
#include "books/loader.h"
#include "kit/kit.h"
#include "program/program.h"
#include "shell/game_window.h"
#include "ui/focus.h"

namespace {

using shell::Mode;

// Records every change of the windows and timers it is attached to, as "quiz_window.Visible".
struct Journal : ui::ControlObserver {
  std::vector<std::string> entries;
  void Changed(ui::Control& c, ui::Property what) override {
    static const char* const kNames[] = {"Geometry", "Visible",   "Enabled", "Caption", "Look",
                                         "Items",    "Selection", "Text",    "Timer"};
    entries.push_back(c.Name() + "." + kNames[static_cast<int>(what)]);
  }
};

// Wins a round of group 1 of a 36-word own book in the match window `match`, without a
// mistake, in `elapsed` tenths of a second.
void WinMatchRound(shell::ModeWindow& match, const kit::TempDir& dir, kit::ScriptedRandom& random,
                   int elapsed) {
  std::vector<kit::Record> book;
  for (int i = 1; i <= 36; ++i)
    book.emplace_back(kit::Numbered("w", i), kit::Numbered("义", i, "项"));
  kit::WriteOwnBook(dir.Path(), book);
  const kit::Controls ui(match.Window());
  ui.BookList().SetListIndex(kit::RowOf(ui.BookList(), books::kOwnBookLabel));
  ui.ChooseBookButton().Click();
  ui.GroupList().SetListIndex(1);
  for (int cell = 0; cell < 36; ++cell) random.PushIndex(cell, 36);  // cell b shows text b
  random.PushIndex(0, 20);
  ui.ChooseGroupButton().Click();
  for (int t = 0; t < elapsed; ++t) ui.Clock().Tick();
  random.PushIndex(0, 20);                                           // the ninth pair's picture
  for (int cell = 0; cell < 36; ++cell) random.PushIndex(cell, 36);  // the next deal
  random.PushIndex(0, 20);
  for (int cell = 0; cell < 36; ++cell) ui.Cell(cell).Click();
}

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() { program_.Start(); }
  shell::Shell& Shell() { return program_.Shell(); }
  shell::ModeWindow& F1() { return *Shell().Find(Mode::Match); }
  shell::ModeWindow& Switch(shell::ModeWindow& from, Mode to) {
    Shell().SwitchMode(from, to);
    return *Shell().Find(to);
  }
  static kit::Controls UI(shell::ModeWindow& window) { return kit::Controls(window.Window()); }

  kit::FakePlatform platform_;
  kit::ScriptedRandom random_;
  program::Program program_{platform_, random_};
};

TEST_F(ShellTest, TheProgramStartsWithTheMatchWindowAloneInItsBookChoice) {
  EXPECT_EQ(Shell().Find(Mode::Quiz), nullptr);
  EXPECT_EQ(Shell().Find(Mode::Dictionary), nullptr);
  EXPECT_EQ(Shell().Find(Mode::ScreenSaver), nullptr);
  const kit::Controls f = UI(F1());
  EXPECT_TRUE(f.Window().Visible());
  EXPECT_EQ(f.Window().Caption(), "Kestrin之连连看V3.6");
  EXPECT_EQ(f.BookList().ListCount(), 55);
  EXPECT_EQ(f.BookList().ListIndex(), -1);
  EXPECT_EQ(f.ShownNames(), (std::vector<std::string>{"book_list", "choose_book_button"}));
  EXPECT_FALSE(f.Clock().Enabled());
  // Placed in the middle of the screen.
  EXPECT_EQ(f.Window().Left(), (1920 * 15 - 12000) / 2);
  EXPECT_EQ(platform_.attached.size(), 1u);
}

struct WindowRow {
  Mode mode;
  const char* title;
  bool reseeds;
  std::vector<const char*> column;  // captions of the mode column, from the top
  int disabled;                     // index in the column of the disabled button
};

TEST_F(ShellTest, EachWindowLoadsWithItsTitleSizeColumnAndOwnButtonDisabled) {
  const WindowRow rows[] = {
      {Mode::Quiz,
       "Kestrin之英汉互译V3.6",
       true,
       {"连连看", "英译汉", "汉译英", "双向词典", "屏幕保护"},
       1},
      {Mode::Dictionary,
       "Kestrin之双向词典V3.6",
       false,
       {"连连看", "英汉互译", "双向词典", "屏幕保护"},
       2},
      {Mode::ScreenSaver,
       "Kestrin之屏幕保护V3.6",
       true,
       {"连连看", "英汉互译", "双向词典", "屏幕保护"},
       3},
  };
  random_.Push({0.0, 0.0});  // the pictures the dictionary and the screen saver load with
  shell::ModeWindow* from = &F1();
  for (const WindowRow& row : rows) {
    int reseeds = random_.reseeds;
    Shell().SwitchMode(*from, row.mode);
    shell::ModeWindow& w = *Shell().Find(row.mode);
    EXPECT_EQ(w.Window().Caption(), row.title);
    EXPECT_EQ(w.Window().Width(), 12000);
    EXPECT_EQ(w.Window().Height(), 8550);
    EXPECT_EQ(random_.reseeds - reseeds, row.reseeds ? 1 : 0) << row.title;
    for (std::size_t i = 0; i < row.column.size(); ++i) {
      const ui::Button* b = &UI(w).ModeButton(static_cast<int>(i));
      EXPECT_EQ(b->Caption(), row.column[i]);
      EXPECT_EQ(b->Left(), 500);
      EXPECT_EQ(b->Top(), 2400 + 375 * static_cast<int>(i));
      EXPECT_EQ(b->Width(), 975);
      EXPECT_EQ(b->Height(), 375);
      EXPECT_EQ(b->Enabled(), static_cast<int>(i) != row.disabled) << row.title << " " << i;
    }
    from = &w;
  }
  EXPECT_EQ(UI(F1()).ModeButton(0).Caption(), "连连看");
  EXPECT_FALSE(UI(F1()).ModeButton(0).Enabled());
}

TEST_F(ShellTest, TabReadsEachWindowLeftColumnFirstThenItsMiddleRowByRow) {
  struct Row {
    Mode mode;
    std::vector<std::string> order;  // these controls, in this order among the rest
  } rows[] = {
      {Mode::Match,
       {"change_group_button", "change_book_button", "mode_buttons_0", "mode_buttons_3", "cells_0",
        "cells_5", "cells_6", "book_list", "group_list", "cells_12", "choose_group_button",
        "choose_book_button", "cells_30", "cells_35"}},
      {Mode::Quiz,
       {"change_group_button", "change_book_button", "mode_buttons_0", "mode_buttons_4",
        "book_list", "group_list", "choose_group_button", "choose_book_button", "answers_0",
        "answers_3"}},
      {Mode::Dictionary,
       {"look_up_button", "change_book_button", "mode_buttons_0", "mode_buttons_3", "query_box",
        "book_list", "result_box", "choose_book_button"}},
      {Mode::ScreenSaver, {"mode_buttons_0", "mode_buttons_1", "mode_buttons_2", "mode_buttons_3"}},
  };
  random_.Push({0.0, 0.0});  // the pictures the dictionary and the screen saver load with
  shell::ModeWindow* from = &F1();
  for (const Row& row : rows) {
    if (row.mode != Mode::Match) Shell().SwitchMode(*from, row.mode);
    from = Shell().Find(row.mode);
    std::vector<std::string> seen;
    for (const ui::Control* c : ui::TabOrder(from->Window()))
      if (std::find(row.order.begin(), row.order.end(), c->Name()) != row.order.end())
        seen.push_back(c->Name());
    EXPECT_EQ(seen, row.order) << from->Window().Caption();
  }
}

TEST_F(ShellTest, BookWindowsPlaceTheCommonControlsAndFillTheirOwnCatalogues) {
  auto& f3 = Switch(F1(), Mode::Dictionary);
  auto& f2 = Switch(f3, Mode::Quiz);
  for (shell::ModeWindow* mode_window : {&F1(), &f2, &f3}) {
    const kit::Controls w = UI(*mode_window);
    EXPECT_EQ((std::array{w.BookList().Left(), w.BookList().Top(), w.BookList().Width(),
                          w.BookList().Height()}),
              (std::array{4400, 1500, 3400, 4000}));
    EXPECT_EQ((std::array{w.ChooseBookButton().Left(), w.ChooseBookButton().Top()}),
              (std::array{5500, 6000}));
    EXPECT_EQ((std::array{w.ChangeBookButton().Left(), w.ChangeBookButton().Top()}),
              (std::array{500, 1675}));
  }
  for (shell::ModeWindow* mode_window : {&F1(), &f2}) {
    const kit::Controls w = UI(*mode_window);
    EXPECT_EQ((std::array{w.GroupList().Left(), w.GroupList().Top(), w.GroupList().Width(),
                          w.GroupList().Height()}),
              (std::array{5400, 2200, 1000, 3000}));
    EXPECT_EQ((std::array{w.ChooseGroupButton().Left(), w.ChooseGroupButton().Top()}),
              (std::array{5400, 5700}));
    EXPECT_EQ((std::array{w.ChangeGroupButton().Left(), w.ChangeGroupButton().Top()}),
              (std::array{500, 1300}));
    EXPECT_EQ(w.ChooseGroupButton().Caption(), "选组");
    EXPECT_EQ(w.ChooseBookButton().Caption(), "选书");
    EXPECT_EQ(w.ChangeGroupButton().Caption(), "换组词");
    EXPECT_EQ(w.ChangeBookButton().Caption(), "换本书");
    EXPECT_EQ(w.BookList().ListCount(), 55);
  }
  const kit::Controls d = UI(f3);
  EXPECT_EQ((std::array{d.LookUpButton().Left(), d.LookUpButton().Top()}), (std::array{500, 1300}));
  EXPECT_EQ(d.ChooseBookButton().Caption(), "选择");
  EXPECT_EQ(d.LookUpButton().Caption(), "查单词");
  EXPECT_EQ(d.ChangeBookButton().Caption(), "换一本书");
  ASSERT_EQ(d.BookList().ListCount(), 12);
  EXPECT_EQ(d.BookList().List(0), "《My词库》");
  EXPECT_EQ(d.BookList().List(11), "《成语大全》(17508)");
  EXPECT_TRUE(UI(f2).BookList().Visible() && d.BookList().Visible());
}

TEST_F(ShellTest, SwitchModeRunsItsStepsInOrderAndCreatesTheTargetOnFirstUseOnly) {
  Journal journal;
  shell::ModeWindow& f1 = F1();
  ui::Timer& clock1 = UI(f1).Clock();
  f1.Window().Move(3000, 1500, 12000, 8550);
  clock1.SetEnabled(true);
  f1.Window().SetObserver(&journal);
  clock1.SetObserver(&journal);
  platform_.attached.clear();
  std::size_t before = platform_.attached.size();
  random_.Push(0.0);  // the picture the screen saver loads with
  Shell().SwitchMode(f1, Mode::ScreenSaver);
  ASSERT_EQ(platform_.attached.size(), before + 1);
  shell::ModeWindow& f4 = *Shell().Find(Mode::ScreenSaver);
  ui::Timer& clock4 = UI(f4).Clock();
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"clock.Enabled", "match_window.Visible"}));
  EXPECT_EQ(f4.Window().Left(), 3000);
  EXPECT_EQ(f4.Window().Top(), 1500);
  EXPECT_TRUE(clock4.Enabled());
  EXPECT_TRUE(f4.Window().Visible());
  EXPECT_FALSE(f1.Window().Visible());

  // Back and forth again: no new window, no second load, timers follow the visible window.
  f4.Window().SetObserver(&journal);
  clock4.SetObserver(&journal);
  journal.entries.clear();
  f4.Window().Move(600, 700, 12000, 8550);
  journal.entries.clear();
  int reseeds = random_.reseeds;
  Shell().SwitchMode(f4, Mode::Match);
  EXPECT_EQ(journal.entries,
            (std::vector<std::string>{"clock.Enabled", "screensaver_window.Visible",
                                      "match_window.Geometry", "match_window.Geometry",
                                      "clock.Enabled", "match_window.Visible"}));
  EXPECT_EQ(random_.reseeds, reseeds);
  EXPECT_EQ(&F1(), &f1);
  EXPECT_EQ((std::array{f1.Window().Left(), f1.Window().Top()}), (std::array{600, 700}));
  EXPECT_TRUE(clock1.Enabled());
  EXPECT_FALSE(clock4.Enabled());
  EXPECT_EQ(platform_.attached.size(), before + 1);
}

TEST_F(ShellTest, ASwitchedWindowKeepsItsTimerRunningWhateverItsState) {
  // The quiz in its book choice still gets its timer back on every entry.
  auto& f2 = Switch(F1(), Mode::Quiz);
  EXPECT_TRUE(UI(f2).Clock().Enabled());
  EXPECT_TRUE(UI(f2).BookList().Visible());
  auto& f3 = Switch(f2, Mode::Dictionary);
  EXPECT_FALSE(UI(f2).Clock().Enabled());
  EXPECT_FALSE(f2.Window().Visible());
  EXPECT_TRUE(f3.Window().Visible());
}

TEST_F(ShellTest, ClosingAWindowEndsTheProgramWithOnlyThatWindowsFarewell) {
  struct Row {
    Mode mode;
    std::vector<std::string> messages;
  } rows[] = {
      {Mode::Match, {"本次连连看\r\n无最好成绩\r\nGood-Bye!"}},
      {Mode::Quiz, {"本次英汉互译\r\n无最好成绩\r\nGood-Bye!"}},
      {Mode::Dictionary, {}},
      {Mode::ScreenSaver, {}},
  };
  for (const Row& row : rows) {
    kit::TempDir dir;
    kit::FakePlatform p;
    p.program_directory = dir.Str();
    kit::ScriptedRandom r;
    program::Program prog(p, r);
    prog.Start();
    shell::ModeWindow* from = prog.Shell().Find(Mode::Match);
    // Every window exists and the match window has a best time: only the closed one speaks.
    WinMatchRound(*from, dir, r, 352);
    p.messages.clear();
    r.fallback = 0.0;
    for (Mode m : {Mode::Quiz, Mode::Dictionary, Mode::ScreenSaver, Mode::Match}) {
      prog.Shell().SwitchMode(*from, m);
      from = prog.Shell().Find(m);
    }
    if (row.mode != Mode::Match) prog.Shell().SwitchMode(*from, row.mode);
    shell::ModeWindow& w = *prog.Shell().Find(row.mode);
    EXPECT_TRUE(kit::Ends([&] { w.Window().Close(); }));
    EXPECT_TRUE(p.ended);
    if (row.mode == Mode::Match) {
      EXPECT_EQ(p.messages,
                std::vector<std::string>{"本次连连看\r\n最好成绩为 35.2 秒\r\nGood-Bye!"});
    } else {
      EXPECT_EQ(p.messages, row.messages);
    }
    if (dynamic_cast<shell::GameWindow*>(&w)) {
      EXPECT_FALSE(UI(w).Clock().Enabled());
    }
  }
}

TEST_F(ShellTest, LoadingWithNoBookSelectedSaysTheBookIsDamagedAndEnds) {
  EXPECT_TRUE(kit::Ends([&] { UI(F1()).ChooseBookButton().Click(); }));
  EXPECT_EQ(platform_.messages, std::vector<std::string>{"词库已损坏\r\n请重新解压"});

  kit::FakePlatform p;
  kit::ScriptedRandom r;
  program::Program prog(p, r);
  prog.Start();
  prog.Shell().SwitchMode(*prog.Shell().Find(Mode::Match), Mode::Dictionary);
  EXPECT_TRUE(kit::Ends([&] { UI(*prog.Shell().Find(Mode::Dictionary)).BookList().DblClick(); }));
  EXPECT_EQ(p.messages, std::vector<std::string>{"词库已损坏\r\n请重新解压"});
}

TEST_F(ShellTest, AMissingBookFileEndsTheProgramWithAMessageNamingTheBook) {
  kit::TempDir dir;
  platform_.program_directory = dir.Str();
  UI(F1()).BookList().SetListIndex(1);
  EXPECT_TRUE(kit::Ends([&] { UI(F1()).ChooseBookButton().Click(); }));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("《小学英语》(第一册)(91)"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("\r\n"), std::string::npos);
}

TEST_F(ShellTest, RandomBackgroundsNameOnlyTheTwentyPicturesAndClearFirst) {
  ui::Window& w = F1().Window();
  struct Probe : kit::FakePlatform {
    ui::Window* window = nullptr;
    std::vector<bool> cleared;
    std::shared_ptr<const ui::Picture> LoadPicture(const std::string& path) override {
      cleared.push_back(window && !window->GetPicture());
      return kit::FakePlatform::LoadPicture(path);
    }
  } probe;
  kit::ScriptedRandom r;
  shell::Shell s(probe, r, &program::MakeModeWindow);
  probe.window = &w;
  probe.program_directory = "/opt/vantle";
  w.SetPicture(std::make_shared<kit::FakePicture>("old"));
  r.Push({0.0, 0.04999, 0.05, 0.5, 0.9999999999999999, 0.0});
  for (int i = 0; i < 5; ++i) s.ShowRandomBackground(w);
  EXPECT_EQ(probe.picture_requests,
            (std::vector<std::string>{"/opt/vantle/Pic/0.jpg", "/opt/vantle/Pic/0.jpg",
                                      "/opt/vantle/Pic/1.jpg", "/opt/vantle/Pic/10.jpg",
                                      "/opt/vantle/Pic/19.jpg"}));
  EXPECT_EQ(probe.cleared, std::vector<bool>(5, true));
  EXPECT_EQ(kit::PicturePath(w), "/opt/vantle/Pic/19.jpg");

  // A missing picture leaves the background cleared.
  probe.pictures_exist = false;
  s.ShowRandomBackground(w);
  EXPECT_EQ(w.GetPicture(), nullptr);
}

TEST(TimeTextTest, WritesTenthsWithExactlyOneDecimal) {
  const std::pair<int, const char*> rows[] = {{123, "12.3"}, {120, "12.0"},   {7, "0.7"},
                                              {0, "0.0"},    {1234, "123.4"}, {9999, "999.9"}};
  for (auto [tenths, text] : rows) EXPECT_EQ(shell::TimeText(tenths), text);
}

}  // namespace
