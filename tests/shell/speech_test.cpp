// What the mode windows ask to have said, and when: F2 (or the menu) in every mode, and the
// words said unasked with 自动朗读 on. With it off nothing is ever said unasked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dictionary/form3.h"
#include "kit/kit.h"
#include "match/form1.h"
#include "program/program.h"
#include "quiz/form2.h"
#include "screensaver/form4.h"
#include "text/text.h"

namespace {

using shell::Mode;
using Spoken = kit::FakePlatform::Spoken;
constexpr ui::Language kEn = ui::Language::English;
constexpr ui::Language kZh = ui::Language::Chinese;

// Walks 0..35 round and round: every shuffle and every draw-until-new ends.
class CyclingRandom : public ui::Random {
 public:
  double Next() override { return ((next_++ % 36) + 0.5) / 36; }
  void Reseed(std::uint64_t) override {}

 private:
  int next_ = 0;
};

// A whole program on the own book, brought to one screen of one mode.
struct Program {
  Program() {
    std::vector<kit::Record> book;
    for (int i = 1; i <= 18; ++i)
      book.emplace_back(kit::Numbered("word", i), kit::Numbered("词", i, "义"));
    kit::WriteOwnBook(dir.Path(), book);
    platform.program_directory = dir.Str();
    program.Start();
  }
  template <class T>
  T& Open(Mode mode) {
    auto* match = program.Shell().Find(Mode::Match);
    if (mode != Mode::Match) program.Shell().SwitchMode(*match, mode);
    return static_cast<T&>(*program.Shell().Find(mode));
  }
  static void ChooseOwnBook(shell::BookWindow& form) {
    form.List1.SetListIndex(kit::RowOf(form.List1, books::kOwnBookLabel));
    form.Command3.Click();
  }
  match::Form1& MatchPlay() {
    auto& f = Open<match::Form1>(Mode::Match);
    ChooseOwnBook(f);
    f.List2.SetListIndex(1);
    f.Command2.Click();
    platform.spoken.clear();  // what the way there said is not the row's
    return f;
  }
  quiz::Form2& QuizPlay(bool english_asked) {
    auto& f = Open<quiz::Form2>(Mode::Quiz);
    ChooseOwnBook(f);
    f.List2.SetListIndex(1);
    f.Command2.Click();
    if (!english_asked) f.Command2_3.Click();
    platform.spoken.clear();
    return f;
  }
  dictionary::Form3& Lookup() {
    auto& f = Open<dictionary::Form3>(Mode::Dictionary);
    ChooseOwnBook(f);
    platform.spoken.clear();
    return f;
  }

  kit::TempDir dir;
  kit::FakePlatform platform;
  CyclingRandom random;
  program::Program program{platform, random};
};

// The board button showing cell `cell`.
int ButtonOf(const match::Form1& f, int cell) {
  for (int b = 0; b < match::kCells; ++b)
    if (f.CellOrder[static_cast<std::size_t>(b)] == cell) return b;
  return -1;
}

// The answer button holding the right answer (`right`), or one holding another.
int AnswerButton(const quiz::Form2& f, bool right = true) {
  for (int i = 0; i < quiz::kAnswerButtons; ++i)
    if ((f.Command1[i].Caption() == f.RoundAnswers[static_cast<std::size_t>(f.QuestionNo)]) ==
        right)
      return i;
  return -1;
}

void PressF2(ui::Window& window, const ui::Control* focus,
             std::vector<std::pair<const ui::Control*, std::string>> selections = {}) {
  window.RequestSpeech({focus, std::move(selections)});
}

struct Row {
  const char* what;
  bool auto_speak;
  // Brings a fresh program to its screen, then does the event; returns what must be said.
  std::function<std::vector<Spoken>(Program&)> event;
};

TEST(Speech, EachModeSaysTheWordMeantWhenAskedAndUnaskedOnlyWithAutoSpeakOn) {
  const Row rows[] = {
      {"match: F2 says the focused English cell", false,
       [](Program& r) {
         auto& f = r.MatchPlay();
         PressF2(f.Window(), &f.Command1[ButtonOf(f, 0)]);
         return std::vector<Spoken>{{f.BoardCells[0], kEn}};
       }},
      {"match: F2 says a Chinese cell in Chinese", false,
       [](Program& r) {
         auto& f = r.MatchPlay();
         PressF2(f.Window(), &f.Command1[ButtonOf(f, 1)]);
         return std::vector<Spoken>{{f.BoardCells[1], kZh}};
       }},
      {"match: F2 away from the board says nothing", true,
       [](Program& r) {
         auto& f = r.MatchPlay();
         PressF2(f.Window(), &f.Command5);
         PressF2(f.Window(), nullptr);
         return std::vector<Spoken>{};
       }},
      {"match: a picked cell is silent with auto speech off", false,
       [](Program& r) {
         auto& f = r.MatchPlay();
         f.Command1[ButtonOf(f, 0)].Click();
         f.Command1[ButtonOf(f, 1)].Click();
         return std::vector<Spoken>{};
       }},
      {"match: a picked English cell is said, its meaning is not", true,
       [](Program& r) {
         auto& f = r.MatchPlay();
         f.Command1[ButtonOf(f, 1)].Click();
         f.Command1[ButtonOf(f, 0)].Click();
         f.Command1[ButtonOf(f, 2)].Click();
         return std::vector<Spoken>{{f.BoardCells[0], kEn}, {f.BoardCells[2], kEn}};
       }},
      {"英译汉: F2 says the falling question", false,
       [](Program& r) {
         auto& f = r.QuizPlay(true);
         PressF2(f.Window(), &f.Command1[0]);
         return std::vector<Spoken>{{f.Label1.Caption(), kEn}};
       }},
      {"英译汉: each question is said as it starts to fall", true,
       [](Program& r) {
         auto& f = r.QuizPlay(true);
         f.Command1[AnswerButton(f, false)].Click();     // the same question goes on falling
         for (int i = 0; i < 120; ++i) f.Timer1.Tick();  // and starts again from the top
         f.Command1[AnswerButton(f)].Click();
         return std::vector<Spoken>{{f.Label1.Caption(), kEn}};
       }},
      {"英译汉: questions are silent with auto speech off", false,
       [](Program& r) {
         auto& f = r.QuizPlay(true);
         f.Command1[AnswerButton(f)].Click();
         return std::vector<Spoken>{};
       }},
      {"汉译英: F2 says the focused answer, not the question", false,
       [](Program& r) {
         auto& f = r.QuizPlay(false);
         PressF2(f.Window(), &f.Command1[2]);
         PressF2(f.Window(), nullptr);
         return std::vector<Spoken>{{f.Command1[2].Caption(), kEn}};
       }},
      {"汉译英: the right answer is said once chosen, a wrong one is not", true,
       [](Program& r) {
         auto& f = r.QuizPlay(false);
         const int right = AnswerButton(f);
         const std::string answer = f.Command1[right].Caption();
         f.Command1[AnswerButton(f, false)].Click();
         f.Command1[AnswerButton(f)].Click();
         return std::vector<Spoken>{{answer, kEn}};
       }},
      {"dictionary: F2 says the selection in the results, else the query", false,
       [](Program& r) {
         auto& f = r.Lookup();
         f.Text1.SetText("word3");
         PressF2(f.Window(), &f.Text2, {{&f.Text2, "word12"}, {&f.Text1, "ord"}});
         PressF2(f.Window(), &f.Text2, {{&f.Text2, ""}});
         f.Text1.SetText("词4");
         PressF2(f.Window(), nullptr);
         return std::vector<Spoken>{{"word12", kEn}, {"word3", kEn}, {"词4", kZh}};
       }},
      {"dictionary: a lookup says a query with Latin letters", true,
       [](Program& r) {
         auto& f = r.Lookup();
         f.Text1.SetText("word5");
         f.Text1_KeyPress(ui::kEnterKey);
         f.Text1.SetText("词5");
         f.Command5_Click();
         f.Text1.SetText("5");
         f.Command5_Click();
         return std::vector<Spoken>{{"word5", kEn}};
       }},
      {"dictionary: lookups are silent with auto speech off", false,
       [](Program& r) {
         auto& f = r.Lookup();
         f.Text1.SetText("word5");
         f.Command5_Click();
         return std::vector<Spoken>{};
       }},
      {"screen saver: offers no speech and says nothing", true,
       [](Program& r) {
         auto& f = r.Open<screensaver::Form4>(Mode::ScreenSaver);
         EXPECT_FALSE(f.Window().Speaks());
         PressF2(f.Window(), nullptr);
         if (ui::Timer* timer = f.ModeTimer())
           for (int i = 0; i < 50; ++i) timer->Tick();
         return std::vector<Spoken>{};
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Program run;
    run.platform.auto_speak = row.auto_speak;
    const std::vector<Spoken> expected = row.event(run);
    EXPECT_EQ(run.platform.spoken, expected);
  }
}

TEST(Speech, TextsAreToldApartByTheirScript) {
  const struct {
    const char* text;
    bool latin, han;
  } rows[] = {
      {"knowledge", true, false}, {"一心一意", false, true},
      {"café", true, false},      {"DNA 脱氧核糖核酸", true, true},
      {"123 ,.!", false, false},  {"（）《》", false, false},
      {"\xE4\xB8", false, false},  // a cut-off character
      {"𠀀", false, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(text::HasLatinLetter(row.text), row.latin) << row.text;
    EXPECT_EQ(text::HasHan(row.text), row.han) << row.text;
  }
}

}  // namespace
