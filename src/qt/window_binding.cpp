#include "qt/window_binding.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include "qt/accessibility.h"
#include "qt/convert.h"
#include "qt/faces.h"
#include "qt/qt_platform.h"
#include "ui/focus.h"

namespace qtbind {

namespace {

// Widget signals raised while the binding applies a model change are not user actions.
class Applying {
 public:
  explicit Applying(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~Applying() { flag_ = saved_; }
  Applying(const Applying&) = delete;
  Applying& operator=(const Applying&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

// A button caption shows every character as it is: "&" is no mnemonic here.
QString ButtonText(const std::string& caption) {
  return ToShownText(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The character code of a key press (Enter is 13), or -1 for a key that types nothing.
int KeyCode(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return 13;
  const QString text = key.text();
  if (text.isEmpty()) return -1;
  const QList<uint> code_points = text.toUcs4();
  return code_points.isEmpty() ? -1 : static_cast<int>(code_points.front());
}

bool IsMultiLineWidget(const QWidget* widget) {
  return dynamic_cast<const QPlainTextEdit*>(widget) != nullptr;
}

}  // namespace

WindowBinding::WindowBinding(QtPlatform& platform, ui::Window& window)
    : platform_(platform), window_(window) {
  window_.SetObserver(this);
  Adopt();
}

void WindowBinding::Adopt() {
  for (ui::Control* control : window_.Controls()) {
    if (index_.count(control)) continue;
    Bound b;
    b.model = control;
    if (dynamic_cast<ui::Button*>(control))
      b.kind = Kind::Button;
    else if (dynamic_cast<ui::Label*>(control))
      b.kind = Kind::Label;
    else if (dynamic_cast<ui::ListBox*>(control))
      b.kind = Kind::ListBox;
    else if (dynamic_cast<ui::TextBox*>(control))
      b.kind = Kind::TextBox;
    else if (auto* timer = dynamic_cast<ui::Timer*>(control)) {
      b.kind = Kind::Timer;
      b.timer = std::make_unique<QTimer>();
      b.timer->setTimerType(Qt::PreciseTimer);
      QObject::connect(b.timer.get(), &QTimer::timeout,
                       [this, timer] { platform_.DeliverTick([timer] { timer->Tick(); }); });
    }
    control->SetObserver(this);
    index_[control] = bound_.size();
    bound_.push_back(std::move(b));
    if (bound_.back().kind == Kind::Timer) SyncTimer(bound_.back());
  }
}

WindowBinding::~WindowBinding() {
  // The widgets go first, while everything their signals could reach still exists; the
  // platform no longer accepts events at this point, so none reaches the model. The model
  // itself may be gone already: it is not touched here.
  form_.reset();
  for (Bound& b : bound_)
    if (b.timer) b.timer->stop();
}

void WindowBinding::Detach() {
  for (Bound& b : bound_) b.model->SetObserver(nullptr);
  window_.SetObserver(nullptr);
}

QWidget* WindowBinding::Widget(std::string_view control_name) const {
  for (const Bound& b : bound_)
    if (b.model->Name() == control_name) return b.widget;
  return nullptr;
}

QWidget* WindowBinding::WidgetOf(const ui::Control* control) const {
  auto it = index_.find(control);
  return it == index_.end() ? nullptr : bound_[it->second].widget.data();
}

const ui::Control* WindowBinding::FocusHolder() const {
  for (QWidget* w = form_ ? form_->focusWidget() : nullptr; w && w != form_.get();
       w = w->parentWidget()) {
    for (const Bound& b : bound_)
      if (b.widget == w) return b.model;
  }
  return nullptr;
}

void WindowBinding::MoveFocus(const ui::Control* from) {
  QWidget* target = WidgetOf(ui::NextFocus(window_, from));
  (target ? target : form_.get())->setFocus(Qt::OtherFocusReason);
}

void WindowBinding::SettleFocus(bool to_next) {
  if (!form_ || !form_->isVisible()) return;
  const ui::Control* holder = FocusHolder();
  if (to_next)
    MoveFocus(nullptr);
  else if (!holder || !holder->Acts())
    MoveFocus(holder);
}

void WindowBinding::Shut() {
  for (Bound& b : bound_)
    if (b.timer) b.timer->stop();
  if (form_) form_->hide();
}

void WindowBinding::Changed(ui::Control& control, ui::Property what) {
  if (echo_ == &control) return;
  if (&control == &window_) return ApplyWindow(what);
  auto it = index_.find(&control);
  if (it == index_.end()) return;
  Bound& b = bound_[it->second];
  if (b.kind == Kind::Timer) return SyncTimer(b);
  if (!b.widget) return;
  Applying applying(applying_);
  Apply(b, what);
  DescribeForAccessibility(b.widget, *b.model);
}

void WindowBinding::ApplyWindow(ui::Property what) {
  if (what == ui::Property::Visible) {
    if (window_.Visible()) {
      if (!form_) Build();
      form_->show();
      // A window that opens gives the focus to the control the user acts on next, never to
      // the button that left it last time.
      SettleFocus(true);
      form_->activateWindow();
    } else if (form_) {
      form_->hide();
    }
    return;
  }
  if (!form_) return;  // built from the model when first shown
  Applying applying(applying_);
  switch (what) {
    case ui::Property::Geometry:
      form_->setFixedSize(ToPixels(window_.Width()), ToPixels(window_.Height()));
      form_->move(ToPixels(window_.Left()), ToPixels(window_.Top()));
      break;
    case ui::Property::Caption:
      form_->setWindowTitle(ToShownText(window_.Caption()));
      break;
    case ui::Property::Look:
      form_->update();
      break;
    default:
      break;
  }
}

void WindowBinding::Build() {
  Adopt();  // controls the form added after the attach, in its Form_Load
  Applying applying(applying_);
  form_ = std::make_unique<FormWidget>(window_);
  form_->setWindowTitle(ToShownText(window_.Caption()));
  form_->setFixedSize(ToPixels(window_.Width()), ToPixels(window_.Height()));
  form_->move(ToPixels(window_.Left()), ToPixels(window_.Top()));
  form_->OnCloseRequest = [this] { platform_.Deliver([this] { window_.Close(); }); };
  form_->OnMoved = [this](QPoint at) {
    if (applying_ || !platform_.Accepting()) return;
    if (at.x() == ToPixels(window_.Left()) && at.y() == ToPixels(window_.Top())) return;
    UserChange(window_, [this, at] {
      window_.Move(at.x() * kTwipsPerPixel, at.y() * kTwipsPerPixel, window_.Width(),
                   window_.Height());
    });
  };
  // A key that no control took is the window's (the form itself holds the focus when no
  // control can).
  ForwardKeys(
      form_.get(), [this](int code) { window_.KeyPress(code); }, false);
  for (Bound& b : bound_) {
    if (b.kind == Kind::Timer || b.kind == Kind::Other) continue;
    MakeWidget(b);
    ApplyAll(b);
    DescribeForAccessibility(b.widget, *b.model);
  }
  Restack();
  OrderTabs();
}

void WindowBinding::ForwardKeys(QWidget* widget, std::function<void(int key_code)> press,
                                bool take_enter) {
  new EventHook(widget, [this, press = std::move(press), take_enter](QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int code = KeyCode(*static_cast<QKeyEvent*>(event));
    if (code < 0) return false;
    platform_.Deliver([&press, code] { press(code); });
    return !platform_.Accepting() || (take_enter && code == ui::kEnterKey);
  });
}

void WindowBinding::GuardInput(QWidget* widget, const ui::Control& model) {
  // Installed after the widget's other hooks, so that it sees every key first.
  new EventHook(widget, [this, &model](QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    if (model.Acts()) return false;
    SettleFocus(false);
    return true;
  });
}

void WindowBinding::MakeWidget(Bound& b) {
  QWidget* parent = form_.get();
  const std::size_t i = index_.at(b.model);
  switch (b.kind) {
    case Kind::Button: {
      auto* model = static_cast<ui::Button*>(b.model);
      auto* button = new ButtonWidget(parent);
      button->SetGroup(model->Array());
      QObject::connect(button, &QPushButton::clicked, [this, model] {
        if (!applying_) platform_.Deliver([model] { model->Click(); });
      });
      b.widget = button;
      break;
    }
    case Kind::Label: {
      auto* label = new LabelWidget(parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setMargin(0);
      b.widget = label;
      break;
    }
    case Kind::ListBox: {
      auto* model = static_cast<ui::ListBox*>(b.model);
      auto* list = new QListWidget(parent);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setEditTriggers(QAbstractItemView::NoEditTriggers);
      list->setUniformItemSizes(true);
      QObject::connect(list, &QListWidget::itemSelectionChanged, [this, model, list, i] {
        if (applying_ || !platform_.Accepting()) return;
        const QList<QListWidgetItem*> selected = list->selectedItems();
        // A list box keeps its choice (the user cannot clear it), and a hidden or disabled
        // one takes none.
        bool taken = false;
        if (!selected.isEmpty()) {
          const int row = list->row(selected.front());
          UserChange(*model, [model, row, &taken] { taken = model->Choose(row); });
        }
        if (!taken) {
          Applying applying(applying_);
          SyncSelection(bound_[i]);
        }
      });
      new EventHook(list->viewport(), [this, model, list](QEvent* event) {
        if (event->type() == QEvent::MouseButtonDblClick) {
          // Only a row counts, and it is the row chosen; the empty space below the rows does
          // nothing.
          auto* mouse = static_cast<QMouseEvent*>(event);
          const QModelIndex at = list->indexAt(mouse->position().toPoint());
          if (at.isValid()) {
            platform_.Deliver([model, row = at.row()] {
              if (model->Choose(row)) model->DblClick();
            });
          }
          return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
          // A click on the empty space leaves the choice as it is.
          auto* mouse = static_cast<QMouseEvent*>(event);
          return !list->indexAt(mouse->position().toPoint()).isValid();
        }
        return false;
      });
      // Taking the focus makes Qt mark the first row as current, which looks like a choice
      // the user never made; with nothing chosen in the model, no row is marked.
      new EventHook(list, [list, model](QEvent* event) {
        if (event->type() == QEvent::FocusIn && model->ListIndex() < 0) {
          QTimer::singleShot(0, list, [list, model] {
            if (model->ListIndex() < 0) list->selectionModel()->clearCurrentIndex();
          });
        }
        return false;
      });
      // Enter presses the button beside the list; the other keys also move within it.
      ForwardKeys(
          list, [model](int code) { model->KeyPress(code); }, true);
      b.widget = list;
      break;
    }
    case Kind::TextBox: {
      auto* model = static_cast<ui::TextBox*>(b.model);
      QWidget* box = nullptr;
      if (model->MultiLine()) {
        auto* area = new QPlainTextEdit(parent);
        area->setReadOnly(true);
        area->setUndoRedoEnabled(false);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box = area;
      } else {
        auto* edit = new QLineEdit(parent);
        QObject::connect(edit, &QLineEdit::textEdited, [this, model, i](const QString& text) {
          if (applying_ || !platform_.Accepting()) return;
          bool taken = false;
          UserChange(*model, [model, t = ToModelText(text), &taken] { taken = model->Edit(t); });
          if (!taken) {
            Applying applying(applying_);
            SyncText(bound_[i]);
          }
        });
        box = edit;
      }
      // Every character key reaches the model before the box takes it.
      ForwardKeys(
          box, [model](int code) { model->KeyPress(code); }, false);
      b.widget = box;
      break;
    }
    case Kind::Timer:
    case Kind::Other:
      return;
  }
  if (b.kind != Kind::Label) GuardInput(b.widget, *b.model);
  b.widget->setObjectName(QString::fromStdString(b.model->Name()));
}

void WindowBinding::ApplyAll(Bound& b) {
  Apply(b, ui::Property::Look);
  Apply(b, ui::Property::Geometry);
  Apply(b, ui::Property::Caption);
  Apply(b, ui::Property::Items);
  Apply(b, ui::Property::Text);
  Apply(b, ui::Property::Enabled);
  Apply(b, ui::Property::Visible);
}

void WindowBinding::Apply(Bound& b, ui::Property what) {
  QWidget* w = b.widget;
  switch (what) {
    case ui::Property::Geometry:
      w->setGeometry(PixelRect(*b.model));
      if (b.model->TakesFocus() && form_->isVisible()) OrderTabs();
      return;
    case ui::Property::Visible:
    case ui::Property::Enabled: {
      // The focus never rests on a hidden or disabled control, and a control coming back
      // takes it from the window when the window holds it for want of one.
      const bool live = form_->isVisible();
      const bool held = live && FocusHolder() == b.model;
      if (what == ui::Property::Visible)
        w->setVisible(b.model->Visible());
      else
        w->setEnabled(b.model->Enabled());
      if (held && !b.model->Acts())
        MoveFocus(b.model);
      else if (live && b.model->Acts() && !FocusHolder())
        MoveFocus(nullptr);
      return;
    }
    case ui::Property::Caption:
      if (b.kind == Kind::Button)
        static_cast<QPushButton*>(w)->setText(
            ButtonText(static_cast<ui::Button*>(b.model)->Caption()));
      if (b.kind == Kind::Label) {
        static_cast<QLabel*>(w)->setText(ToShownText(static_cast<ui::Label*>(b.model)->Caption()));
        ApplyLabelLook(b);
      }
      return;
    case ui::Property::Look:
      switch (b.kind) {
        case Kind::Button:
          w->setFont(ToQFont(static_cast<ui::Button*>(b.model)->GetFont()));
          break;
        case Kind::Label:
          w->setFont(ToQFont(static_cast<ui::Label*>(b.model)->GetFont()));
          ApplyLabelLook(b);
          break;
        case Kind::ListBox:
          w->setFont(ToQFont(ui::Font{}));
          break;
        case Kind::TextBox: {
          auto* model = static_cast<ui::TextBox*>(b.model);
          if (model->MultiLine() != IsMultiLineWidget(w)) {
            // A single-line box became a multi-line one (or back): a new widget.
            w->setObjectName(QString());
            w->hide();
            w->deleteLater();
            MakeWidget(b);
            ApplyAll(b);
            Restack();
            OrderTabs();
            return;
          }
          w->setFont(ToQFont(model->GetFont()));
          break;
        }
        default:
          break;
      }
      return;
    case ui::Property::Items:
      if (b.kind == Kind::ListBox) SyncItems(b);
      return;
    case ui::Property::Selection:
      if (b.kind == Kind::ListBox) SyncSelection(b);
      return;
    case ui::Property::Text:
      if (b.kind == Kind::TextBox) SyncText(b);
      return;
    case ui::Property::Timer:
      return;
  }
}

void WindowBinding::ApplyLabelLook(Bound& b) {
  auto* model = static_cast<ui::Label*>(b.model);
  auto* label = static_cast<QLabel*>(b.widget.data());
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, ToQColor(model->BackColor()));
  palette.setColor(QPalette::WindowText, ToQColor(model->ForeColor()));
  label->setPalette(palette);
  label->setAutoFillBackground(!model->Transparent());
  const Qt::Alignment horizontal = model->Alignment() == ui::Alignment::Center  ? Qt::AlignHCenter
                                   : model->Alignment() == ui::Alignment::Right ? Qt::AlignRight
                                                                                : Qt::AlignLeft;
  // A centred label centres its lines in both directions, as a button does.
  const Qt::Alignment vertical =
      model->Alignment() == ui::Alignment::Center ? Qt::AlignVCenter : Qt::AlignTop;
  if (label->alignment() != (horizontal | vertical)) label->setAlignment(horizontal | vertical);
  // A label sized to its caption never wraps; a fixed one wraps what does not fit.
  const bool wrap = !model->AutoSize();
  if (label->wordWrap() != wrap) label->setWordWrap(wrap);
}

void WindowBinding::SyncItems(Bound& b) {
  // A list box only grows by appending or empties at once, so the widget keeps its rows and
  // takes the new ones; anything else rebuilds it.
  auto* model = static_cast<ui::ListBox*>(b.model);
  auto* list = static_cast<QListWidget*>(b.widget.data());
  const auto& items = model->Items();
  int have = list->count();
  if (static_cast<std::size_t>(have) > items.size() ||
      (have > 0 &&
       list->item(have - 1)->text() != ToShownText(items[static_cast<std::size_t>(have - 1)]))) {
    list->clear();
    have = 0;
  }
  QStringList rows;
  rows.reserve(static_cast<qsizetype>(items.size()) - have);
  for (std::size_t k = static_cast<std::size_t>(have); k < items.size(); ++k)
    rows.append(ToShownText(items[k]));
  if (!rows.isEmpty()) list->addItems(rows);
  SyncSelection(b);
}

void WindowBinding::SyncSelection(Bound& b) {
  auto* model = static_cast<ui::ListBox*>(b.model);
  auto* list = static_cast<QListWidget*>(b.widget.data());
  const int row = model->ListIndex();
  if (row < 0) {
    list->clearSelection();
    list->setCurrentRow(-1);
    return;
  }
  if (list->currentRow() != row || !list->item(row)->isSelected()) list->setCurrentRow(row);
  list->scrollToItem(list->item(row));
}

void WindowBinding::SyncText(Bound& b) {
  auto* model = static_cast<ui::TextBox*>(b.model);
  const QString text = ToShownText(model->Text());
  if (auto* area = dynamic_cast<QPlainTextEdit*>(b.widget.data())) {
    area->setPlainText(ToDocumentText(text));  // one call: no per-line appends
  } else if (auto* edit = dynamic_cast<QLineEdit*>(b.widget.data())) {
    if (edit->text() != text) edit->setText(text);
  }
}

void WindowBinding::SyncTimer(Bound& b) {
  auto* model = static_cast<ui::Timer*>(b.model);
  const bool run = model->Enabled() && model->Interval() > 0;
  if (!run) {
    b.timer->stop();
  } else if (!b.timer->isActive() || b.timer->interval() != model->Interval()) {
    b.timer->start(model->Interval());
  }
}

void WindowBinding::Restack() {
  for (auto it = bound_.rbegin(); it != bound_.rend(); ++it)
    if (it->kind == Kind::Label && it->widget) it->widget->lower();
  for (Bound& b : bound_)
    if (b.kind == Kind::Button && b.widget) b.widget->raise();
}

void WindowBinding::OrderTabs() {
  QWidget* previous = nullptr;
  for (const ui::Control* control : ui::TabOrder(window_)) {
    QWidget* w = WidgetOf(control);
    if (!w) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void WindowBinding::UserChange(ui::Control& control, const std::function<void()>& change) {
  const ui::Control* saved = echo_;
  echo_ = &control;
  platform_.Deliver(change);
  echo_ = saved;
}

}  // namespace qtbind
