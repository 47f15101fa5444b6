// How the learner did on the words of a game's round, told once per word, and whether the
// learner is there at all. The two games keep their rules of what counts (a pair cleared, a
// wrong pick, an answer); what the clock does on its own (a time that runs out, a question
// that falls) grades a word only while the learner is playing: a cell pressed or an answer
// given in the last 30 seconds of play.
#pragma once

#include <optional>
#include <vector>

#include "books/word_book.h"

namespace shell {

// How long a press or an answer keeps the learner playing, in ticks of the round clock.
inline constexpr int kPlayingTicks = 300;

// What a round holds: a group's places (books::kGroupSize), the empty ones of a short group
// too; or its words alone, as a review round does.
enum class RoundSize { Group, Words };

class Tally {
 public:
  struct Outcome {
    books::Word word;
    bool good;
  };

  // A new round, of new words or the same ones again: every word may be told again, and the
  // learner has not pressed or answered in it yet (a report or a time-out between two rounds
  // is a pause, which the learner may have left the game in).
  void NewRound();
  // The next question of the same round: its word may be told again.
  void NextQuestion() { told_.clear(); }
  // Counts the rounds begun, so that what keeps a round's answers knows when one is over.
  int Rounds() const { return rounds_; }

  // One tick of play.
  void Tick() { ++ticks_; }
  // The learner pressed a cell or gave an answer.
  void Acted() { last_act_ = ticks_; }
  // Whether the learner pressed or answered in this round within the last kPlayingTicks of
  // play.
  bool Playing() const { return last_act_ && ticks_ - *last_act_ <= kPlayingTicks; }

  // The learner's own outcome for `word`, unless it was told already. An empty word (an empty
  // pair or slot of a short group) is no word.
  void Tell(const books::Word& word, bool good);
  // The clock missed `word` (the time ran out with it on the board, its question fell): Again
  // while the learner is playing, otherwise nothing.
  void TellMissed(const books::Word& word);
  // Counts `word` as told without an outcome (the learner gave a grade of their own). False
  // for an empty word, or one told already.
  bool Claim(const books::Word& word);
  // Forgets that `word` was told: its answer was taken back, and it may be told again.
  void Untell(const books::Word& word);

  // The outcomes since the last call.
  std::vector<Outcome> TakeOutcomes();

 private:
  bool Told(const books::Word& word) const;

  std::vector<books::Word> told_;
  std::vector<Outcome> outcomes_;  // not taken yet
  int ticks_ = 0;
  std::optional<int> last_act_;
  int rounds_ = 0;
};

}  // namespace shell
