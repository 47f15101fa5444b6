#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "screensaver/screensaver_window.h"
#include "shell/shell.h"

namespace {

using screensaver::kStartColor;
using shell::Mode;

// A window of another mode, only there to be switched to and from.
class OtherWindow : public shell::ModeWindow {
 public:
  OtherWindow(shell::Shell& shell, Mode mode) : ModeWindow(shell, "other"), mode_(mode) {}
  void Load() override { SetUpModeColumn(mode_); }
  void OnClose() override { EndProgram(); }

 private:
  Mode mode_;
};

// Where a label stands and how it looks after a tick.
struct Snapshot {
  int left, top, width, height;
  ui::Color color;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const ui::Label& l) {
  return {l.Left(), l.Top(), l.Width(), l.Height(), l.ForeColor()};
}

class ScreenSaverTest : public ::testing::Test {
 protected:
  // Starts on another window and switches to the screen saver, as the user does.
  ScreenSaverTest()
      : shell_(platform_, random_,
               [](Mode mode, shell::Shell& s) -> std::unique_ptr<shell::ModeWindow> {
                 if (mode == Mode::ScreenSaver)
                   return std::make_unique<screensaver::ScreenSaverWindow>(s);
                 return std::make_unique<OtherWindow>(s, mode);
               }) {}

  ui::Window& Started() {
    shell_.Start();
    random_.PushIndex(0, 20);  // the picture at load
    shell_.SwitchMode(*shell_.Find(Mode::Match), Mode::ScreenSaver);
    return shell_.Find(Mode::ScreenSaver)->Window();
  }

  ui::Label& Label(int i) { return *Labels()[i]; }
  std::vector<ui::Label*> Labels() { return {&ui_.Caption(0), &ui_.Caption(1), &ui_.Caption(2)}; }

  // Queues dx and dy for the next label to move.
  void Draws(int dx, int dy) {
    random_.PushIndex(dx, 3);
    random_.PushIndex(dy, 3);
  }

  // Queues `ticks` ticks of draws from a fixed-seed generator.
  void RandomDraws(int ticks, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> r(0.0, 1.0);
    for (int i = 0; i < ticks * 6; ++i) random_.Push(r(gen));
  }

  void Tick() { ui_.Clock().Tick(); }

  kit::FakePlatform platform_;
  kit::ScriptedRandom random_;
  shell::Shell shell_;
  kit::Controls ui_{Started()};
};

TEST_F(ScreenSaverTest, LoadsTheCaptionsAtTheirStartsInLargeBoldTransparentOrange) {
  EXPECT_EQ(ui_.Window().Caption(), "Kestrin之屏幕保护V3.6");
  EXPECT_EQ(ui_.Window().Width(), 12000);
  EXPECT_EQ(ui_.Window().Height(), 8550);
  EXPECT_TRUE(ui_.Window().Visible());
  EXPECT_EQ(random_.reseeds, 1);

  struct Row {
    std::string caption;
    int left, top;
  } rows[] = {{"Dorrin侠", 2400, 0}, {"VantleMan", 2400, 2640}, {"VantleStudio", 2280, 5040}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(rows[i].caption);
    const ui::Label& l = Label(i);
    EXPECT_EQ(l.Caption(), rows[i].caption);
    EXPECT_EQ(l.Left(), rows[i].left);
    EXPECT_EQ(l.Top(), rows[i].top);
    EXPECT_EQ(l.GetFont(), (ui::Font{"宋体", 72, true}));
    EXPECT_TRUE(l.AutoSize());
    EXPECT_TRUE(l.Transparent());
    ui::Size measured = platform_.MeasureText(rows[i].caption, l.GetFont());
    EXPECT_EQ(l.Width(), measured.width);
    EXPECT_EQ(l.Height(), measured.height);
    EXPECT_EQ(l.ForeColor(), kStartColor);
    EXPECT_EQ(l.ForeColor(), ui::Rgb(255, 127, 0));
  }

  const ui::Button* column[] = {&ui_.ModeButton(0), &ui_.ModeButton(1), &ui_.ModeButton(2),
                                &ui_.ModeButton(3)};
  const char* captions[] = {"连连看", "英汉互译", "双向词典", "屏幕保护"};
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(column[row]->Caption(), captions[row]);
    EXPECT_EQ(column[row]->Left(), 500);
    EXPECT_EQ(column[row]->Top(), 2400 + row * 375);
    EXPECT_TRUE(column[row]->Visible());
    EXPECT_EQ(column[row]->Enabled(), row != 3) << captions[row];
  }

  EXPECT_EQ(ui_.Clock().Interval(), 200);
  EXPECT_TRUE(ui_.Clock().Enabled());
  ASSERT_EQ(platform_.picture_requests.size(), 1u);
  EXPECT_EQ(kit::PicturePath(ui_.Window()), "/nonexistent/Pic/0.jpg");
}

TEST_F(ScreenSaverTest, TheFirstTwoTicksLiftTheFirstCaptionFromTopZeroWhateverItsDraws) {
  for (int tick = 1; tick <= 2; ++tick) {
    Draws(2, 2);  // would move it right and down if it were inside
    Draws(1, 1);
    Draws(1, 1);
    Tick();
    EXPECT_EQ(Label(0).Top(), 120 * tick);
    EXPECT_EQ(Label(0).Left(), 2400);
  }
  EXPECT_EQ(random_.draws, 1 + 2 * 6);
}

TEST_F(ScreenSaverTest, ALabelInsideMovesByItsDrawsInAllNineDirections) {
  for (int dx = 0; dx < 3; ++dx) {
    for (int dy = 0; dy < 3; ++dy) {
      Label(1).Move(5000, 4000, 3000, 2000);
      Draws(1, 1);
      Draws(dx, dy);
      Draws(1, 1);
      Tick();
      EXPECT_EQ(Label(1).Left(), 5000 + (dx - 1) * 120) << dx << dy;
      EXPECT_EQ(Label(1).Top(), 4000 + (dy - 1) * 120) << dx << dy;
    }
  }
}

TEST_F(ScreenSaverTest, ALabelOutsideGetsExactlyOneCorrectionInTheStatedOrder) {
  // 3000 x 2000: the far bounds are touched at Left 8880 and Top 5890.
  struct Row {
    const char* what;
    int left, top;
    int want_left, want_top;
  } rows[] = {
      {"just inside on every side", 121, 121, 121 + 120, 121 + 120},
      {"just inside the far bounds", 8879, 5889, 8879 + 120, 5889 + 120},
      {"left edge", 120, 3000, 240, 3000},
      {"top edge", 3000, 120, 3000, 240},
      {"right edge", 8880, 3000, 8760, 3000},
      {"bottom edge", 3000, 5890, 3000, 5770},
      {"left and top: left first", 0, 0, 120, 0},
      {"left and bottom: left first", -50, 7000, 70, 7000},
      {"top and right: top first", 9000, -300, 9000, -180},
      {"right and bottom: right first", 9000, 6000, 8880, 6000},
  };
  for (const Row& row : rows) {
    Label(2).Move(row.left, row.top, 3000, 2000);
    Draws(1, 1);
    Draws(1, 1);
    Draws(2, 2);  // the third caption's draws would move it if it were inside
    Tick();
    EXPECT_EQ(Label(2).Left(), row.want_left) << row.what;
    EXPECT_EQ(Label(2).Top(), row.want_top) << row.what;
  }
}

TEST_F(ScreenSaverTest, ACornerIsCorrectedOnTheLeftUntilClearThenOnTheTop) {
  Label(0).Move(0, 0, 3000, 2000);
  struct Step {
    int left, top;
  } expected[] = {{120, 0}, {240, 0}, {240, 120}, {240, 240}, {360, 360}};
  for (const Step& want : expected) {
    Draws(2, 2);
    Draws(1, 1);
    Draws(1, 1);
    Tick();
    EXPECT_EQ(Label(0).Left(), want.left);
    EXPECT_EQ(Label(0).Top(), want.top);
  }
}

TEST_F(ScreenSaverTest, ALabelAgainstAnEdgeStillUsesItsTwoDrawsAndItsColourFollowsDx) {
  Label(0).Move(0, 3000, 3000, 2000);     // against the left edge
  Label(1).Move(5000, 3000, 3000, 2000);  // inside
  Label(2).Move(5000, 6000, 3000, 2000);  // against the bottom edge
  Draws(2, 0);
  Draws(0, 2);
  Draws(0, 0);
  int before = random_.draws;
  Tick();
  EXPECT_EQ(random_.draws - before, 6);
  EXPECT_EQ(Take(Label(0)), (Snapshot{120, 3000, 3000, 2000, kStartColor + 4096}));
  EXPECT_EQ(Take(Label(1)), (Snapshot{4880, 3120, 3000, 2000, kStartColor - 4096}));
  EXPECT_EQ(Take(Label(2)), (Snapshot{5000, 5880, 3000, 2000, kStartColor - 4096}));
}

TEST_F(ScreenSaverTest, TheColourIsBroughtBackInsideBeforeItsRandomStep) {
  struct Row {
    ui::Color before;
    int dx;
    ui::Color after;
  } rows[] = {
      {0x7FFF, 0, 0x6FFF}, {0x7FFF, 1, 0x7FFF}, {0x7FFF, 2, 0x8FFF},     {8191, 1, 16383},
      {8191, 0, 12287},    {8192, 1, 8192},     {57343, 1, 49151},       {57343, 2, 53247},
      {57342, 1, 57342},   {0, 0, 4096},        {0xFFFFFF, 1, 0xFFDFFF},
  };
  for (const Row& row : rows) {
    Label(1).SetForeColor(row.before);
    Draws(1, 1);
    Draws(row.dx, 1);
    Draws(1, 1);
    Tick();
    EXPECT_EQ(Label(1).ForeColor(), row.after) << std::hex << row.before << " dx " << row.dx;
  }
}

TEST_F(ScreenSaverTest, TheColourStaysOrangeToYellowOfTheFormQFFFOverManyTicks) {
  auto check = [&](int tick) {
    for (ui::Label* l : Labels()) {
      ui::Color c = l->ForeColor();
      ASSERT_EQ(c & 0xFFF, 0xFFFu) << std::hex << c << " at tick " << std::dec << tick;
      ASSERT_GE(c, 0x1FFFu) << "tick " << tick;
      ASSERT_LE(c, 0xDFFFu) << "tick " << tick;
    }
  };
  std::set<ui::Color> seen;
  // Pushed greener for a long run, then redder, then at random.
  for (int tick = 0; tick < 40; ++tick)
    for (int i = 0; i < 3; ++i) Draws(2, 1);
  for (int tick = 0; tick < 40; ++tick)
    for (int i = 0; i < 3; ++i) Draws(0, 1);
  RandomDraws(3000, 7);
  for (int tick = 1; tick <= 3080; ++tick) {
    Tick();
    check(tick);
    seen.insert(Label(0).ForeColor());
  }
  EXPECT_TRUE(seen.count(0x1FFF) && seen.count(0xDFFF)) << "both limits reached";
  EXPECT_EQ(seen.size(), 13u);  // 0x1FFF, 0x2FFF, ..., 0xDFFF
}

TEST_F(ScreenSaverTest, Tick301ChangesThePictureAndMovesNothingThenTheCycleRepeats) {
  random_.fallback = 0.0;  // dx = dy = 0 and picture 0: every label keeps moving somewhere
  for (int tick = 1; tick <= 300; ++tick) Tick();
  EXPECT_EQ(platform_.picture_requests.size(), 1u) << "only the picture at load so far";

  std::vector<Snapshot> before;
  for (ui::Label* l : Labels()) before.push_back(Take(*l));
  int draws = random_.draws;
  random_.PushIndex(13, 20);
  Tick();
  EXPECT_EQ(random_.draws - draws, 1) << "the picture's draw only";
  ASSERT_EQ(platform_.picture_requests.size(), 2u);
  EXPECT_EQ(kit::PicturePath(ui_.Window()), "/nonexistent/Pic/13.jpg");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Take(Label(i)), before[i]) << i;

  Tick();
  EXPECT_EQ(random_.draws - draws, 1 + 6);
  for (int tick = 2; tick <= 300; ++tick) Tick();
  EXPECT_EQ(platform_.picture_requests.size(), 2u);
  Tick();
  EXPECT_EQ(platform_.picture_requests.size(), 3u);
}

TEST_F(ScreenSaverTest, WhileHiddenNothingMovesAndTheCounterStandsStill) {
  random_.fallback = 0.0;  // the moves do not matter here, only whether they happen
  for (int tick = 0; tick < 5; ++tick) Tick();
  std::vector<Snapshot> before;
  for (ui::Label* l : Labels()) before.push_back(Take(*l));
  auto picture = ui_.Window().GetPicture();

  ui_.ModeButton(0).Click();  // to the match game
  EXPECT_FALSE(ui_.Window().Visible());
  EXPECT_FALSE(ui_.Clock().Enabled());
  int draws = random_.draws;
  for (int tick = 0; tick < 400; ++tick) Tick();
  EXPECT_EQ(random_.draws, draws);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Take(Label(i)), before[i]) << i;

  // Back again: no second load, everything as it was left, and the picture changes once the
  // counter reaches 300 from where it stood.
  kit::Controls(shell_.Find(Mode::Match)->Window()).ModeButton(3).Click();
  EXPECT_TRUE(ui_.Window().Visible());
  EXPECT_TRUE(ui_.Clock().Enabled());
  EXPECT_EQ(random_.reseeds, 1);
  EXPECT_EQ(ui_.Window().GetPicture(), picture);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Take(Label(i)), before[i]) << i;
  for (int tick = 6; tick <= 300; ++tick) Tick();
  EXPECT_EQ(ui_.Window().GetPicture(), picture);
  Tick();
  EXPECT_NE(ui_.Window().GetPicture(), picture);
}

TEST_F(ScreenSaverTest, ClosingTheWindowEndsTheProgramWithoutAMessage) {
  EXPECT_TRUE(kit::Ends([&] { ui_.Window().Close(); }));
  EXPECT_TRUE(platform_.ended);
  EXPECT_TRUE(platform_.messages.empty());
}

// A label too large to fit between the bounds on an axis comes to rest on that axis just
// inside the near bound and keeps wandering on the other; it never bounces nor drifts away.
TEST_F(ScreenSaverTest, ALabelTooLargeToFitRestsAtTheNearBoundAndNeverDriftsAway) {
  struct Row {
    const char* what;
    int left, top, width, height;
  } rows[] = {
      {"too wide", 2400, 3000, 12000, 2000},
      {"too wide by one twip", 7000, 3000, 11759, 2000},
      {"too tall", 5000, 4000, 3000, 8000},
      {"too wide and too tall", 5000, 5000, 20000, 9000},
      {"too wide, starting off the left", -5000, 3000, 15000, 2000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Label(2).Move(row.left, row.top, row.width, row.height);
    bool wide = row.width + 241 >= 12000;
    bool tall = row.height + 241 >= 8010;
    RandomDraws(600, 11);
    std::set<int> free_positions;
    for (int tick = 1; tick <= 600; ++tick) {
      Tick();
      const ui::Label& l = Label(2);
      if (tick < 200) continue;  // on its way to rest
      if (wide) {
        ASSERT_GT(l.Left(), 120);
        ASSERT_LE(l.Left(), 240);
      } else {
        ASSERT_GT(l.Left(), 0);
        ASSERT_LT(l.Left() + l.Width(), 12000);
        free_positions.insert(l.Left());
      }
      if (tall) {
        ASSERT_GT(l.Top(), 120);
        ASSERT_LE(l.Top(), 240);
      } else {
        ASSERT_GT(l.Top(), 0);
        ASSERT_LT(l.Top() + l.Height(), 8010);
        free_positions.insert(l.Top());
      }
    }
    if (!(wide && tall)) {
      EXPECT_GT(free_positions.size(), 5u) << "the other axis wanders";
    }
  }
}

}  // namespace
