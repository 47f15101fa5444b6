#include "qt/progress/progress_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

#include "qt/faces.h"
#include "qt/progress/bar_chart.h"
#include "qt/qt_platform.h"
#include "text/text.h"

namespace qtprogress {

namespace {

constexpr double kTextPoints = 10.5;       // the window's text, a little larger than the games'
constexpr double kFigurePoints = 20.0;     // the four figures
constexpr double kHintPoints = 12.0;       // the empty journal's hint
constexpr int kMargin = 16;                // around the window's content and between its columns
constexpr std::size_t kLongestCell = 200;  // characters of a word or meaning shown in the list
const QColor kReviewColour(70, 120, 190);  // reviews done: blue
const QColor kDueColour(225, 145, 45);     // words coming due: amber

// The four figures, left to right: their widgets' names, captions and what they mean.
struct Figure {
  const char* id;
  const char* caption;
  const char* meaning;  // its tooltip and accessible description; "" for none
};
constexpr Figure kFigures[] = {
    {"practised", "练过的单词", ""},
    {"due_now", "现在到期", "在连连看或英汉互译的窗口按 F3 复习到期的单词"},
    {"due_within_week", "7 天内到期", "现在到期的单词也算在内"},
    {"learned", "已掌握", "记忆稳定期达到 21 天或更长的单词"},
};
static_assert(progress::kLearnedStabilityDays == 21, "已掌握's meaning names the days");

// The window and its charts as assistive technology should see them: a frame named by its
// title, and charts (Qt would make both bare widgets, which screen readers pass over).
QAccessibleInterface* Interfaces(const QString&, QObject* object) {
  if (auto* window = dynamic_cast<ProgressWindow*>(object))
    return new QAccessibleWidget(window, QAccessible::Window);
  if (auto* chart = dynamic_cast<BarChart*>(object))
    return new QAccessibleWidget(chart, QAccessible::Chart);
  return nullptr;
}

void InstallAccessibility() {
  static const bool kInstalled = [] {
    QAccessible::installFactory(Interfaces);
    return true;
  }();
  (void)kInstalled;
}

// The missed list's rows, with air above and below the text.
class RoomyRows : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 6);
  }
};

QFont TextFont(double points, bool bold = false) {
  ui::Font font;
  font.size = points;
  font.bold = bold;
  return qtbind::ToQFont(font);
}

QLabel* Heading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(TextFont(kTextPoints, true));
  return label;
}

// A journal's word or meaning for one line of the list: cut to a sane length, on one line.
QString Cell(const std::string& utf8) {
  const std::size_t end = text::CharOffset(utf8, kLongestCell);
  QString cell = QString::fromStdString(utf8.substr(0, end)).simplified();
  if (end < utf8.size()) cell += QStringLiteral("…");
  return cell;
}

// A day `offset` days from `today`: 今天, 昨天, 明天, else its month and day.
QString DayName(QDate today, int offset) {
  switch (offset) {
    case 0:
      return QStringLiteral("今天");
    case -1:
      return QStringLiteral("昨天");
    case 1:
      return QStringLiteral("明天");
    default:
      break;
  }
  const QDate day = today.addDays(offset);
  if (!day.isValid())
    return offset < 0 ? QStringLiteral("%1 天前").arg(-offset)
                      : QStringLiteral("%1 天后").arg(offset);
  return QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
}

// One bar per day of `values`, [today_index] being today; every seventh day back and forth
// from today named under the axis.
DayBars Bars(const std::array<int, progress::kChartDays>& values, int today_index, QDate today,
             QString unit, QString empty_note) {
  DayBars bars;
  bars.values.assign(values.begin(), values.end());
  for (int i = 0; i < progress::kChartDays; ++i) {
    bars.days.push_back(DayName(today, i - today_index));
    if ((i - today_index) % 7 == 0) bars.named.push_back(i);
  }
  bars.today = today_index;
  bars.unit = std::move(unit);
  bars.empty_note = std::move(empty_note);
  return bars;
}

// What a chart shows, said in words: the total, the busiest day and today's value.
QString Summary(const DayBars& bars, const QString& total_text) {
  std::int64_t total = 0;
  std::size_t busiest = 0;
  for (std::size_t i = 0; i < bars.values.size(); ++i) {
    total += std::max(0, bars.values[i]);
    if (bars.values[i] > bars.values[busiest]) busiest = i;
  }
  if (total == 0) return bars.empty_note + QStringLiteral("。");
  return total_text.arg(total) + QStringLiteral("；最多的一天是%1，%2 %3；今天 %4 %3。")
                                     .arg(bars.days[busiest])
                                     .arg(bars.values[busiest])
                                     .arg(bars.unit)
                                     .arg(std::max(0, bars.values[bars.today]));
}

// The share of Good answers over the last 30 days, as a whole percentage that says 100 only
// when every answer was Good and 0 only when none was.
QString GoodShare(const progress::Overview& overview) {
  const int reviews = overview.reviews_last_30_days;
  if (reviews <= 0) return QStringLiteral("近 30 天没有复习，还算不出答对率。");
  const int good = std::clamp(overview.good_last_30_days, 0, reviews);
  long percent = std::lround(100.0 * good / reviews);
  if (good < reviews) percent = std::min(percent, 99L);
  if (good > 0) percent = std::max(percent, 1L);
  return QStringLiteral("近 30 天答对率：%1%（复习 %2 次，答对 %3 次）")
      .arg(percent)
      .arg(reviews)
      .arg(good);
}

}  // namespace

ProgressWindow::ProgressWindow(SpeakFunction speak, QWidget* parent)
    : QWidget(parent, Qt::Window), speak_(std::move(speak)) {
  InstallAccessibility();
  setObjectName(QStringLiteral("ProgressWindow"));
  setWindowTitle(QStringLiteral("学习记录"));
  setAttribute(Qt::WA_QuitOnClose, false);  // closing it never ends the program
  setFont(TextFont(kTextPoints));

  // The overview: the figures, the share and the charts on the left, the missed words on
  // the right.
  overview_page_ = new QWidget(this);
  auto* left = new QVBoxLayout;
  auto* figures = new QHBoxLayout;
  for (const Figure& kind : kFigures) {
    auto* figure = new QLabel(overview_page_);
    figure->setObjectName(QString::fromLatin1(kind.id));
    figure->setAlignment(Qt::AlignCenter);
    figure->setTextFormat(Qt::RichText);
    figure->setFrameShape(QFrame::StyledPanel);
    figure->setBackgroundRole(QPalette::Base);
    figure->setAutoFillBackground(true);
    figure->setMargin(6);
    figure->setMinimumWidth(96);
    figure->setToolTip(QString::fromUtf8(kind.meaning));
    figure->setAccessibleDescription(QString::fromUtf8(kind.meaning));
    figures->addWidget(figure);
    figures_.push_back(figure);
  }
  left->addLayout(figures);
  good_share_ = new QLabel(overview_page_);
  good_share_->setObjectName(QStringLiteral("good_share"));
  good_share_->setWordWrap(true);
  left->addWidget(good_share_);
  left->addSpacing(kMargin / 2);

  const auto add_chart = [this, left](const char* id, const QString& caption, QColor colour) {
    left->addWidget(Heading(caption, overview_page_));
    auto* chart = new BarChart(colour, overview_page_);
    chart->setObjectName(QString::fromLatin1(id));
    chart->setAccessibleName(caption);
    left->addWidget(chart, 1);
    return chart;
  };
  reviews_chart_ =
      add_chart("reviews_chart", QStringLiteral("近 30 天每天复习的次数"), kReviewColour);
  left->addSpacing(kMargin / 2);
  due_chart_ = add_chart("due_chart", QStringLiteral("未来 30 天每天到期的单词数"), kDueColour);
  due_chart_->setToolTip(QStringLiteral("今天的一栏含已经过期的单词"));

  auto* right = new QVBoxLayout;
  const QString missed_caption = QStringLiteral("最常答错的单词");
  right->addWidget(Heading(missed_caption, overview_page_));
  missed_list_ = new QTreeWidget(overview_page_);
  missed_list_->setObjectName(QStringLiteral("most_missed"));
  missed_list_->setAccessibleName(missed_caption);
  missed_list_->setAccessibleDescription(QStringLiteral("选中一个单词，按 F2 朗读"));
  missed_list_->setHeaderLabels(
      {QStringLiteral("单词"), QStringLiteral("释义"), QStringLiteral("答错")});
  missed_list_->setItemDelegate(new RoomyRows(missed_list_));
  missed_list_->setRootIsDecorated(false);
  missed_list_->setUniformRowHeights(true);
  missed_list_->setAlternatingRowColors(true);
  missed_list_->setAllColumnsShowFocus(true);
  missed_list_->setSelectionMode(QAbstractItemView::SingleSelection);
  missed_list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  missed_list_->setContextMenuPolicy(Qt::ActionsContextMenu);
  QHeaderView* header = missed_list_->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(1, QHeaderView::Stretch);
  header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  header->setSectionsMovable(false);
  right->addWidget(missed_list_, 1);
  no_misses_ = new QLabel(QStringLiteral("还没有答错过的单词。"), overview_page_);
  no_misses_->setObjectName(QStringLiteral("no_misses"));
  no_misses_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  right->addWidget(no_misses_, 1);

  auto* columns = new QHBoxLayout(overview_page_);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setSpacing(kMargin);
  columns->addLayout(left, 3);
  columns->addLayout(right, 2);

  empty_hint_ = new QLabel(
      QStringLiteral("还没有学习记录：玩一局连连看或英汉互译，每个单词都会记下来。"), this);
  empty_hint_->setObjectName(QStringLiteral("empty_hint"));
  empty_hint_->setFont(TextFont(kHintPoints));
  empty_hint_->setAlignment(Qt::AlignCenter);
  empty_hint_->setWordWrap(true);
  // It takes the focus (with no cursor in it), so that a screen reader reads it when the
  // window opens.
  empty_hint_->setFocusPolicy(Qt::StrongFocus);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  pages_ = new QStackedLayout;
  pages_->addWidget(overview_page_);
  pages_->addWidget(empty_hint_);
  root->addLayout(pages_);

  speak_action_ = new QAction(QStringLiteral("朗读 (F2)"), this);
  speak_action_->setObjectName(QStringLiteral("speak"));
  speak_action_->setShortcut(QKeySequence(Qt::Key_F2));
  speak_action_->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(speak_action_, &QAction::triggered, this, [this] { SpeakCurrentWord(); });
  addAction(speak_action_);
  missed_list_->addAction(speak_action_);
  QObject::connect(missed_list_, &QTreeWidget::itemActivated, this, [this] { SpeakCurrentWord(); });
  auto* close_action = new QAction(this);
  close_action->setShortcut(QKeySequence(Qt::Key_Escape));
  close_action->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(close_action, &QAction::triggered, this, [this] { close(); });
  addAction(close_action);

  resize(920, 580);
  SetOverview(progress::Overview{});
}

void ProgressWindow::SetOverview(const progress::Overview& overview, QDate today) {
  const bool empty = overview.practised <= 0;
  pages_->setCurrentWidget(empty ? static_cast<QWidget*>(empty_hint_) : overview_page_);

  const int values[] = {overview.practised, overview.due_now, overview.due_within_week,
                        overview.learned};
  for (std::size_t i = 0; i < figures_.size(); ++i) {
    const QString caption = QString::fromUtf8(kFigures[i].caption);
    figures_[i]->setText(
        QStringLiteral("<span style=\"font-size:%1pt; font-weight:bold\">%2</span><br>%3")
            .arg(kFigurePoints)
            .arg(values[i])
            .arg(caption));
    figures_[i]->setAccessibleName(QStringLiteral("%1：%2 个").arg(caption).arg(values[i]));
  }
  good_share_->setText(GoodShare(overview));

  DayBars reviews = Bars(overview.reviews_per_day, progress::kChartDays - 1, today,
                         QStringLiteral("次"), QStringLiteral("近 30 天没有复习"));
  reviews_chart_->setAccessibleDescription(Summary(reviews, QStringLiteral("共复习 %1 次")));
  reviews_chart_->SetBars(std::move(reviews));
  DayBars due = Bars(overview.due_per_day, 0, today, QStringLiteral("个"),
                     QStringLiteral("未来 30 天没有单词到期"));
  due_chart_->setAccessibleDescription(Summary(due, QStringLiteral("共 %1 个单词到期")));
  due_chart_->SetBars(std::move(due));

  missed_list_->clear();
  missed_words_.clear();
  const std::size_t rows =
      std::min(overview.most_missed.size(), std::size_t{progress::kMostMissedCount});
  for (const progress::MissedWord& word : std::span(overview.most_missed).first(rows)) {
    auto* item = new QTreeWidgetItem(
        missed_list_, {Cell(word.english), Cell(word.chinese), QString::number(word.misses)});
    item->setToolTip(1, item->text(1));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    missed_words_.push_back(word.english);
  }
  const bool any_missed = !missed_words_.empty();
  if (any_missed) missed_list_->setCurrentItem(missed_list_->topLevelItem(0));
  missed_list_->setVisible(any_missed);
  no_misses_->setVisible(!any_missed);
  speak_action_->setEnabled(any_missed && speak_);

  // Where the keys go first: the list, so that F2 and the arrows work at once; else what
  // there is to read.
  QWidget* first = empty        ? static_cast<QWidget*>(empty_hint_)
                   : any_missed ? static_cast<QWidget*>(missed_list_)
                                : reviews_chart_;
  first->setFocus();
}

void ProgressWindow::Open(const progress::Overview& overview) {
  SetOverview(overview);
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void ProgressWindow::SpeakCurrentWord() {
  QTreeWidgetItem* item = missed_list_->currentItem();
  if (!speak_ || !item || !item->isSelected()) return;
  const int row = missed_list_->indexOfTopLevelItem(item);
  if (row >= 0 && row < static_cast<int>(missed_words_.size())) speak_(missed_words_[row]);
}

std::function<void(const progress::Overview&)> ProgressWindowShower(qtbind::QtPlatform& platform) {
  auto window = std::make_shared<std::unique_ptr<ProgressWindow>>();
  return [window, &platform](const progress::Overview& overview) {
    if (!*window) {
      *window = std::make_unique<ProgressWindow>(
          [&platform](const std::string& text) { platform.Speak(text, ui::Language::English); });
    }
    (*window)->Open(overview);
  };
}

}  // namespace qtprogress
