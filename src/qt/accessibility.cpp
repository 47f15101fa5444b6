#include "qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QVariant>
#include <algorithm>

#include "qt/widgets.h"

namespace qtbind {

namespace {

// A time bar's figures, kept on its widget as the binding last applied them (in twips).
constexpr char kTimeLeft[] = "vantleTimeLeft";
constexpr char kTimeFull[] = "vantleTimeFull";

// A time bar: a progress bar from 0 (the time is up) to a full bar; a bar lengthened by
// cleared pairs beyond full reports its own height as the maximum.
class TimeBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit TimeBarAccessible(QWidget* widget)
      : QAccessibleWidget(widget, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(Left());
    return QAccessibleWidget::text(t);
  }

  QVariant currentValue() const override { return Left(); }
  void setCurrentValue(const QVariant&) override {}  // the time is not the user's to set
  QVariant maximumValue() const override { return std::max(Left(), Full()); }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  int Left() const { return widget()->property(kTimeLeft).toInt(); }
  int Full() const { return widget()->property(kTimeFull).toInt(); }
};

QAccessibleInterface* Interfaces(const QString&, QObject* object) {
  if (auto* form = dynamic_cast<FormWidget*>(object)) {
    // A top-level window is a frame, named by its title (a bare widget would be a filler).
    return new QAccessibleWidget(form, QAccessible::Window);
  }
  if (auto* label = dynamic_cast<LabelWidget*>(object);
      label && label->property(kTimeFull).isValid())
    return new TimeBarAccessible(label);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool kInstalled = [] {
    QAccessible::installFactory(Interfaces);
    return true;
  }();
  (void)kInstalled;
}

void DescribeForAccessibility(QWidget* widget, const ui::Control& model) {
  if (!widget) return;
  const auto* label = dynamic_cast<const ui::Label*>(&model);
  const bool time_bar = label && label->IsTimeBar();
  if (time_bar && !widget->property(kTimeFull).isValid()) {
    // Qt may have made the label's interface already (as plain text); the next one asked for
    // is made as a time bar.
    widget->setProperty(kTimeFull, 0);
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
        made && made->role() != QAccessible::ProgressBar)
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  }
  const QString name = QString::fromStdString(model.AccessibleName());
  if (widget->accessibleName() != name) widget->setAccessibleName(name);
  if (!time_bar) return;
  const ui::Label::Gauge& gauge = label->TimeBar();
  const int left = std::max(0, label->Height() - gauge.empty);
  widget->setProperty(kTimeFull, gauge.full - gauge.empty);
  if (widget->property(kTimeLeft) == QVariant(left)) return;
  widget->setProperty(kTimeLeft, left);
  QAccessibleValueChangeEvent event(widget, left);
  QAccessible::updateAccessibility(&event);
}

}  // namespace qtbind
