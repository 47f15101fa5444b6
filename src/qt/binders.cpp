#include "qt/binders.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include "qt/convert.h"
#include "qt/faces.h"
#include "qt/qt_platform.h"
#include "qt/widgets.h"

namespace qtbind {

Binder::~Binder() = default;

void Binder::Make(QWidget* parent) {
  widget_ = Create(parent);
  widget_->setObjectName(QString::fromStdString(control_.Name()));
}

void Binder::Retire() {
  if (!widget_) return;
  widget_->setObjectName(QString());
  widget_->hide();
  widget_->deleteLater();
  widget_ = nullptr;
}

void Binder::Deliver(const std::function<void()>& action) {
  host_.Platform().Deliver(action);
}

bool Binder::ByUser() const {
  return !host_.Applying() && host_.Platform().Accepting();
}

namespace {

// A button caption shows every character as it is: "&" is no mnemonic here.
QString ButtonText(const std::string& caption) {
  return ToShownText(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// A binder that knows its model and its widget by their own kinds.
template <class ModelKind, class WidgetKind>
class BinderOf : public Binder {
 public:
  BinderOf(ModelKind& model, BinderHost& host) : Binder(model, host), model_(model) {}

 protected:
  ModelKind& model_;
  WidgetKind* widget_ = nullptr;
};

class ButtonBinder : public BinderOf<ui::Button, ButtonWidget> {
 public:
  using BinderOf::BinderOf;

  Layer Stacking() const override { return Layer::Top; }

  QWidget* Create(QWidget* parent) override {
    widget_ = new ButtonWidget(parent);
    QObject::connect(widget_, &QPushButton::clicked, [this] {
      if (ByUser()) Deliver([this] { model_.Click(); });
    });
    widget_->on_arrow = [this](ui::Direction d) { host_.Walk(model_, d); };
    return widget_;
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Caption) widget_->setText(ButtonText(model_.Caption()));
    if (what == ui::Property::Look) widget_->setFont(ToQFont(model_.GetFont()));
  }
};

class LabelBinder : public BinderOf<ui::Label, LabelWidget> {
 public:
  using BinderOf::BinderOf;

  Layer Stacking() const override { return Layer::Bottom; }

  QWidget* Create(QWidget* parent) override {
    widget_ = new LabelWidget(parent);
    widget_->setTextFormat(Qt::PlainText);
    widget_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget_->setMargin(0);
    return widget_;
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Caption) widget_->setText(ToShownText(model_.Caption()));
    if (what == ui::Property::Look) widget_->setFont(ToQFont(model_.GetFont()));
    if (what == ui::Property::Caption || what == ui::Property::Look) ApplyLook();
  }

 private:
  void ApplyLook() {
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ToQColor(model_.BackColor()));
    palette.setColor(QPalette::WindowText, ToQColor(model_.ForeColor()));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(!model_.Transparent());
    const ui::Alignment a = model_.Alignment();
    const Qt::Alignment horizontal = a == ui::Alignment::Center  ? Qt::AlignHCenter
                                     : a == ui::Alignment::Right ? Qt::AlignRight
                                                                 : Qt::AlignLeft;
    // A centred label centres its lines in both directions, as a button does.
    const Qt::Alignment vertical = a == ui::Alignment::Center ? Qt::AlignVCenter : Qt::AlignTop;
    if (widget_->alignment() != (horizontal | vertical))
      widget_->setAlignment(horizontal | vertical);
    // A label sized to its caption never wraps; a fixed one wraps what does not fit.
    const bool wrap = !model_.AutoSize();
    if (widget_->wordWrap() != wrap) widget_->setWordWrap(wrap);
  }
};

class ListBinder : public BinderOf<ui::ListBox, QListWidget> {
 public:
  using BinderOf::BinderOf;

  QWidget* Create(QWidget* parent) override {
    auto* list = widget_ = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    QObject::connect(list, &QListWidget::itemSelectionChanged, [this] {
      if (!ByUser()) return;
      const QList<QListWidgetItem*> selected = widget_->selectedItems();
      // A list box keeps its choice (the user cannot clear it), and a hidden or disabled one
      // takes none.
      bool taken = false;
      if (!selected.isEmpty()) {
        const int row = widget_->row(selected.front());
        host_.UserChange(model_, [this, row, &taken] { taken = model_.Choose(row); });
      }
      if (!taken) host_.Changed(model_, ui::Property::Selection);
    });
    new EventHook(list->viewport(), [this](QEvent* event) {
      if (event->type() != QEvent::MouseButtonDblClick && event->type() != QEvent::MouseButtonPress)
        return false;
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QModelIndex at = widget_->indexAt(mouse->position().toPoint());
      // A click on the empty space below the rows leaves the choice as it is, and a double
      // click there does nothing; a double click on a row chooses it first.
      if (event->type() == QEvent::MouseButtonPress) return !at.isValid();
      if (at.isValid()) {
        Deliver([this, row = at.row()] {
          if (model_.Choose(row)) model_.DblClick();
        });
      }
      return true;
    });
    // Taking the focus makes Qt mark the first row as current, which looks like a choice the
    // user never made; with nothing chosen in the model, no row is marked.
    new EventHook(list, [this](QEvent* event) {
      if (event->type() == QEvent::FocusIn && model_.ListIndex() < 0) {
        QTimer::singleShot(0, widget_, [this] {
          if (model_.ListIndex() < 0) widget_->selectionModel()->clearCurrentIndex();
        });
      }
      return false;
    });
    // Enter presses the button beside the list; the other keys also move within it.
    host_.ForwardKeys(
        list, [this](int code) { model_.KeyPress(code); }, true);
    return list;
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Look) widget_->setFont(ToQFont(ui::Font{}));
    if (what == ui::Property::Items) SyncItems();
    if (what == ui::Property::Selection) SyncSelection();
  }

 private:
  void SyncItems() {
    // A list box only grows by appending or empties at once, so the widget keeps its rows and
    // takes the new ones; anything else rebuilds it.
    const auto& items = model_.Items();
    int have = widget_->count();
    if (static_cast<std::size_t>(have) > items.size() ||
        (have > 0 && widget_->item(have - 1)->text() !=
                         ToShownText(items[static_cast<std::size_t>(have - 1)]))) {
      widget_->clear();
      have = 0;
    }
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(items.size()) - have);
    for (std::size_t k = static_cast<std::size_t>(have); k < items.size(); ++k)
      rows.append(ToShownText(items[k]));
    if (!rows.isEmpty()) widget_->addItems(rows);
    SyncSelection();
  }

  void SyncSelection() {
    const int row = model_.ListIndex();
    if (row < 0) {
      widget_->clearSelection();
      widget_->setCurrentRow(-1);
      return;
    }
    if (widget_->currentRow() != row || !widget_->item(row)->isSelected())
      widget_->setCurrentRow(row);
    widget_->scrollToItem(widget_->item(row));
  }
};

// A one-line box the user types in, or a multi-line one that only shows text; a box that
// changes between the two gets a new widget.
class TextBinder : public BinderOf<ui::TextBox, QWidget> {
 public:
  using BinderOf::BinderOf;

  QWidget* Create(QWidget* parent) override {
    area_ = nullptr;
    edit_ = nullptr;
    QWidget* box = nullptr;
    if (model_.MultiLine()) {
      box = area_ = new QPlainTextEdit(parent);
      area_->setReadOnly(true);
      area_->setUndoRedoEnabled(false);
      area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      area_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    } else {
      box = edit_ = new QLineEdit(parent);
      QObject::connect(edit_, &QLineEdit::textEdited, [this](const QString& text) {
        if (!ByUser()) return;
        bool taken = false;
        host_.UserChange(model_, [this, t = ToModelText(text), &taken] { taken = model_.Edit(t); });
        if (!taken) host_.Changed(model_, ui::Property::Text);
      });
    }
    // Every character key reaches the model before the box takes it.
    host_.ForwardKeys(
        box, [this](int code) { model_.KeyPress(code); }, false);
    return widget_ = box;
  }

  void Apply(ui::Property what) override {
    if (what == ui::Property::Look) {
      if (model_.MultiLine() != (area_ != nullptr)) {
        Retire();
        return host_.Remake(*this);
      }
      widget_->setFont(ToQFont(model_.GetFont()));
    }
    if (what != ui::Property::Text) return;
    const QString text = ToShownText(model_.Text());
    if (area_)
      area_->setPlainText(ToDocumentText(text));  // one call: no per-line appends
    else if (edit_->text() != text)
      edit_->setText(text);
  }

 private:
  QPlainTextEdit* area_ = nullptr;
  QLineEdit* edit_ = nullptr;
};

// A timer shows nothing: it runs a QTimer while the model's timer runs, from the start (a
// timer may run before its window shows).
class TimerBinder : public BinderOf<ui::Timer, QWidget> {
 public:
  TimerBinder(ui::Timer& model, BinderHost& host) : BinderOf(model, host) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { host_.Platform().DeliverTick([this] { model_.Tick(); }); });
    Apply(ui::Property::Timer);
  }
  void Stop() override { timer_.stop(); }

  bool MakesWidget() const override { return false; }
  QWidget* Create(QWidget*) override { return nullptr; }

  void Apply(ui::Property) override {
    if (!model_.Enabled() || model_.Interval() <= 0)
      timer_.stop();
    else if (!timer_.isActive() || timer_.interval() != model_.Interval())
      timer_.start(model_.Interval());
  }

 private:
  QTimer timer_;
};

}  // namespace

std::unique_ptr<Binder> Binder::For(ui::Control& control, BinderHost& host) {
  if (auto* button = dynamic_cast<ui::Button*>(&control))
    return std::make_unique<ButtonBinder>(*button, host);
  if (auto* label = dynamic_cast<ui::Label*>(&control))
    return std::make_unique<LabelBinder>(*label, host);
  if (auto* list = dynamic_cast<ui::ListBox*>(&control))
    return std::make_unique<ListBinder>(*list, host);
  if (auto* box = dynamic_cast<ui::TextBox*>(&control))
    return std::make_unique<TextBinder>(*box, host);
  if (auto* timer = dynamic_cast<ui::Timer*>(&control))
    return std::make_unique<TimerBinder>(*timer, host);
  return nullptr;
}

}  // namespace qtbind
