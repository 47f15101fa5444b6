#include "progress/fsrs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

// Every step follows ts-fsrs 5 (BasicScheduler with BasicLearningStepsStrategy, FSRSAlgorithm):
// the same formulas in the same order of operations, the same rounding to 8 decimals after
// each, and JavaScript's Math.round, so that the results agree to the last digit it keeps.
namespace progress {
namespace {

constexpr std::array<double, 21> kWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
constexpr double kRetention = 0.9;
constexpr int kMaximumInterval = 36500;  // days
constexpr double kMinimumStability = 0.001;
constexpr double kMaximumStability = 36500;
constexpr std::array<int, 2> kLearningSteps = {1, 10};  // minutes
constexpr std::array<int, 1> kRelearningSteps = {10};   // minutes
constexpr int kMinutesPerDay = 1440;
constexpr std::int64_t kSecondsPerDay = 86400;

// JavaScript's Math.round: the nearest integer, halves upwards.
double RoundHalfUp(double value) {
  double floor = std::floor(value);
  return value - floor >= 0.5 ? floor + 1 : floor;
}

double RoundTo8(double value) {
  return RoundHalfUp(value * 1e8) / 1e8;
}

double Clamp(double value, double low, double high) {
  return std::min(std::max(value, low), high);
}

const double kDecay = -kWeights[20];
const double kFactor = RoundTo8(std::exp(std::pow(kDecay, -1) * std::log(0.9)) - 1);
const double kIntervalModifier = RoundTo8((std::pow(kRetention, 1 / kDecay) - 1) / kFactor);

double ForgettingCurve(double elapsed_days, double stability) {
  return RoundTo8(std::pow(1 + kFactor * elapsed_days / stability, kDecay));
}

double InitialStability(Grade grade) {
  return std::max(kWeights[static_cast<int>(grade) - 1], 0.1);
}

double InitialDifficulty(int grade) {
  return RoundTo8(kWeights[4] - std::exp((grade - 1) * kWeights[5]) + 1);
}

double NextDifficulty(double difficulty, Grade grade) {
  double delta = -kWeights[6] * (static_cast<int>(grade) - 3);
  double damped = difficulty + RoundTo8(delta * (10 - difficulty) / 9);
  double reverted = RoundTo8(kWeights[7] * InitialDifficulty(4) + (1 - kWeights[7]) * damped);
  return Clamp(reverted, 1, 10);
}

double RecallStability(double d, double s, double r, Grade grade) {
  double hard_penalty = grade == Grade::Hard ? kWeights[15] : 1;
  double easy_bonus = grade == Grade::Easy ? kWeights[16] : 1;
  return RoundTo8(
      Clamp(s * (1 + std::exp(kWeights[8]) * (11 - d) * std::pow(s, -kWeights[9]) *
                         (std::exp((1 - r) * kWeights[10]) - 1) * hard_penalty * easy_bonus),
            kMinimumStability, kMaximumStability));
}

double ForgetStability(double d, double s, double r) {
  return RoundTo8(Clamp(kWeights[11] * std::pow(d, -kWeights[12]) *
                            (std::pow(s + 1, kWeights[13]) - 1) * std::exp((1 - r) * kWeights[14]),
                        kMinimumStability, kMaximumStability));
}

double ShortTermStability(double s, Grade grade) {
  int g = static_cast<int>(grade);
  double increase = std::pow(s, -kWeights[19]) * std::exp(kWeights[17] * (g - 3 + kWeights[18]));
  if (grade >= Grade::Hard) increase = std::max(increase, 1.0);
  return RoundTo8(Clamp(s * increase, kMinimumStability, kMaximumStability));
}

struct Memory {
  double stability;
  double difficulty;
};

// The memory after `grade`, `elapsed_days` after the last answer; `r` is the recall
// probability when the caller has it.
Memory NextMemory(const Card& card, std::int64_t elapsed_days, Grade grade,
                  std::optional<double> r = std::nullopt) {
  double d = card.difficulty, s = card.stability;
  // A new word; also a stored memory ts-fsrs would refuse (damaged numbers start afresh).
  if ((d == 0 && s == 0) || !(d >= 1) || !(s >= kMinimumStability))
    return {InitialStability(grade), Clamp(InitialDifficulty(static_cast<int>(grade)), 1, 10)};
  double t = static_cast<double>(elapsed_days);
  double next_s;
  if (elapsed_days == 0)
    next_s = ShortTermStability(s, grade);
  else if (grade == Grade::Again)
    next_s =
        std::min(std::max(RoundTo8(s / std::exp(kWeights[17] * kWeights[18])), kMinimumStability),
                 ForgetStability(d, s, r.value_or(ForgettingCurve(t, s))));
  else
    next_s = RecallStability(d, s, r.value_or(ForgettingCurve(t, s)), grade);
  return {next_s, NextDifficulty(d, grade)};
}

int NextInterval(double stability) {
  double days = std::max(1.0, RoundHalfUp(stability * kIntervalModifier));
  return static_cast<int>(std::min(days, static_cast<double>(kMaximumInterval)));
}

struct Step {
  int minutes = 0;  // 0: no step, the word graduates to review
  int next_step = 0;
};

// The learning or relearning step `grade` leads to from step `step` of a word in `state`.
Step LearningStep(CardState state, int step, Grade grade) {
  bool relearning = state == CardState::Relearning || state == CardState::Review;
  const int* steps = relearning ? kRelearningSteps.data() : kLearningSteps.data();
  int count = relearning ? static_cast<int>(kRelearningSteps.size())
                         : static_cast<int>(kLearningSteps.size());
  step = std::max(step, 0);
  if (step >= count) return {};
  if (state == CardState::Review) return grade == Grade::Again ? Step{steps[step], 0} : Step{};
  switch (grade) {
    case Grade::Again:
      return {steps[0], 0};
    case Grade::Hard:
      return {count == 1 ? static_cast<int>(RoundHalfUp(steps[0] * 1.5))
                         : static_cast<int>(RoundHalfUp((steps[0] + steps[1]) / 2.0)),
              step};
    case Grade::Good:
      return step + 1 < count ? Step{steps[step + 1], step + 1} : Step{};
    case Grade::Easy:
      break;
  }
  return {};
}

// Moves `next` to its next step, or graduates it to review, as the answer `grade` to `card`
// decides; `stepping_state` is the state it keeps while stepping.
void ApplyLearningSteps(Card& next, const Card& card, Grade grade, CardState stepping_state,
                        std::int64_t now) {
  Step step = LearningStep(card.state, card.learning_steps, grade);
  if (step.minutes > 0 && step.minutes < kMinutesPerDay) {
    next.learning_steps = step.next_step;
    next.state = stepping_state;
    next.due = now + std::int64_t{step.minutes} * 60;
    return;
  }
  next.state = CardState::Review;
  if (step.minutes >= kMinutesPerDay) {
    next.learning_steps = step.next_step;
    next.due = now + std::int64_t{step.minutes} * 60;
  } else {
    next.learning_steps = 0;
    next.due = now + NextInterval(next.stability) * kSecondsPerDay;
  }
}

std::int64_t DayNumber(std::int64_t time) {
  return time / kSecondsPerDay - (time % kSecondsPerDay < 0 ? 1 : 0);
}

}  // namespace

Card NewCard(std::int64_t now) {
  Card card;
  card.due = now;
  return card;
}

Card Schedule(const Card& card, Grade grade, std::int64_t now) {
  std::int64_t elapsed_days = 0;
  if (card.state != CardState::New && card.last_review)
    elapsed_days = std::max<std::int64_t>(0, DayNumber(now) - DayNumber(*card.last_review));
  Card next = card;
  next.last_review = now;
  next.reps += 1;
  if (card.state != CardState::Review) {
    Memory memory = NextMemory(card, elapsed_days, grade);
    next.stability = memory.stability;
    next.difficulty = memory.difficulty;
    CardState stepping = card.state == CardState::New ? CardState::Learning : card.state;
    ApplyLearningSteps(next, card, grade, stepping, now);
    return next;
  }
  double r = ForgettingCurve(static_cast<double>(elapsed_days), card.stability);
  if (grade == Grade::Again) {
    Memory memory = NextMemory(card, elapsed_days, grade, r);
    next.stability = memory.stability;
    next.difficulty = memory.difficulty;
    ApplyLearningSteps(next, card, grade, CardState::Relearning, now);
    next.lapses += 1;
    return next;
  }
  // Hard, Good and Easy are each at least a day apart, so all three are worked out.
  Memory hard = NextMemory(card, elapsed_days, Grade::Hard, r);
  Memory good = NextMemory(card, elapsed_days, Grade::Good, r);
  int hard_interval = std::min(NextInterval(hard.stability), NextInterval(good.stability));
  int good_interval = std::max(NextInterval(good.stability), hard_interval + 1);
  Memory chosen = hard;
  int interval = hard_interval;
  if (grade == Grade::Good) {
    chosen = good;
    interval = good_interval;
  } else if (grade == Grade::Easy) {
    chosen = NextMemory(card, elapsed_days, Grade::Easy, r);
    interval = std::max(NextInterval(chosen.stability), good_interval + 1);
  }
  next.stability = chosen.stability;
  next.difficulty = chosen.difficulty;
  next.state = CardState::Review;
  next.learning_steps = 0;
  next.due = now + interval * kSecondsPerDay;
  return next;
}

}  // namespace progress
