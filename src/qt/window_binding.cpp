#include "qt/window_binding.h"

#include <QKeyEvent>

#include "qt/accessibility.h"
#include "qt/convert.h"
#include "qt/qt_platform.h"
#include "qt/window_menu.h"
#include "ui/focus.h"
#include "view/dispatcher.h"

namespace qtbind {

namespace {

// The character code of a key press (Enter is 13), or -1 for a key that types nothing.
int KeyCode(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return 13;
  const QString text = key.text();
  if (text.isEmpty()) return -1;
  const QList<uint> code_points = text.toUcs4();
  return code_points.isEmpty() ? -1 : static_cast<int>(code_points.front());
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
    control->SetObserver(this);
    std::unique_ptr<Binder> binder = Binder::For(*control, *this);
    index_[control] = binder.get();
    if (binder) binders_.push_back(std::move(binder));
  }
}

WindowBinding::~WindowBinding() {
  // The widgets go first, while everything their signals could reach still exists; the
  // platform no longer accepts events at this point, so none reaches the model. The model
  // itself may be gone already: it is not touched here.
  form_.reset();
  for (auto& b : binders_) b->Stop();
}

void WindowBinding::Detach() {
  for (ui::Control* control : window_.Controls())
    if (index_.count(control)) control->SetObserver(nullptr);
  window_.SetObserver(nullptr);
}

QWidget* WindowBinding::WidgetOf(const ui::Control* control) const {
  auto it = index_.find(control);
  return it == index_.end() || !it->second ? nullptr : it->second->Widget();
}

const ui::Control* WindowBinding::FocusHolder() const {
  for (QWidget* w = form_ ? form_->focusWidget() : nullptr; w && w != form_.get();
       w = w->parentWidget()) {
    for (const auto& b : binders_)
      if (b->Widget() == w) return &b->Model();
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
  for (auto& b : binders_) b->Stop();
  if (form_) form_->hide();
}

void WindowBinding::Changed(ui::Control& control, ui::Property what) {
  if (echo_ == &control) return;
  if (&control == &window_) return ApplyWindow(what);
  auto it = index_.find(&control);
  if (it == index_.end() || !it->second) return;
  Binder& b = *it->second;
  if (b.MakesWidget() && !b.Widget()) return;  // made from the model when first shown
  view::FlagScope applying(applying_);
  Apply(b, what);
  // A name comes with the look; a time bar's value is its height.
  if (what == ui::Property::Look || what == ui::Property::Geometry)
    DescribeForAccessibility(b.Widget(), b.Model());
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
  view::FlagScope applying(applying_);
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
  Adopt();  // controls the window added after the attach, as it loaded
  view::FlagScope applying(applying_);
  form_ = std::make_unique<FormWidget>(window_);
  form_->setWindowTitle(ToShownText(window_.Caption()));
  form_->setFixedSize(ToPixels(window_.Width()), ToPixels(window_.Height()));
  form_->move(ToPixels(window_.Left()), ToPixels(window_.Top()));
  form_->on_close_request = [this] { platform_.Deliver([this] { window_.Close(); }); };
  form_->on_moved = [this](QPoint at) {
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
  for (auto& b : binders_) {
    if (!b->MakesWidget()) continue;
    MakeWidget(*b);
    ApplyAll(*b);
    DescribeForAccessibility(b->Widget(), b->Model());
  }
  Restack();
  OrderTabs();
  // The window's menu, F2 and its other shortcuts (see window_menu.h).
  BindMenu(*this, platform_);
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

void WindowBinding::MakeWidget(Binder& b) {
  b.Make(form_.get());
  if (b.Model().TakesFocus()) GuardInput(b.Widget(), b.Model());
}

void WindowBinding::Remake(Binder& b) {
  MakeWidget(b);
  ApplyAll(b);
  Restack();
  OrderTabs();
}

void WindowBinding::Walk(const ui::Button& from, ui::Direction direction) {
  if (QWidget* next = WidgetOf(ui::Neighbour(window_, from, direction)))
    next->setFocus(Qt::TabFocusReason);
}

void WindowBinding::ApplyAll(Binder& b) {
  for (ui::Property what :
       {ui::Property::Look, ui::Property::Geometry, ui::Property::Caption, ui::Property::Items,
        ui::Property::Text, ui::Property::Enabled, ui::Property::Visible})
    Apply(b, what);
}

void WindowBinding::Apply(Binder& b, ui::Property what) {
  QWidget* w = b.Widget();
  if (!w) return b.Apply(what);  // a timer
  const ui::Control& model = b.Model();
  switch (what) {
    case ui::Property::Geometry:
      w->setGeometry(PixelRect(model));
      if (model.TakesFocus() && form_->isVisible()) OrderTabs();
      return;
    case ui::Property::Visible:
    case ui::Property::Enabled: {
      // The focus never rests on a hidden or disabled control, and a control coming back
      // takes it from the window when the window holds it for want of one.
      const bool live = form_->isVisible();
      const bool held = live && FocusHolder() == &model;
      if (what == ui::Property::Visible)
        w->setVisible(model.Visible());
      else
        w->setEnabled(model.Enabled());
      if (held && !model.Acts())
        MoveFocus(&model);
      else if (live && model.Acts() && !FocusHolder())
        MoveFocus(nullptr);
      return;
    }
    default:
      return b.Apply(what);
  }
}

void WindowBinding::Restack() {
  for (auto it = binders_.rbegin(); it != binders_.rend(); ++it)
    if ((*it)->Stacking() == Binder::Layer::Bottom && (*it)->Widget()) (*it)->Widget()->lower();
  for (auto& b : binders_)
    if (b->Stacking() == Binder::Layer::Top && b->Widget()) b->Widget()->raise();
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
