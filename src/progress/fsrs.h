// FSRS-6 scheduling, computed exactly as the reference ts-fsrs 5 computes it with its default
// parameters: the 21 published weights, desired retention 0.9, learning steps of 1 and 10
// minutes, a relearning step of 10 minutes, short-term stability on, no fuzz and a longest
// interval of 36500 days. Times are Unix seconds, UTC.
#pragma once

#include <cstdint>
#include <optional>

namespace progress {

// The answers a learner gives; the games give Again and Good.
enum class Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// A word's place in the schedule, numbered as ts-fsrs numbers it (the journal stores these).
enum class CardState { New = 0, Learning = 1, Review = 2, Relearning = 3 };

// What the scheduler knows of a word. A new word has stability and difficulty 0.
struct Card {
  std::int64_t due = 0;
  std::optional<std::int64_t> last_review;  // none before the first answer
  double stability = 0;                     // days for recall to fall to 90 %
  double difficulty = 0;                    // 1 to 10
  CardState state = CardState::New;
  int reps = 0;            // answers given
  int lapses = 0;          // Again answers given while in review
  int learning_steps = 0;  // the learning or relearning step the word has reached
};

// A word never answered, due at `now`.
Card NewCard(std::int64_t now);

// The card after the answer `grade` given at `now`. Elapsed time counts in UTC calendar days,
// as ts-fsrs counts it; a `now` before the last review (a clock set back) counts as the same
// day, where ts-fsrs would refuse the answer.
Card Schedule(const Card& card, Grade grade, std::int64_t now);

}  // namespace progress
