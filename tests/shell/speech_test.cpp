// What the mode windows ask to have said, and when: F2 (or the menu) in every mode, and the
// words said unasked with 自动朗读 on. With it off nothing is ever said unasked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "program_fixture.h"

namespace {

using shell::Mode;
using shell_test::PlayingProgram;
using Spoken = kit::FakePlatform::Spoken;
constexpr ui::Language kEn = ui::Language::English;
constexpr ui::Language kZh = ui::Language::Chinese;

void PressF2(ui::Window& window, const ui::Control* focus,
             std::vector<std::pair<const ui::Control*, std::string>> selections = {}) {
  window.RequestSpeech({focus, std::move(selections)});
}

struct Row {
  const char* what;
  bool auto_speak;
  // Brings a fresh program to its screen, then does the event; returns what must be said.
  std::function<std::vector<Spoken>(PlayingProgram&)> event;
};

TEST(Speech, EachModeSaysTheWordMeantWhenAskedAndUnaskedOnlyWithAutoSpeakOn) {
  const Row rows[] = {
      {"match: F2 says the focused English cell", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.MatchPlay();
         PressF2(f.Window(), &r.CellShowing(f, r.English(1)));
         return std::vector<Spoken>{{r.English(1), kEn}};
       }},
      {"match: F2 says a Chinese cell in Chinese", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.MatchPlay();
         PressF2(f.Window(), &r.CellShowing(f, r.Chinese(1)));
         return std::vector<Spoken>{{r.Chinese(1), kZh}};
       }},
      {"match: F2 away from the board says nothing", true,
       [](PlayingProgram& r) {
         const kit::Controls f = r.MatchPlay();
         PressF2(f.Window(), &f.ChangeGroupButton());
         PressF2(f.Window(), nullptr);
         return std::vector<Spoken>{};
       }},
      {"match: a picked cell is silent with auto speech off", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.MatchPlay();
         r.CellShowing(f, r.English(1)).Click();
         r.CellShowing(f, r.Chinese(1)).Click();
         return std::vector<Spoken>{};
       }},
      {"match: a picked English cell is said, its meaning is not", true,
       [](PlayingProgram& r) {
         const kit::Controls f = r.MatchPlay();
         r.CellShowing(f, r.Chinese(1)).Click();
         r.CellShowing(f, r.English(1)).Click();
         r.CellShowing(f, r.English(2)).Click();
         return std::vector<Spoken>{{r.English(1), kEn}, {r.English(2), kEn}};
       }},
      {"英译汉: F2 says the falling question", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.QuizPlay(true);
         PressF2(f.Window(), &f.Answer(0));
         return std::vector<Spoken>{{f.Question().Caption(), kEn}};
       }},
      {"英译汉: each question is said as it starts to fall", true,
       [](PlayingProgram& r) {
         const kit::Controls f = r.QuizPlay(true);
         r.AnswerButton(f, false).Click();                // the same question goes on falling
         for (int i = 0; i < 120; ++i) f.Clock().Tick();  // and starts again from the top
         r.AnswerButton(f).Click();
         return std::vector<Spoken>{{f.Question().Caption(), kEn}};
       }},
      {"英译汉: questions are silent with auto speech off", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.QuizPlay(true);
         r.AnswerButton(f).Click();
         return std::vector<Spoken>{};
       }},
      {"汉译英: F2 says the focused answer, not the question", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.QuizPlay(false);
         PressF2(f.Window(), &f.Answer(2));
         PressF2(f.Window(), nullptr);
         return std::vector<Spoken>{{f.Answer(2).Caption(), kEn}};
       }},
      {"汉译英: the right answer is said once chosen, a wrong one is not", true,
       [](PlayingProgram& r) {
         const kit::Controls f = r.QuizPlay(false);
         const std::string answer = r.AnswerButton(f).Caption();
         r.AnswerButton(f, false).Click();
         r.AnswerButton(f).Click();
         return std::vector<Spoken>{{answer, kEn}};
       }},
      {"dictionary: F2 says the selection in the results, else the query", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.Lookup();
         f.QueryBox().SetText("word3");
         PressF2(f.Window(), &f.ResultBox(), {{&f.ResultBox(), "word12"}, {&f.QueryBox(), "ord"}});
         PressF2(f.Window(), &f.ResultBox(), {{&f.ResultBox(), ""}});
         f.QueryBox().SetText("词4");
         PressF2(f.Window(), nullptr);
         return std::vector<Spoken>{{"word12", kEn}, {"word3", kEn}, {"词4", kZh}};
       }},
      {"dictionary: a lookup says a query with Latin letters", true,
       [](PlayingProgram& r) {
         const kit::Controls f = r.Lookup();
         f.QueryBox().SetText("word5");
         f.QueryBox().KeyPress(ui::kEnterKey);
         f.QueryBox().SetText("词5");
         f.LookUpButton().Click();
         f.QueryBox().SetText("5");
         f.LookUpButton().Click();
         return std::vector<Spoken>{{"word5", kEn}};
       }},
      {"dictionary: lookups are silent with auto speech off", false,
       [](PlayingProgram& r) {
         const kit::Controls f = r.Lookup();
         f.QueryBox().SetText("word5");
         f.LookUpButton().Click();
         return std::vector<Spoken>{};
       }},
      {"screen saver: offers no speech and says nothing", true,
       [](PlayingProgram& r) {
         const kit::Controls f = r.Open(Mode::ScreenSaver);
         EXPECT_FALSE(f.Window().Speaks());
         PressF2(f.Window(), nullptr);
         for (int i = 0; i < 50; ++i) f.Clock().Tick();
         return std::vector<Spoken>{};
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    PlayingProgram run;
    run.platform.auto_speak = row.auto_speak;
    const std::vector<Spoken> expected = row.event(run);
    EXPECT_EQ(run.platform.spoken, expected);
  }
}

}  // namespace
