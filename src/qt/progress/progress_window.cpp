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
#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>

#include "qt/faces.h"
#include "qt/progress/bar_chart.h"
#include "qt/qt_platform.h"

namespace qtprogress {

namespace {

constexpr double kTextPoints = 10.5;    // the window's text, a little larger than the games'
constexpr double kFigurePoints = 20.0;  // the four figures
constexpr double kHintPoints = 12.0;    // the empty journal's hint
constexpr int kMargin = 16;             // around the window's content and between its columns

// The charts' colours, in the page's order: reviews done blue, words coming due amber.
const QColor kChartColours[] = {QColor(70, 120, 190), QColor(225, 145, 45)};

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

// A list's rows, with air above and below the text.
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

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// A list of rows of a few columns, the selected row marked across all of them.
QTreeWidget* MakeTree(QWidget* parent) {
  auto* tree = new QTreeWidget(parent);
  tree->setItemDelegate(new RoomyRows(tree));
  tree->setRootIsDecorated(false);
  tree->setUniformRowHeights(true);
  tree->setAlternatingRowColors(true);
  tree->setAllColumnsShowFocus(true);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree->setContextMenuPolicy(Qt::ActionsContextMenu);
  tree->header()->setStretchLastSection(false);
  tree->header()->setSectionsMovable(false);
  return tree;
}

// The rows of `list` in `tree`, under its columns' captions.
void FillTree(QTreeWidget& tree, const progresspage::List& list) {
  tree.clear();
  QStringList captions;
  bool any_caption = false;
  for (const progresspage::Column& column : list.columns) {
    captions << Text(column.caption);
    any_caption = any_caption || !column.caption.empty();
  }
  tree.setColumnCount(static_cast<int>(list.columns.size()));
  tree.setHeaderLabels(captions);
  tree.setHeaderHidden(!any_caption);
  for (int i = 0; i < static_cast<int>(list.columns.size()); ++i)
    tree.header()->setSectionResizeMode(
        i, list.columns[i].stretch ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  for (const progresspage::Row& row : list.rows) {
    auto* item = new QTreeWidgetItem(&tree);
    for (int i = 0; i < static_cast<int>(row.cells.size()) && i < tree.columnCount(); ++i) {
      item->setText(i, Text(row.cells[i]));
      if (list.columns[i].stretch) item->setToolTip(i, item->text(i));
      if (list.columns[i].numeric) item->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
    }
  }
}

}  // namespace

ProgressWindow::ProgressWindow(SpeakFunction speak, QWidget* parent)
    : QWidget(parent, Qt::Window), speak_(std::move(speak)) {
  InstallAccessibility();
  setObjectName(QStringLiteral("ProgressWindow"));
  setAttribute(Qt::WA_QuitOnClose, false);  // closing it never ends the program
  setFont(TextFont(kTextPoints));

  // The overview: the figures, the share and the charts on the left, the lists on the right.
  overview_page_ = new QWidget(this);
  left_ = new QVBoxLayout;
  figure_row_ = new QHBoxLayout;
  left_->addLayout(figure_row_);
  good_share_ = new QLabel(overview_page_);
  good_share_->setObjectName(QStringLiteral("good_share"));
  good_share_->setWordWrap(true);
  left_->addWidget(good_share_);
  right_ = new QVBoxLayout;
  auto* columns = new QHBoxLayout(overview_page_);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setSpacing(kMargin);
  columns->addLayout(left_, 3);
  columns->addLayout(right_, 2);

  empty_hint_ = new QLabel(this);
  empty_hint_->setObjectName(QStringLiteral("empty_hint"));
  empty_hint_->setFont(TextFont(kHintPoints));
  empty_hint_->setAlignment(Qt::AlignCenter);
  empty_hint_->setWordWrap(true);
  // It takes the focus (with no cursor in it), so that a screen reader reads it when the
  // window opens.
  empty_hint_->setFocusPolicy(Qt::StrongFocus);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  header_ = new QLabel(this);
  header_->setObjectName(QStringLiteral("header"));
  header_->setFont(TextFont(kTextPoints, true));
  header_->setWordWrap(true);
  root->addWidget(header_);
  pages_ = new QStackedLayout;
  pages_->addWidget(overview_page_);
  pages_->addWidget(empty_hint_);
  root->addLayout(pages_);

  MakeActions();
  resize(920, 580);
  SetPage(progresspage::Describe(progress::Overview{}, progresspage::Facts{}));
}

void ProgressWindow::MakeActions() {
  speak_action_ = new QAction(this);
  speak_action_->setObjectName(QStringLiteral("speak"));
  speak_action_->setShortcut(QKeySequence(Qt::Key_F2));
  speak_action_->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(speak_action_, &QAction::triggered, this, [this] { SpeakCurrentWord(); });
  addAction(speak_action_);
  auto* close_action = new QAction(this);
  close_action->setShortcut(QKeySequence(Qt::Key_Escape));
  close_action->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(close_action, &QAction::triggered, this, [this] { close(); });
  addAction(close_action);
}

QLabel* ProgressWindow::FigureLabel(std::size_t i) {
  while (figures_.size() <= i) {
    auto* figure = new QLabel(overview_page_);
    figure->setAlignment(Qt::AlignCenter);
    figure->setTextFormat(Qt::RichText);
    figure->setFrameShape(QFrame::StyledPanel);
    figure->setBackgroundRole(QPalette::Base);
    figure->setAutoFillBackground(true);
    figure->setMargin(6);
    figure->setMinimumWidth(96);
    figure_row_->addWidget(figure);
    figures_.push_back(figure);
  }
  return figures_[i];
}

ProgressWindow::ChartView& ProgressWindow::Chart(std::size_t i) {
  while (charts_.size() <= i) {
    left_->addSpacing(kMargin / 2);
    const std::size_t n = charts_.size();
    ChartView view{Heading(QString(), overview_page_),
                   new BarChart(kChartColours[n % std::size(kChartColours)], overview_page_)};
    left_->addWidget(view.heading);
    left_->addWidget(view.chart, 1);
    charts_.push_back(view);
  }
  return charts_[i];
}

ProgressWindow::ListView& ProgressWindow::List(std::size_t i) {
  while (lists_.size() <= i) {
    if (!lists_.empty()) right_->addSpacing(kMargin / 2);
    ListView view{Heading(QString(), overview_page_),
                  MakeTree(overview_page_),
                  new QLabel(overview_page_),
                  {}};
    view.tree->addAction(speak_action_);
    QObject::connect(view.tree, &QTreeWidget::itemActivated, this, [this] { SpeakCurrentWord(); });
    view.empty->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    right_->addWidget(view.heading);
    right_->addWidget(view.tree, 1);
    right_->addWidget(view.empty, 1);
    lists_.push_back(std::move(view));
  }
  return lists_[i];
}

void ProgressWindow::ShowFigures(const std::vector<progresspage::Figure>& figures) {
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const progresspage::Figure& figure = figures[i];
    QLabel* label = FigureLabel(i);
    label->setObjectName(Text(figure.id));
    label->setText(
        QStringLiteral("<span style=\"font-size:%1pt; font-weight:bold\">%2</span><br>%3")
            .arg(kFigurePoints)
            .arg(figure.value)
            .arg(Text(figure.caption).toHtmlEscaped()));
    label->setAccessibleName(Text(figure.spoken));
    label->setToolTip(Text(figure.meaning));
    label->setAccessibleDescription(Text(figure.meaning));
    label->show();
  }
  for (std::size_t i = figures.size(); i < figures_.size(); ++i) figures_[i]->hide();
}

void ProgressWindow::ShowCharts(const std::vector<progresspage::Chart>& charts) {
  for (std::size_t i = 0; i < charts.size(); ++i) {
    ChartView& view = Chart(i);
    view.heading->setText(Text(charts[i].caption));
    view.chart->setObjectName(Text(charts[i].id));
    view.chart->SetChart(charts[i]);
    view.heading->show();
    view.chart->show();
  }
  for (std::size_t i = charts.size(); i < charts_.size(); ++i) {
    charts_[i].heading->hide();
    charts_[i].chart->hide();
  }
}

void ProgressWindow::ShowLists(const std::vector<progresspage::List>& lists) {
  bool any_spoken = false;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    const progresspage::List& list = lists[i];
    ListView& view = List(i);
    view.heading->setText(Text(list.caption));
    view.tree->setObjectName(Text(list.id));
    view.tree->setAccessibleName(Text(list.caption));
    view.tree->setAccessibleDescription(Text(list.hint));
    FillTree(*view.tree, list);
    view.spoken.clear();
    for (const progresspage::Row& row : list.rows) {
      view.spoken.push_back(row.spoken);
      any_spoken = any_spoken || !row.spoken.empty();
    }
    view.empty->setObjectName(Text(list.empty_id));
    view.empty->setText(Text(list.empty_note));
    const bool any = !list.rows.empty();
    if (any) view.tree->setCurrentItem(view.tree->topLevelItem(0));
    view.heading->show();
    view.tree->setVisible(any);
    view.empty->setVisible(!any);
  }
  for (std::size_t i = lists.size(); i < lists_.size(); ++i) {
    lists_[i].heading->hide();
    lists_[i].tree->hide();
    lists_[i].empty->hide();
  }
  speak_action_->setEnabled(any_spoken && speak_);
}

void ProgressWindow::SetPage(const progresspage::Page& page) {
  setWindowTitle(Text(page.title));
  header_->setText(Text(page.header));
  header_->setVisible(!page.header.empty());
  pages_->setCurrentWidget(page.empty ? static_cast<QWidget*>(empty_hint_) : overview_page_);
  empty_hint_->setText(Text(page.empty_hint));
  ShowFigures(page.figures);
  good_share_->setText(Text(page.good_share));
  ShowCharts(page.charts);
  ShowLists(page.lists);
  speak_action_->setText(Text(page.speak_caption));

  // Where the keys go first: a list, so that F2 and the arrows work at once; else what there
  // is to read.
  QWidget* first = page.empty ? static_cast<QWidget*>(empty_hint_) : nullptr;
  for (std::size_t i = 0; !first && i < page.lists.size(); ++i)
    if (!page.lists[i].rows.empty()) first = lists_[i].tree;
  if (!first && !charts_.empty()) first = charts_.front().chart;
  if (first) first->setFocus();
}

void ProgressWindow::Open(const progresspage::Page& page, std::function<void()> closed) {
  SetPage(page);
  const Qt::WindowModality modality = closed ? Qt::ApplicationModal : Qt::NonModal;
  if (modality != windowModality()) {
    hide();  // a shown window takes a new modality only when shown again
    setWindowModality(modality);
  }
  closed_ = std::move(closed);
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void ProgressWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (std::function<void()> closed = std::exchange(closed_, nullptr)) closed();
}

void ProgressWindow::SpeakCurrentWord() {
  if (!speak_ || lists_.empty()) return;
  const ListView* view = &lists_.front();
  for (const ListView& list : lists_)
    if (list.tree->hasFocus()) view = &list;
  QTreeWidgetItem* item = view->tree->currentItem();
  if (!item || !item->isSelected()) return;
  const int row = view->tree->indexOfTopLevelItem(item);
  if (row >= 0 && row < static_cast<int>(view->spoken.size()) && !view->spoken[row].empty())
    speak_(view->spoken[row]);
}

std::function<void(const progresspage::Page&, std::function<void()>)> ProgressWindowShower(
    qtbind::QtPlatform& platform) {
  auto window = std::make_shared<std::unique_ptr<ProgressWindow>>();
  return [window, &platform](const progresspage::Page& page, std::function<void()> closed) {
    if (!*window) {
      *window = std::make_unique<ProgressWindow>(
          [&platform](const std::string& text) { platform.Speak(text, ui::Language::English); });
    }
    if (closed) closed = [&platform, closed = std::move(closed)] { platform.Deliver(closed); };
    (*window)->Open(page, std::move(closed));
  };
}

}  // namespace qtprogress
