// The learner's progress at a glance, as the progress window shows it: counts of words, the
// share of Good answers, reviews per day behind and words due per day ahead, and the words
// missed most. Plain data, computed by the journal in one go.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace progress {

inline constexpr int kChartDays = 30;        // days in each of the two charts
inline constexpr int kMostMissedCount = 20;  // words in the most-missed list
inline constexpr double kLearnedStabilityDays = 21;

struct MissedWord {
  std::string english;
  std::string chinese;
  int misses = 0;  // Again answers, all time
};

// A book the learner practised: the journal's words last practised from it, and how many of
// them are learned. The book's own count is the catalogue's (books::), which the window finds
// by the label: "《初中英语》(第一册)(304)：已学 36 / 304".
struct BookProgress {
  std::string book;  // its label, as the book list shows it
  int words = 0;
  int learned = 0;  // stability of kLearnedStabilityDays days or more
};

struct Overview {
  int practised = 0;  // words in the journal
  int due_now = 0;    // due at or before now: what a review round takes now
  // Due by the end of the local day, overdue words included: the due chart's first bar,
  // due_per_day[0]. The window's figure of what is due counts this too ("今天到期"), so that
  // the figure and the bar beside it never differ.
  int due_today = 0;
  int due_within_week = 0;       // due at or before now + 7 days (those due now included)
  int learned = 0;               // stability of kLearnedStabilityDays days or more
  int good_last_30_days = 0;     // Good answers over the last 30 days
  int reviews_last_30_days = 0;  // all answers over the last 30 days
  // Answers per local calendar day: [kChartDays - 1] is today, [0] is 29 days ago.
  std::array<int, kChartDays> reviews_per_day{};
  // Words falling due per local calendar day: [0] is today (overdue words included), [1]
  // tomorrow, and so on.
  std::array<int, kChartDays> due_per_day{};
  // Up to kMostMissedCount words, most misses first; words never missed are left out.
  std::vector<MissedWord> most_missed;
  // The books practised, the one practised last first.
  std::vector<BookProgress> books;
};

}  // namespace progress
