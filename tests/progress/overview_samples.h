// Overviews for the tests of the progress window and of its description: a learner some weeks
// in, on 8 December 2026.
#pragma once

#include "progress/page/page.h"

namespace overview_samples {

inline constexpr progresspage::Day kToday{2026, 12, 8};

inline progress::Overview Sample() {
  progress::Overview overview;
  overview.practised = 486;
  overview.due_now = 21;
  overview.due_today = 23;
  overview.due_within_week = 118;
  overview.learned = 137;
  overview.good_last_30_days = 350;
  overview.reviews_last_30_days = 412;
  overview.reviews_per_day[0] = 5;  // 29 days ago
  overview.reviews_per_day[29] = 3;
  overview.due_per_day[0] = 23;
  overview.due_per_day[7] = 40;
  overview.most_missed = {
      {"enormous", "巨大的", 7}, {"take into account", "考虑到", 4}, {"refrain", "克制，抑制", 2}};
  return overview;
}

}  // namespace overview_samples
