// vantle-progress-picture OUT.png: draws the progress window ("学习记录") with a sample
// journal's overview into OUT.png, for the README (scripts/screenshots.sh calls it). The
// window is drawn offscreen unless QT_QPA_PLATFORM says otherwise, at the scale
// QT_SCALE_FACTOR asks for, on a fixed day, so the picture comes out the same every time.
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "qt/progress/progress_window.h"

namespace {

// A learner some weeks in: most days played, a few missed, the words of the last rounds
// coming back soon.
progress::Overview SampleOverview() {
  progress::Overview overview;
  overview.practised = 486;
  overview.due_now = 21;
  overview.due_today = 23;  // the due chart's first bar
  overview.due_within_week = 118;
  overview.learned = 137;
  overview.reviews_per_day = {12, 0,  25, 31, 18, 0, 0,  40, 36, 22, 28, 19, 0,  0,  54,
                              47, 33, 29, 38, 12, 0, 61, 44, 39, 27, 35, 0,  18, 42, 30};
  overview.due_per_day = {23, 17, 12, 20, 9, 14, 23, 8, 11, 6, 9, 4, 7, 12, 5,
                          3,  6,  8,  2,  5, 9,  4,  3, 1,  6, 2, 0, 4, 3,  5};
  int reviews = 0;
  for (int day : overview.reviews_per_day) reviews += day;
  overview.reviews_last_30_days = reviews;
  overview.good_last_30_days = reviews * 81 / 100;
  overview.most_missed = {
      {"enormous", "巨大的，庞大的", 7},      {"ambiguous", "模棱两可的；含糊不清的", 6},
      {"conscientious", "认真的，尽责的", 6}, {"deteriorate", "恶化，变坏", 5},
      {"discrepancy", "差异，不符", 5},       {"reluctant", "不情愿的，勉强的", 5},
      {"take into account", "考虑到", 4},     {"vulnerable", "易受伤害的；脆弱的", 4},
      {"subsidy", "补贴，津贴", 4},           {"inevitable", "不可避免的", 4},
      {"hypothesis", "假设，假说", 3},        {"refrain", "克制，抑制", 3},
      {"prominent", "突出的；显要的", 3},     {"compatible", "兼容的；能和睦相处的", 3},
      {"consecutive", "连续的", 3},           {"elaborate", "精心制作的；详尽的", 2},
      {"catch sight of", "看见", 2},          {"substantial", "大量的；实质的", 2},
      {"tentative", "试探性的；暂定的", 2},   {"versatile", "多才多艺的；多用途的", 2},
  };
  return overview;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantle-progress-picture OUT.png\n");
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QApplication app(qt_argc, argv);
  qtprogress::ProgressWindow window(nullptr);
  progresspage::Facts facts;
  facts.today = {2026, 5, 20};
  facts.books = {{"《大学英语1-4级词汇》(上)(2303)", 118, 2303}, {"《My词库》", 9, 42}};
  window.SetPage(progresspage::Describe(SampleOverview(), facts));
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "vantle-progress-picture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
