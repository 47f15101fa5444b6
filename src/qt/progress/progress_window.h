// The progress window, "学习记录": the learner's journal at a glance, drawn from its
// description (progresspage::Page): a header line when there is one, the figures in a row,
// the share of Good answers, the charts of reviews per day behind and words due per day
// ahead, and the lists (the words missed most first) with F2 (or Enter, or a double click)
// saying the selected word. An empty journal shows a hint instead. The window is modeless and
// never holds up the game windows, except when it is opened over a round in play, which waits
// for it as it waits under a message: then it holds the program until it is closed. Esc or
// the title bar closes (hides) it.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "progress/page/page.h"

class QAction;
class QLabel;
class QBoxLayout;
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

  // Shows `page`.
  void SetPage(const progresspage::Page& page);
  // Shows `page` and brings the window to the front, shown if it was closed. With `closed`,
  // the window holds the program until it is closed, and `closed` runs then.
  void Open(const progresspage::Page& page, std::function<void()> closed = nullptr);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  struct ChartView {
    QLabel* heading;
    BarChart* chart;
  };
  struct ListView {
    QLabel* heading;
    QTreeWidget* tree;
    QLabel* empty;                    // shown instead of an empty list
    std::vector<std::string> spoken;  // what F2 says for each row
  };
  void MakeActions();
  // The parts for the page's figures, charts and lists, made the first time they are needed.
  QLabel* FigureLabel(std::size_t i);
  ChartView& Chart(std::size_t i);
  ListView& List(std::size_t i);
  void ShowFigures(const std::vector<progresspage::Figure>& figures);
  void ShowCharts(const std::vector<progresspage::Chart>& charts);
  void ShowLists(const std::vector<progresspage::List>& lists);
  // Says the word of the selected row of the list in focus (else the first list), if any.
  void SpeakCurrentWord();

  SpeakFunction speak_;
  QLabel* header_;
  QStackedLayout* pages_;  // the overview, or the empty journal's hint
  QWidget* overview_page_;
  QLabel* empty_hint_;
  QBoxLayout* figure_row_;
  QLabel* good_share_;
  QBoxLayout* left_;   // the figures, the share and the charts
  QBoxLayout* right_;  // the lists
  std::vector<QLabel*> figures_;
  std::vector<ChartView> charts_;
  std::vector<ListView> lists_;
  QAction* speak_action_;
  std::function<void()> closed_;  // what runs when the window is closed, if anything
};

// Shows each page in one progress window, made the first time; F2 in it says the chosen word
// through `platform`'s speech, and what runs once it is closed runs as the program's events
// do. The window lives as long as the function.
std::function<void(const progresspage::Page&, std::function<void()>)> ProgressWindowShower(
    qtbind::QtPlatform& platform);

}  // namespace qtprogress
