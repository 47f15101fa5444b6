#include <gtest/gtest.h>

#include <algorithm>

#include "books/loader.h"
#include "dictionary/form3.h"
#include "kit/kit.h"
#include "match/form1.h"
#include "program/program.h"
#include "quiz/form2.h"
#include "screensaver/form4.h"
#include "ui/focus.h"

namespace {

using shell::Mode;

// Records every change of the windows and timers it is attached to, as "Form2.Visible".
struct Journal : ui::ControlObserver {
  std::vector<std::string> entries;
  void Changed(ui::Control& c, ui::Property what) override {
    static const char* const kNames[] = {"Geometry", "Visible",   "Enabled", "Caption", "Look",
                                         "Items",    "Selection", "Text",    "Timer"};
    entries.push_back(c.Name() + "." + kNames[static_cast<int>(what)]);
  }
};

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() { program.Start(); }
  shell::Shell& Shell() { return program.Shell(); }
  match::Form1& F1() { return static_cast<match::Form1&>(*Shell().Find(Mode::Match)); }
  template <class T>
  T& Switch(shell::ModeWindow& from, Mode to) {
    Shell().SwitchMode(from, to);
    return static_cast<T&>(*Shell().Find(to));
  }

  kit::FakePlatform platform;
  kit::ScriptedRandom random;
  program::Program program{platform, random};
};

TEST_F(ShellTest, TheProgramStartsWithTheMatchWindowAloneInItsBookChoice) {
  EXPECT_EQ(Shell().Find(Mode::Quiz), nullptr);
  EXPECT_EQ(Shell().Find(Mode::Dictionary), nullptr);
  EXPECT_EQ(Shell().Find(Mode::ScreenSaver), nullptr);
  match::Form1& f = F1();
  EXPECT_TRUE(f.Window().Visible());
  EXPECT_EQ(f.Window().Caption(), "Kestrin之连连看V3.6");
  EXPECT_EQ(f.List1.ListCount(), 55);
  EXPECT_EQ(f.List1.ListIndex(), -1);
  EXPECT_TRUE(f.List1.Visible() && f.Command3.Visible());
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &f.Command2_1, &f.Command2_2, &f.Command2_3, &f.Command2_4, &f.Command5, &f.Command6,
           &f.List2, &f.Command2, &f.Label1, &f.Label2})
    EXPECT_FALSE(c->Visible()) << c->Name();
  EXPECT_FALSE(f.Timer1.Enabled());
  // Placed in the middle of the screen.
  EXPECT_EQ(f.Window().Left(), (1920 * 15 - 12000) / 2);
  EXPECT_EQ(platform.attached.size(), 1u);
}

struct WindowRow {
  Mode mode;
  const char* title;
  bool reseeds;
  std::vector<const char*> column;  // captions of Command2_1 .. Command2_4 (and 2_5)
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
  random.Push({0.0, 0.0});  // the pictures the dictionary and the screen saver load with
  shell::ModeWindow* from = &F1();
  for (const WindowRow& row : rows) {
    int reseeds = random.reseeds;
    Shell().SwitchMode(*from, row.mode);
    shell::ModeWindow& w = *Shell().Find(row.mode);
    EXPECT_EQ(w.Window().Caption(), row.title);
    EXPECT_EQ(w.Window().Width(), 12000);
    EXPECT_EQ(w.Window().Height(), 8550);
    EXPECT_EQ(random.reseeds - reseeds, row.reseeds ? 1 : 0) << row.title;
    for (std::size_t i = 0; i < row.column.size(); ++i) {
      auto* b = dynamic_cast<ui::Button*>(w.Window().Find("Command2_" + std::to_string(i + 1)));
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->Caption(), row.column[i]);
      EXPECT_EQ(b->Left(), 500);
      EXPECT_EQ(b->Top(), 2400 + 375 * static_cast<int>(i));
      EXPECT_EQ(b->Width(), 975);
      EXPECT_EQ(b->Height(), 375);
      EXPECT_EQ(b->Enabled(), static_cast<int>(i) != row.disabled) << row.title << " " << i;
    }
    from = &w;
  }
  EXPECT_EQ(F1().Command2_1.Caption(), "连连看");
  EXPECT_FALSE(F1().Command2_1.Enabled());
}

TEST_F(ShellTest, TabReadsEachWindowLeftColumnFirstThenItsMiddleRowByRow) {
  struct Row {
    Mode mode;
    std::vector<std::string> order;  // these controls, in this order among the rest
  } rows[] = {
      {Mode::Match,
       {"Command5", "Command6", "Command2_1", "Command2_4", "Command1_0", "Command1_5",
        "Command1_6", "List1", "List2", "Command1_12", "Command2", "Command3", "Command1_30",
        "Command1_35"}},
      {Mode::Quiz,
       {"Command5", "Command6", "Command2_1", "Command2_5", "List1", "List2", "Command2",
        "Command3", "Command1_0", "Command1_3"}},
      {Mode::Dictionary,
       {"Command5", "Command6", "Command2_1", "Command2_4", "Text1", "List1", "Text2", "Command3"}},
      {Mode::ScreenSaver, {"Command2_1", "Command2_2", "Command2_3", "Command2_4"}},
  };
  random.Push({0.0, 0.0});  // the pictures the dictionary and the screen saver load with
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
  auto& f3 = Switch<dictionary::Form3>(F1(), Mode::Dictionary);
  auto& f2 = Switch<quiz::Form2>(f3, Mode::Quiz);
  for (shell::BookWindow* w : std::initializer_list<shell::BookWindow*>{&F1(), &f2, &f3}) {
    EXPECT_EQ((std::array{w->List1.Left(), w->List1.Top(), w->List1.Width(), w->List1.Height()}),
              (std::array{4400, 1500, 3400, 4000}));
    EXPECT_EQ((std::array{w->Command3.Left(), w->Command3.Top()}), (std::array{5500, 6000}));
    EXPECT_EQ((std::array{w->Command5.Left(), w->Command5.Top()}), (std::array{500, 1300}));
    EXPECT_EQ((std::array{w->Command6.Left(), w->Command6.Top()}), (std::array{500, 1675}));
  }
  for (shell::GameWindow* w : std::initializer_list<shell::GameWindow*>{&F1(), &f2}) {
    EXPECT_EQ((std::array{w->List2.Left(), w->List2.Top(), w->List2.Width(), w->List2.Height()}),
              (std::array{5400, 2200, 1000, 3000}));
    EXPECT_EQ((std::array{w->Command2.Left(), w->Command2.Top()}), (std::array{5400, 5700}));
    EXPECT_EQ(w->Command2.Caption(), "选组");
    EXPECT_EQ(w->Command3.Caption(), "选书");
    EXPECT_EQ(w->Command5.Caption(), "换组词");
    EXPECT_EQ(w->Command6.Caption(), "换本书");
    EXPECT_EQ(w->List1.ListCount(), 55);
    EXPECT_EQ(w->BestTime, 10000);
  }
  EXPECT_EQ(f3.Command3.Caption(), "选择");
  EXPECT_EQ(f3.Command5.Caption(), "查单词");
  EXPECT_EQ(f3.Command6.Caption(), "换一本书");
  ASSERT_EQ(f3.List1.ListCount(), 12);
  EXPECT_EQ(f3.List1.List(0), "《My词库》");
  EXPECT_EQ(f3.List1.List(11), "《成语大全》(17508)");
  EXPECT_TRUE(f2.List1.Visible() && f3.List1.Visible());
}

TEST_F(ShellTest, SwitchModeRunsItsStepsInOrderAndCreatesTheTargetOnFirstUseOnly) {
  Journal journal;
  match::Form1& f1 = F1();
  f1.Window().Move(3000, 1500, 12000, 8550);
  f1.Timer1.SetEnabled(true);
  f1.Window().SetObserver(&journal);
  f1.Timer1.SetObserver(&journal);
  platform.attached.clear();
  std::size_t before = platform.attached.size();
  random.Push(0.0);  // the picture the screen saver loads with
  Shell().SwitchMode(f1, Mode::ScreenSaver);
  ASSERT_EQ(platform.attached.size(), before + 1);
  auto& f4 = static_cast<screensaver::Form4&>(*Shell().Find(Mode::ScreenSaver));
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"Timer1.Enabled", "Form1.Visible"}));
  EXPECT_EQ(f4.Window().Left(), 3000);
  EXPECT_EQ(f4.Window().Top(), 1500);
  EXPECT_TRUE(f4.Timer1.Enabled());
  EXPECT_TRUE(f4.Window().Visible());
  EXPECT_FALSE(f1.Window().Visible());

  // Back and forth again: no new window, no second Form_Load, timers follow the visible window.
  f4.Window().SetObserver(&journal);
  f4.Timer1.SetObserver(&journal);
  journal.entries.clear();
  f4.Window().Move(600, 700, 12000, 8550);
  journal.entries.clear();
  int reseeds = random.reseeds;
  Shell().SwitchMode(f4, Mode::Match);
  EXPECT_EQ(journal.entries,
            (std::vector<std::string>{"Timer1.Enabled", "Form4.Visible", "Form1.Geometry",
                                      "Form1.Geometry", "Timer1.Enabled", "Form1.Visible"}));
  EXPECT_EQ(random.reseeds, reseeds);
  EXPECT_EQ(&F1(), &f1);
  EXPECT_EQ((std::array{f1.Window().Left(), f1.Window().Top()}), (std::array{600, 700}));
  EXPECT_TRUE(f1.Timer1.Enabled());
  EXPECT_FALSE(f4.Timer1.Enabled());
  EXPECT_EQ(platform.attached.size(), before + 1);
}

TEST_F(ShellTest, ASwitchedWindowKeepsItsTimerRunningWhateverItsState) {
  // The quiz in its book choice still gets its timer back on every entry.
  auto& f2 = Switch<quiz::Form2>(F1(), Mode::Quiz);
  EXPECT_TRUE(f2.Timer1.Enabled());
  EXPECT_TRUE(f2.List1.Visible());
  auto& f3 = Switch<dictionary::Form3>(f2, Mode::Dictionary);
  EXPECT_FALSE(f2.Timer1.Enabled());
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
    kit::FakePlatform p;
    kit::ScriptedRandom r;
    r.fallback = 0.0;
    program::Program prog(p, r);
    prog.Start();
    shell::ModeWindow* from = prog.Shell().Find(Mode::Match);
    // Every window exists and the match window has a best time: only the closed one speaks.
    static_cast<shell::GameWindow*>(from)->BestTime = 352;
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
    if (auto* game = dynamic_cast<shell::GameWindow*>(&w)) {
      EXPECT_FALSE(game->Timer1.Enabled());
    }
  }
}

TEST_F(ShellTest, LoadingWithNoBookSelectedSaysTheBookIsDamagedAndEnds) {
  EXPECT_TRUE(kit::Ends([&] { F1().Command3.Click(); }));
  EXPECT_EQ(platform.messages, std::vector<std::string>{"词库已损坏\r\n请重新解压"});

  kit::FakePlatform p;
  kit::ScriptedRandom r;
  program::Program prog(p, r);
  prog.Start();
  prog.Shell().SwitchMode(*prog.Shell().Find(Mode::Match), Mode::Dictionary);
  auto& f3 = static_cast<dictionary::Form3&>(*prog.Shell().Find(Mode::Dictionary));
  EXPECT_TRUE(kit::Ends([&] { f3.List1.DblClick(); }));
  EXPECT_EQ(p.messages, std::vector<std::string>{"词库已损坏\r\n请重新解压"});
}

TEST_F(ShellTest, AMissingBookFileEndsTheProgramWithAMessageNamingTheBook) {
  kit::TempDir dir;
  platform.program_directory = dir.Str();
  F1().List1.SetListIndex(1);
  EXPECT_TRUE(kit::Ends([&] { F1().Command3.Click(); }));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("《小学英语》(第一册)(91)"), std::string::npos);
  EXPECT_NE(platform.messages[0].find("\r\n"), std::string::npos);
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
