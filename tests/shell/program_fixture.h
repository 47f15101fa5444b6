// A whole program on a fake platform and an own book of 18 words, brought to one screen of
// one mode, with the draws of a clock that walks round: every deal shows text b on cell b.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "kit/kit.h"
#include "match/round.h"
#include "program/program.h"
#include "quiz/round.h"

namespace shell_test {

using shell::Mode;

// Walks 0..35 round and round: every shuffle and every draw-until-new ends.
class CyclingRandom : public ui::Random {
 public:
  double Next() override { return ((next_++ % 36) + 0.5) / 36; }
  void Reseed(std::uint64_t) override {}

 private:
  int next_ = 0;
};

// A whole program on the own book, brought to one screen of one mode.
struct PlayingProgram {
  // `show_progress` shows the progress window; without it none is offered.
  explicit PlayingProgram(shell::ShowProgress show_progress = nullptr)
      : program(platform, random, std::move(show_progress)) {
    std::vector<kit::Record> book;
    for (int i = 1; i <= 18; ++i) {
      book.emplace_back(English(i), Chinese(i));
      answers.emplace(English(i), Chinese(i));
      answers.emplace(Chinese(i), English(i));
    }
    kit::WriteOwnBook(dir.Path(), book);
    platform.program_directory = dir.Str();
    program.Start();
  }
  static std::string English(int record) { return kit::Numbered("word", record); }
  static std::string Chinese(int record) { return kit::Numbered("词", record, "义"); }

  kit::Controls Open(Mode mode) {
    auto* match = program.Shell().Find(Mode::Match);
    if (mode != Mode::Match) program.Shell().SwitchMode(*match, mode);
    return kit::Controls(program.Shell().Find(mode)->Window());
  }
  static void ChooseOwnBook(const kit::Controls& ui) {
    ui.BookList().SetListIndex(kit::RowOf(ui.BookList(), books::kOwnBookLabel));
    ui.ChooseBookButton().Click();
  }
  kit::Controls MatchPlay() {
    kit::Controls f = Open(Mode::Match);
    ChooseOwnBook(f);
    f.GroupList().SetListIndex(1);
    f.ChooseGroupButton().Click();
    platform.spoken.clear();  // what the way there said is not the row's
    return f;
  }
  kit::Controls QuizPlay(bool english_asked) {
    kit::Controls f = Open(Mode::Quiz);
    ChooseOwnBook(f);
    f.GroupList().SetListIndex(1);
    f.ChooseGroupButton().Click();
    if (!english_asked) f.ModeButton(2).Click();
    platform.spoken.clear();
    return f;
  }
  kit::Controls Lookup() {
    kit::Controls f = Open(Mode::Dictionary);
    ChooseOwnBook(f);
    platform.spoken.clear();
    return f;
  }

  // The board cell showing `text`: one still on the board when there is one.
  static ui::Button& CellShowing(const kit::Controls& f, const std::string& text) {
    ui::Button* found = nullptr;
    for (int b = match::kCells - 1; b >= 0; --b)
      if (f.Cell(b).Caption() == text && (!found || f.Cell(b).Visible())) found = &f.Cell(b);
    if (!found) throw std::logic_error("no cell shows " + text);
    return *found;
  }
  // The answer button holding the right answer (`right`), or one holding another.
  ui::Button& AnswerButton(const kit::Controls& f, bool right = true) {
    const std::string& answer = answers.at(f.Question().Caption());
    for (int i = 0; i < quiz::kAnswerButtons; ++i)
      if ((f.Answer(i).Caption() == answer) == right) return f.Answer(i);
    throw std::logic_error("no such answer button");
  }

  kit::TempDir dir;
  kit::FakePlatform platform;
  CyclingRandom random;
  program::Program program;
  std::map<std::string, std::string> answers;  // of every question, whichever side is asked
};

}  // namespace shell_test
