// What the learner's journal keeps of the games: the outcome of every word (mode × event →
// grade), the review rounds F3 deals, the dictionary's F4, and the menu when the journal
// cannot be written. A real journal in a temporary folder, read back as the progress window
// and vantle-book read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "progress/journal.h"

namespace {

using shell::Mode;
using shell_test::PlayingProgram;

// A program whose learner's data folder is a temporary one. The progress window it shows is
// kept as the page it was given, and whether a round waits for it.
struct Learner : PlayingProgram {
  Learner()
      : PlayingProgram([this](const progresspage::Page& page, std::function<void()> closed) {
          pages.push_back(page);
          close_progress = std::move(closed);
        }) {
    platform.user_data_directory = data.Str();
  }
  std::filesystem::path JournalFile() const { return data.Path() / "progress.sqlite3"; }
  // Every word of the journal as "english/chinese good again", in English order; " easy" after
  // a word whose one answer put it in review at once, as only Easy does.
  std::vector<std::string> Words() const {
    progress::Journal journal(JournalFile());
    std::vector<std::string> words;
    for (const progress::JournalWord& w : journal.List(progress::Listing::All, platform.now)) {
      words.push_back(w.english + "/" + w.chinese + " " + std::to_string(w.card.reps - w.misses) +
                      " " + std::to_string(w.misses));
      if (w.card.reps == 1 && w.card.state == progress::CardState::Review) words.back() += " easy";
    }
    return words;
  }
  // The menu entry whose caption starts with `start`.
  static ui::Window::MenuEntry Entry(const kit::Controls& ui, const std::string& start) {
    for (ui::Window::MenuEntry& entry : ui.Window().MenuEntries())
      if (entry.caption.rfind(start, 0) == 0) return entry;
    return {};
  }
  static void Press(const kit::Controls& ui, const std::string& key,
                    std::vector<std::pair<const ui::Control*, std::string>> selections = {}) {
    ui.Window().PressShortcut(key, {nullptr, std::move(selections)});
  }
  // `key` pressed with the focus on `focus`.
  static void PressOn(const kit::Controls& ui, const std::string& key, const ui::Control& focus) {
    ui.Window().PressShortcut(key, {&focus, {}});
  }

  // Puts the own book's records `from` to `to` up for review, due now, as F4 does.
  void PutUp(int from, int to) const {
    progress::Journal journal(JournalFile());
    for (int k = from; k <= to; ++k)
      ASSERT_TRUE(journal.Add(English(k), Chinese(k), books::kOwnBookLabel, platform.now));
  }
  // The number of shown cells of the board.
  static int ShownCells(const kit::Controls& m) {
    int shown = 0;
    for (int b = 0; b < match::kCells; ++b) shown += m.Cell(b).Visible() ? 1 : 0;
    return shown;
  }

  kit::TempDir data;
  std::vector<progresspage::Page> pages;  // the progress window's, as shown
  std::function<void()> close_progress;   // closes it, when a round waits for it
};

std::string W(int record, int good, int again) {
  return PlayingProgram::English(record) + "/" + PlayingProgram::Chinese(record) + " " +
         std::to_string(good) + " " + std::to_string(again);
}

// A word answered Easy once.
std::string Easy(int record) {
  return W(record, 1, 0) + " easy";
}

// The match game in play on group 0, which the cycling draws fill with records 1 to 9, each
// twice.
kit::Controls MatchGroupZero(Learner& l) {
  kit::Controls m = l.Open(Mode::Match);
  PlayingProgram::ChooseOwnBook(m);
  m.GroupList().SetListIndex(0);
  m.ChooseGroupButton().Click();
  return m;
}

TEST(Practice, EveryWordOfARoundIsRecordedOnceAsGoodOrAgainAsItHappens) {
  struct Row {
    const char* what;
    std::function<void(Learner&)> play;
    std::vector<std::string> words;  // in English order: word1, word10, word11, ..., word2, ...
  } rows[] = {
      {"match: a pair cleared at once is Good",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
       },
       {W(1, 1, 0)}},
      {"match: a wrong pick is Again for both its words, once a round, cleared or not",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         for (int twice = 0; twice < 2; ++twice) {
           l.CellShowing(m, l.English(1)).Click();
           l.CellShowing(m, l.English(2)).Click();
         }
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
       },
       {W(1, 0, 1), W(2, 0, 1)}},
      {"match: when the time runs out on a learner playing, every word still on the board is Again",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         for (int t = 0; t < 1200; ++t) m.Clock().Tick();
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
         l.CellShowing(m, l.English(2)).Click();  // picked, not cleared: still on the board
         for (int t = 0; t < 100 && !l.platform.messages.size(); ++t) m.Clock().Tick();
         EXPECT_EQ(l.platform.messages, std::vector<std::string>{"过时，请重新来过"});
       },
       {W(1, 1, 0), W(10, 0, 1), W(11, 0, 1), W(12, 0, 1), W(13, 0, 1), W(14, 0, 1), W(15, 0, 1),
        W(16, 0, 1), W(17, 0, 1), W(18, 0, 1), W(2, 0, 1), W(3, 0, 1), W(4, 0, 1), W(5, 0, 1),
        W(6, 0, 1), W(7, 0, 1), W(8, 0, 1), W(9, 0, 1)}},
      {"match: a board left alone records nothing when its time runs out, again and again",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         for (int t = 0; t < 2 * 1250; ++t) m.Clock().Tick();
         EXPECT_EQ(l.platform.messages.size(), 2u);
       },
       {}},
      {"match: a won round's board dealt again and left alone records nothing more",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         for (int k = 1; k <= 18; ++k) {
           l.CellShowing(m, l.English(k)).Click();
           l.CellShowing(m, l.Chinese(k)).Click();
         }
         for (int t = 0; t < 1300; ++t) m.Clock().Tick();
         EXPECT_EQ(l.platform.messages.size(), 2u) << "the report, then the time-out";
       },
       {W(1, 1, 0), W(10, 1, 0), W(11, 1, 0), W(12, 1, 0), W(13, 1, 0), W(14, 1, 0), W(15, 1, 0),
        W(16, 1, 0), W(17, 1, 0), W(18, 1, 0), W(2, 1, 0), W(3, 1, 0), W(4, 1, 0), W(5, 1, 0),
        W(6, 1, 0), W(7, 1, 0), W(8, 1, 0), W(9, 1, 0)}},
      {"match: leaving a round by 换组词 records nothing more",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
         m.ChangeGroupButton().Click();
         m.ChooseGroupButton().Click();
       },
       {W(1, 1, 0)}},
      {"quiz: the right answer first is Good, a wrong one Again once a question",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(true);
         const std::string first = q.Question().Caption();
         l.AnswerButton(q).Click();
         for (int twice = 0; twice < 2; ++twice) l.AnswerButton(q, false).Click();
         l.AnswerButton(q).Click();
         EXPECT_EQ(first, l.English(1));
       },
       {W(1, 1, 0), W(2, 0, 1)}},
      {"quiz: a question that drops within 30 s of an answer is Again, once",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(true);
         l.AnswerButton(q).Click();
         for (int t = 0; t < 2 * 106; ++t) q.Clock().Tick();
       },
       {W(1, 1, 0), W(2, 0, 1)}},
      {"quiz: questions that drop with nobody answering record nothing",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(true);
         for (int t = 0; t < 3 * 106; ++t) q.Clock().Tick();
         EXPECT_EQ(l.platform.beeps, 3);
       },
       {}},
      {"quiz: the first question after a round's report that drops records nothing",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(true);
         for (int k = 0; k < 18; ++k) l.AnswerButton(q).Click();
         ASSERT_EQ(l.platform.messages.size(), 1u);
         for (int t = 0; t < 106; ++t) q.Clock().Tick();
       },
       {W(1, 1, 0), W(10, 1, 0), W(11, 1, 0), W(12, 1, 0), W(13, 1, 0), W(14, 1, 0), W(15, 1, 0),
        W(16, 1, 0), W(17, 1, 0), W(18, 1, 0), W(2, 1, 0), W(3, 1, 0), W(4, 1, 0), W(5, 1, 0),
        W(6, 1, 0), W(7, 1, 0), W(8, 1, 0), W(9, 1, 0)}},
      {"match: Ctrl+Z takes back what the last press recorded, and the pair then counts anew",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
         l.CellShowing(m, l.English(2)).Click();
         l.CellShowing(m, l.Chinese(3)).Click();  // a slip: Again for both
         Learner::Press(m, "Ctrl+Z");
         EXPECT_TRUE(l.CellShowing(m, l.English(2)).Visible()) << "the board is as it was";
         l.CellShowing(m, l.English(2)).Click();
         l.CellShowing(m, l.Chinese(2)).Click();
       },
       {W(1, 1, 0), W(2, 1, 0)}},
      {"match: Ctrl+Z again and again goes back to the round's start, and no further",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         for (int k = 1; k <= 2; ++k) {
           l.CellShowing(m, l.English(k)).Click();
           l.CellShowing(m, l.Chinese(k)).Click();
         }
         EXPECT_TRUE(Learner::Entry(m, "撤销 (Ctrl+Z)").enabled);
         for (int undo = 0; undo < 3; ++undo) Learner::Press(m, "Ctrl+Z");
         EXPECT_EQ(Learner::Entry(m, "撤销 (Ctrl+Z)").caption,
                   "撤销 (Ctrl+Z)（本局没有可撤销的答案）");
         EXPECT_EQ(Learner::ShownCells(m), match::kCells - 4) << "the cleared pairs stay cleared";
       },
       {}},
      {"match: F5 on a cell is Easy in place of the Again of a slip, and counts once",
       [](Learner& l) {
         const kit::Controls m = l.MatchPlay();
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(2)).Click();
         Learner::PressOn(m, "F5", l.CellShowing(m, l.English(1)));
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
         Learner::PressOn(m, "F5", m.ChangeGroupButton());  // no cell in focus: nothing
       },
       {Easy(1), W(2, 0, 1)}},
      {"match: F5 on a word met twice in a round is Easy in place of its Good; Ctrl+Z takes it "
       "back",
       [](Learner& l) {
         const kit::Controls m = MatchGroupZero(l);
         l.CellShowing(m, l.English(1)).Click();
         l.CellShowing(m, l.Chinese(1)).Click();
         l.CellShowing(m, l.English(2)).Click();
         l.CellShowing(m, l.Chinese(2)).Click();
         Learner::PressOn(m, "F5", l.CellShowing(m, l.English(1)));  // the other word1 pair
         EXPECT_EQ(l.Words(), (std::vector<std::string>{Easy(1), W(2, 1, 0)}));
         Learner::PressOn(m, "F5", l.CellShowing(m, l.English(2)));
         Learner::Press(m, "Ctrl+Z");  // the Easy of word2 goes, and with it its Good
       },
       {Easy(1)}},
      {"quiz: F5 on the question is Easy, and its answer counts no more",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(true);
         Learner::Press(q, "F5");
         l.AnswerButton(q, false).Click();
         l.AnswerButton(q).Click();
       },
       {Easy(1)}},
      {"quiz: Ctrl+Z takes back the Again of a wrong answer, and the right one is Good",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(true);
         l.AnswerButton(q, false).Click();
         Learner::Press(q, "Ctrl+Z");
         l.AnswerButton(q).Click();
       },
       {W(1, 1, 0)}},
      {"汉译英: the word is kept English first",
       [](Learner& l) {
         const kit::Controls q = l.QuizPlay(false);
         ASSERT_EQ(q.Question().Caption(), l.Chinese(3)) << "the first question of this deal";
         l.AnswerButton(q).Click();
       },
       {W(3, 1, 0)}},
      {"dictionary: F4 puts the first hit up for review, with no answer",
       [](Learner& l) {
         const kit::Controls d = l.Lookup();
         d.QueryBox().SetText("word3");
         d.LookUpButton().Click();
         l.Press(d, "F4");
       },
       {W(3, 0, 0)}},
      {"dictionary: F5 grades the hit on the line selected in the results Easy",
       [](Learner& l) {
         const kit::Controls d = l.Lookup();
         d.QueryBox().SetText("word1");
         d.LookUpButton().Click();
         l.Press(d, "F5", {{&d.ResultBox(), l.Chinese(12) + "\n"}});
         EXPECT_EQ(Learner::Entry(d, "已记为认识").caption,
                   "已记为认识：" + l.English(12) + " — " + l.Chinese(12));
       },
       {Easy(12)}},
      {"dictionary: F4 takes the hit on the line selected in the results",
       [](Learner& l) {
         const kit::Controls d = l.Lookup();
         d.QueryBox().SetText("word1");
         d.LookUpButton().Click();
         l.Press(d, "F4", {{&d.ResultBox(), l.Chinese(12) + "\n"}});
       },
       {W(12, 0, 0)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Learner learner;
    row.play(learner);
    EXPECT_EQ(learner.Words(), row.words);
  }
}

TEST(Practice, WithRecordingOffNothingIsRecordedAndNoFileOpened) {
  Learner learner;
  EXPECT_TRUE(learner.platform.RecordsProgress()) << "on until the learner turns it off";
  learner.platform.SetRecordsProgress(false);
  const kit::Controls m = learner.MatchPlay();
  learner.CellShowing(m, learner.English(1)).Click();
  learner.CellShowing(m, learner.English(2)).Click();
  // Every entry of the review says so, in the games and in the dictionary.
  const kit::Controls d = learner.Lookup();
  const std::pair<const kit::Controls*, const char*> entries[] = {
      {&m, "复习 (F3)"},   {&m, "提前复习"},      {&m, "撤销 (Ctrl+Z)"},
      {&m, "我认识 (F5)"}, {&d, "加入复习 (F4)"}, {&d, "我认识 (F5)"}};
  for (const auto& [ui, caption] : entries) {
    const ui::Window::MenuEntry entry = Learner::Entry(*ui, caption);
    EXPECT_EQ(entry.caption, std::string(caption) + "（记录学习进度已关闭）");
    EXPECT_FALSE(entry.enabled) << caption;
  }
  // The progress window still opens, on the journal as it stands, and its header says so.
  ui::Window::MenuEntry progress = Learner::Entry(m, "学习记录…");
  ASSERT_TRUE(progress.enabled);
  progress.act({});
  ASSERT_EQ(learner.pages.size(), 1u);
  EXPECT_EQ(learner.pages[0].header, "记录学习进度已关闭");
  EXPECT_TRUE(learner.pages[0].empty);
  EXPECT_FALSE(std::filesystem::exists(learner.JournalFile()));
  // The menu's entry shows the setting and turns it back on.
  ui::Window::MenuEntry record = Learner::Entry(m, "记录学习进度");
  ASSERT_TRUE(record.checkable);
  EXPECT_FALSE(record.checked);
  record.act({});
  EXPECT_TRUE(learner.platform.RecordsProgress());
  EXPECT_TRUE(Learner::Entry(m, "记录学习进度").checked);
}

TEST(Practice, F3DealsTheWordsDueFromAnyScreenAndTheTitleSaysReview) {
  Learner learner;
  {
    // Misses in a first round: word1 and word2 are Again, word3 Good.
    const kit::Controls m = learner.MatchPlay();
    learner.CellShowing(m, learner.English(3)).Click();
    learner.CellShowing(m, learner.Chinese(3)).Click();
    learner.CellShowing(m, learner.English(1)).Click();
    learner.CellShowing(m, learner.English(2)).Click();
    m.ChangeBookButton().Click();
  }
  const kit::Controls m(learner.program.Shell().Find(Mode::Match)->Window());
  learner.platform.now += 60;  // a minute on: the missed words are due, word3 in nine minutes
  EXPECT_EQ(Learner::Entry(m, "复习 (F3)").caption, "复习 (F3)：2 个到期 · 1 个 20 分钟内");
  learner.platform.now += 3600;  // an hour on: all three are
  Learner::Press(m, "F3");
  EXPECT_EQ(m.Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 复习");
  std::vector<std::string> shown;
  for (int b = 0; b < match::kCells; ++b)
    if (!m.Cell(b).Caption().empty()) shown.push_back(m.Cell(b).Caption());
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown,
            (std::vector<std::string>{learner.English(1), learner.English(2), learner.English(3),
                                      learner.Chinese(1), learner.Chinese(2), learner.Chinese(3)}));
  EXPECT_TRUE(m.Clock().Enabled());
  // Its words are recorded with the book they came from, like any round's.
  learner.CellShowing(m, learner.English(1)).Click();
  learner.CellShowing(m, learner.Chinese(1)).Click();
  EXPECT_EQ(learner.Words()[0], W(1, 1, 1));

  // The quiz needs four words to offer four answers: with three it says so and deals nothing.
  const kit::Controls q = learner.Open(Mode::Quiz);
  EXPECT_EQ(Learner::Entry(q, "复习 (F3)").caption,
            "复习 (F3)（至少要有 4 个单词，学习记录中只有 3 个）");
  Learner::Press(q, "F3");
  EXPECT_EQ(q.Window().Caption(), "Kestrin之英汉互译V3.6");
  EXPECT_TRUE(q.BookList().Visible());
  // With a fourth word it asks from the book list, with the journal's words as distractors,
  // and "换组词" goes back to the book list, as no book was loaded.
  const kit::Controls d = learner.Lookup();
  d.QueryBox().SetText(learner.English(9));
  d.LookUpButton().Click();
  Learner::Press(d, "F4");
  EXPECT_EQ(Learner::Entry(d, "已加入复习").caption,
            "已加入复习：" + learner.English(9) + " — " + learner.Chinese(9));
  learner.program.Shell().SwitchMode(*learner.program.Shell().Find(Mode::Dictionary), Mode::Quiz);
  Learner::Press(q, "F3");
  EXPECT_EQ(q.Window().Caption(), "Kestrin之英汉互译V3.6 - 复习");
  EXPECT_TRUE(q.Question().Visible());
  const std::vector<std::string> review = {learner.English(1), learner.English(2),
                                           learner.English(3), learner.English(9)};
  EXPECT_NE(std::find(review.begin(), review.end(), q.Question().Caption()), review.end())
      << q.Question().Caption();
  for (int i = 0; i < quiz::kAnswerButtons; ++i)
    EXPECT_NE(learner.answers.count(q.Answer(i).Caption()), 0u) << "the journal's meanings";
  q.ChangeGroupButton().Click();
  EXPECT_TRUE(q.BookList().Visible());
}

TEST(Practice, AReviewRoundIsTheWordsDueAloneAndEndsWhereF3WasPressed) {
  enum class From { BookList, GroupList, Play };
  struct Row {
    const char* what;
    Mode mode;
    int due;  // the own book's first records, put up for review
    From from;
    From back;
  } rows[] = {
      {"one word on the board, from the book list", Mode::Match, 1, From::BookList, From::BookList},
      {"five words on the board, from the group list", Mode::Match, 5, From::GroupList,
       From::GroupList},
      {"eighteen words, from a round in play: back to its group list", Mode::Match, 18, From::Play,
       From::GroupList},
      {"five questions, from the group list", Mode::Quiz, 5, From::GroupList, From::GroupList},
      {"four questions before any book: the journal's words answer", Mode::Quiz, 4, From::BookList,
       From::BookList},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Learner l;
    l.PutUp(1, row.due);
    const bool match = row.mode == Mode::Match;
    kit::Controls ui = l.Open(row.mode);
    if (row.from == From::Play)
      ui = match ? l.MatchPlay() : l.QuizPlay(true);
    else if (row.from == From::GroupList)
      PlayingProgram::ChooseOwnBook(ui);
    const std::string title = ui.Window().Caption();
    Learner::Press(ui, "F3");
    ASSERT_TRUE(ui.ChangeGroupButton().Visible()) << "in play";
    EXPECT_NE(ui.Window().Caption().find(" - 复习"), std::string::npos) << ui.Window().Caption();
    l.platform.messages.clear();
    if (match) {
      EXPECT_EQ(Learner::ShownCells(ui), 2 * row.due);
      for (int k = 1; k <= row.due; ++k) {
        l.CellShowing(ui, l.English(k)).Click();
        l.CellShowing(ui, l.Chinese(k)).Click();
      }
    } else {
      for (int k = 1; k <= row.due; ++k) l.AnswerButton(ui).Click();
    }
    ASSERT_EQ(l.platform.messages.size(), 1u);
    EXPECT_EQ(l.platform.messages[0].substr(0, l.platform.messages[0].find('\r')),
              "本局共 " + std::to_string(row.due) + " 个单词");
    // The review is over: back where F3 was pressed, with the title it had, no round dealt.
    EXPECT_EQ(ui.Window().Caption(), title);
    EXPECT_EQ(ui.BookList().Visible(), row.back == From::BookList);
    EXPECT_EQ(ui.GroupList().Visible(), row.back == From::GroupList);
    EXPECT_FALSE(ui.ChangeGroupButton().Visible());
    EXPECT_FALSE(ui.Clock().Enabled());
    std::vector<std::string> good;
    for (int k = 1; k <= row.due; ++k) good.push_back(W(k, 1, 0));
    std::sort(good.begin(), good.end());
    EXPECT_EQ(l.Words(), good);
    // A faultless review is no best time.
    l.platform.messages.clear();
    EXPECT_TRUE(kit::Ends([&] { ui.Window().Close(); }));
    EXPECT_NE(l.platform.messages.at(0).find("无最好成绩"), std::string::npos);
  }
}

TEST(Practice, WithNothingDueF3AndItsEntrySayWhenAndAReviewAheadDealsTheSoonest) {
  Learner learner;
  std::int64_t due = 0;
  {
    // Answered Good twice, ten minutes apart: in review, due days later.
    progress::Journal journal(learner.JournalFile());
    const std::int64_t then = learner.platform.now;
    for (const std::int64_t at : {then, then + 600})
      ASSERT_TRUE(journal.Record(learner.English(2), learner.Chinese(2), books::kOwnBookLabel,
                                 progress::Grade::Good, progress::Mode::Match, at));
    due = journal.List(progress::Listing::All, then).at(0).card.due;
  }
  learner.platform.now = due - 8 * 60;
  const kit::Controls m = learner.MatchPlay();
  const std::string title = m.Window().Caption();
  EXPECT_EQ(Learner::Entry(m, "复习 (F3)").caption,
            "复习 (F3)：现在没有到期的单词，下一个 8 分钟后");
  EXPECT_FALSE(Learner::Entry(m, "复习 (F3)").enabled);
  Learner::Press(m, "F3");
  EXPECT_EQ(learner.platform.messages,
            std::vector<std::string>{"现在没有到期的单词，下一个 8 分钟后"});
  EXPECT_EQ(m.Window().Caption(), title) << "the round in play goes on";
  EXPECT_TRUE(m.Clock().Enabled());
  EXPECT_EQ(Learner::ShownCells(m), match::kCells);

  ui::Window::MenuEntry ahead = Learner::Entry(m, "提前复习");
  ASSERT_TRUE(ahead.enabled) << ahead.caption;
  ahead.act({});
  EXPECT_EQ(m.Window().Caption(), "Kestrin之连连看V3.6 - 《My词库》 - 提前复习");
  EXPECT_EQ(Learner::ShownCells(m), 2);
  // Something due: the entry counts it, and 提前复习 waits for it to be reviewed first.
  learner.PutUp(3, 3);
  EXPECT_EQ(Learner::Entry(m, "复习 (F3)").caption, "复习 (F3)：1 个到期");
  EXPECT_EQ(Learner::Entry(m, "提前复习").caption, "提前复习（还有到期的单词，按 F3 复习）");
  EXPECT_FALSE(Learner::Entry(m, "提前复习").enabled);
}

TEST(Practice, TheWaitUntilTheNextWordIsSaidInMinutesHoursOrDays) {
  const std::pair<std::int64_t, const char*> rows[] = {
      {1, "1 分钟后"},
      {60, "1 分钟后"},
      {61, "2 分钟后"},
      {8 * 60, "8 分钟后"},
      {3599, "60 分钟后"},
      {3600, "1 小时后"},
      {5 * 3600 + 1799, "5 小时后"},
      {5 * 3600 + 1800, "6 小时后"},
      {86400, "1 天后"},
      {3 * 86400 + 43199, "3 天后"},
  };
  for (const auto& [seconds, text] : rows) EXPECT_EQ(shell::WhenText(seconds), text) << seconds;
}

TEST(Practice, AReviewThatCannotBeAskedLeavesTheWindowAsItWasAndTheMenuSaysWhy) {
  Learner learner;
  {
    // Four words of two meanings: no question of theirs has three different wrong answers.
    progress::Journal journal(learner.JournalFile());
    for (const char* english : {"a1", "a2"})
      ASSERT_TRUE(journal.Add(english, "甲", "", learner.platform.now));
    for (const char* english : {"b1", "b2"})
      ASSERT_TRUE(journal.Add(english, "乙", "", learner.platform.now));
  }
  const kit::Controls q = learner.Open(Mode::Quiz);
  EXPECT_TRUE(Learner::Entry(q, "复习 (F3)").enabled) << "the journal holds four words";
  Learner::Press(q, "F3");
  EXPECT_TRUE(q.BookList().Visible());
  EXPECT_EQ(q.Window().Caption(), "Kestrin之英汉互译V3.6");
  EXPECT_TRUE(learner.platform.messages.empty());
  EXPECT_EQ(Learner::Entry(q, "不能复习").caption,
            "不能复习：学习记录中的单词不够凑出四个不同的答案");

  // A book of the same two meanings, in play: its round goes on as it was.
  std::vector<kit::Record> book;
  for (int i = 1; i <= 18; ++i) book.emplace_back(learner.English(i), i % 2 ? "甲" : "乙");
  kit::WriteOwnBook(learner.dir.Path(), book);
  const kit::Controls p = learner.QuizPlay(true);
  for (int t = 0; t < 10; ++t) p.Clock().Tick();
  const std::string question = p.Question().Caption();
  const int top = p.Question().Top();
  const std::string title = p.Window().Caption();
  Learner::Press(p, "F3");
  EXPECT_EQ(p.Window().Caption(), title);
  EXPECT_EQ(p.Question().Caption(), question);
  EXPECT_EQ(p.Question().Top(), top);
  EXPECT_TRUE(p.Clock().Enabled());
  EXPECT_EQ(Learner::Entry(p, "不能复习").caption, "不能复习：这本书的单词不够凑出四个不同的答案");
  // A review that can be asked clears the line.
  learner.program.Shell().SwitchMode(*learner.program.Shell().Find(Mode::Quiz), Mode::Match);
  const kit::Controls m(learner.program.Shell().Find(Mode::Match)->Window());
  Learner::Press(m, "F3");
  EXPECT_EQ(Learner::ShownCells(m), 8);
  EXPECT_EQ(Learner::Entry(m, "不能复习").caption, "");
}

TEST(Practice, TheProgressWindowOverARoundInPlayHoldsItsClockUntilItIsClosed) {
  struct Row {
    const char* what;
    std::function<kit::Controls(Learner&)> open;
    bool held;
  } rows[] = {
      {"the match game in play", [](Learner& l) { return l.MatchPlay(); }, true},
      {"the match game's group list",
       [](Learner& l) {
         kit::Controls m = l.Open(Mode::Match);
         PlayingProgram::ChooseOwnBook(m);
         return m;
       },
       false},
      {"the dictionary", [](Learner& l) { return l.Lookup(); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Learner learner;
    learner.PutUp(1, 1);
    const kit::Controls ui = row.open(learner);
    ui::Window::MenuEntry progress = Learner::Entry(ui, "学习记录…");
    ASSERT_TRUE(progress.enabled);
    const bool running = ui.Window().Find("clock") && ui.Clock().Enabled();
    progress.act({});
    ASSERT_EQ(learner.pages.size(), 1u);
    EXPECT_EQ(learner.pages[0].title, "学习记录");
    EXPECT_EQ(learner.pages[0].header, "") << "recording is on";
    EXPECT_EQ(static_cast<bool>(learner.close_progress), row.held);
    if (!row.held) continue;
    EXPECT_TRUE(running);
    EXPECT_FALSE(ui.Clock().Enabled()) << "the round waits for the window";
    learner.close_progress();
    EXPECT_TRUE(ui.Clock().Enabled());
  }
}

TEST(Practice, AWordPutUpWithF4ComesInTheNextReviewHoweverManyAreDue) {
  Learner learner;
  {
    // Thirty words missed an hour ago, all due since.
    progress::Journal journal(learner.JournalFile());
    for (int k = 1; k <= 30; ++k)
      ASSERT_TRUE(journal.Record(kit::Numbered("x", k), kit::Numbered("叉", k), "",
                                 progress::Grade::Again, progress::Mode::Match,
                                 learner.platform.now - 3600));
  }
  const kit::Controls d = learner.Lookup();
  d.QueryBox().SetText(learner.English(5));
  d.LookUpButton().Click();
  Learner::Press(d, "F4");
  learner.program.Shell().SwitchMode(*learner.program.Shell().Find(Mode::Dictionary), Mode::Match);
  const kit::Controls m(learner.program.Shell().Find(Mode::Match)->Window());
  EXPECT_EQ(Learner::Entry(m, "复习 (F3)").caption, "复习 (F3)：31 个到期");
  Learner::Press(m, "F3");
  EXPECT_EQ(Learner::ShownCells(m), match::kCells) << "a round's worth of the 31";
  EXPECT_TRUE(learner.CellShowing(m, learner.English(5)).Visible());
  EXPECT_TRUE(learner.CellShowing(m, learner.Chinese(5)).Visible());
}

TEST(Practice, TheProgressWindowListsTheBooksPractisedAgainstWhatEachHolds) {
  Learner learner;
  {
    progress::Journal journal(learner.JournalFile());
    const std::int64_t now = learner.platform.now;
    const auto record = [&](const std::string& english, std::string_view book) {
      ASSERT_TRUE(
          journal.Record(english, "义", book, progress::Grade::Good, progress::Mode::Quiz, now));
    };
    record("a", "《初中英语》(第一册)(304)");
    record("b", "《初中英语》(第一册)(304)");
    record("c", books::kOwnBookLabel);
    record("d", "");  // a word from no book
  }
  const kit::Controls m = learner.MatchPlay();
  Learner::Entry(m, "学习记录…").act({});
  ASSERT_EQ(learner.pages.size(), 1u);
  ASSERT_EQ(learner.pages[0].lists.size(), 2u);
  std::vector<std::string> books;
  for (const progresspage::Row& row : learner.pages[0].lists[1].rows) books.push_back(row.cells[0]);
  std::sort(books.begin(), books.end());
  // The own book holds the 18 words of its file; a catalogue book what the catalogue says.
  EXPECT_EQ(books, (std::vector<std::string>{"《My词库》：已学 0 / 18",
                                             "《初中英语》(第一册)(304)：已学 0 / 304"}));
}

TEST(Practice, AJournalThatCannotBeWrittenLeavesPlayAloneAndTheMenuSaysWhy) {
  Learner learner;
  // A file where the learner's data folder should be: no journal can be made there, for root
  // too.
  kit::WriteFile(learner.data.Path() / "file", "not a folder");
  learner.platform.user_data_directory = (learner.data.Path() / "file").string();
  const kit::Controls m = learner.MatchPlay();
  learner.CellShowing(m, learner.English(1)).Click();
  learner.CellShowing(m, learner.Chinese(1)).Click();
  EXPECT_TRUE(learner.platform.messages.empty()) << "no message during play";
  EXPECT_FALSE(m.Cell(0).Visible()) << "the pair left the board all the same";
  const ui::Window::MenuEntry review = Learner::Entry(m, "复习 (F3)");
  EXPECT_FALSE(review.enabled);
  EXPECT_NE(review.caption.find("不能记录学习进度"), std::string::npos) << review.caption;
  EXPECT_NE(Learner::Entry(m, "不能记录学习进度").caption, "") << "a line of its own says why";
}

}  // namespace
