// The progress window, "学习记录": the learner's journal at a glance, as the journal computed
// it (progress::Overview). Four figures (words practised, due now, due within 7 days,
// learned), the share of Good answers over the last 30 days, a bar chart of reviews per day
// over the last 30 days and one of words due per day over the next 30, and the words missed
// most with their meanings; F2 (or Enter, or a double click) says the selected one. An empty
// journal shows a hint instead. The window is modeless: it never holds up the game windows;
// Esc or the title bar closes (hides) it.
#pragma once

#include <QDate>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "progress/overview.h"

class QAction;
class QLabel;
class QStackedLayout;
class QTreeWidget;

namespace qtbind {
class QtPlatform;
}  // namespace qtbind

namespace qtprogress {

class BarChart;

class ProgressWindow : public QWidget {
 public:
  // Says an English word (the caller routes it to the program's speech); may be empty.
  using SpeakFunction = std::function<void(const std::string& text)>;

  // A top-level window, hidden until shown; a `parent` owns it (and window managers keep it
  // above that window).
  explicit ProgressWindow(SpeakFunction speak, QWidget* parent = nullptr);

  // Shows `overview` as it stood on `today`, the day the charts count from.
  void SetOverview(const progress::Overview& overview, QDate today = QDate::currentDate());
  // Shows `overview` and brings the window to the front, shown if it was closed.
  void Open(const progress::Overview& overview);

 private:
  // Says the English word of the missed list's selected row, if there is one.
  void SpeakCurrentWord();

  SpeakFunction speak_;
  QStackedLayout* pages_;  // the overview, or the empty journal's hint
  QWidget* overview_page_;
  QLabel* empty_hint_;
  std::vector<QLabel*> figures_;  // practised, due now, due within 7 days, learned
  QLabel* good_share_;
  BarChart* reviews_chart_;
  BarChart* due_chart_;
  QTreeWidget* missed_list_;
  QLabel* no_misses_;
  QAction* speak_action_;
  std::vector<std::string> missed_words_;  // the English of each row of missed_list_
};

// Shows each overview in one progress window, made the first time; F2 in it says the chosen
// word through `platform`'s speech. The window lives as long as the function.
std::function<void(const progress::Overview&)> ProgressWindowShower(qtbind::QtPlatform& platform);

}  // namespace qtprogress
