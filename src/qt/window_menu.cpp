#include "qt/window_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>

#include "qt/convert.h"
#include "qt/qt_platform.h"
#include "qt/speech.h"
#include "qt/widgets.h"
#include "qt/window_binding.h"
#include "view/wording.h"

namespace qtbind {
namespace {

using Status = SpeechState::Status;

// The application's style, but the arrow keys stop on every line of a menu, the disabled ones
// too: a line greyed out above an entry never moves the keys meant for it onto the entry below
// (Down, Enter on a disabled "加入复习" must not turn 记录学习进度 off).
class EveryLineStyle : public QProxyStyle {
 public:
  EveryLineStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

void StopOnEveryLine(QMenu* menu) {
  auto* style = new EveryLineStyle;
  style->setParent(menu);
  menu->setStyle(style);
}

}  // namespace

void BindMenu(WindowBinding& binding, QtPlatform& platform) {
  const ui::Window& window = binding.Model();
  if (!window.Speaks() && !window.on_menu && window.shortcuts.empty()) return;
  new WindowMenu(binding, platform);
}

WindowMenu::WindowMenu(WindowBinding& binding, QtPlatform& platform)
    : QObject(binding.Form()),
      binding_(binding),
      platform_(platform),
      speech_(platform.SpeechService()),
      form_(binding.Form()) {
  menu_ = new QMenu(form_);
  menu_->setObjectName(QStringLiteral("WindowMenu"));
  StopOnEveryLine(menu_);
  model_end_ = menu_->addSeparator();
  AddShortcuts();
  if (binding.Model().Speaks()) AddSpeechEntries();
  QObject::connect(menu_, &QMenu::aboutToShow, this, [this] {
    AddModelEntries(menu_, model_end_);
    if (!speak_) return;
    speech_.Start();  // the menu shows what is installed
    Refresh();
  });
  HookContextMenus();
}

void WindowMenu::AddShortcuts() {
  // The model's shortcuts act anywhere in the window, on what the learner points at.
  for (const ui::Window::Shortcut& shortcut : binding_.Model().shortcuts) {
    auto* action = new QAction(form_);
    action->setShortcut(QKeySequence(QString::fromStdString(shortcut.key)));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, this, [this, key = shortcut.key] {
      const ui::Attention attention = Attention();
      ui::Window& model = binding_.Model();
      platform_.Deliver([&model, &key, &attention] { model.PressShortcut(key, attention); });
    });
    form_->addAction(action);
  }
}

void WindowMenu::AddSpeechEntries() {
  speak_ = new QAction(menu_);
  speak_->setObjectName(QStringLiteral("SpeakAction"));
  speak_->setShortcut(QKeySequence(Qt::Key_F2));
  speak_->setShortcutContext(Qt::WindowShortcut);
  speak_->setShortcutVisibleInContextMenu(false);  // the caption says "(F2)"
  QObject::connect(speak_, &QAction::triggered, this, [this] {
    const ui::Attention attention = Attention();
    ui::Window& model = binding_.Model();
    platform_.Deliver([&model, &attention] { model.RequestSpeech(attention); });
  });
  form_->addAction(speak_);  // F2 anywhere in the window
  auto_ = new QAction(menu_);
  auto_->setObjectName(QStringLiteral("AutoSpeakAction"));
  auto_->setCheckable(true);
  QObject::connect(auto_, &QAction::toggled, this, [this](bool on) { speech_.SetAutoSpeak(on); });
  voices_ = new QMenu(menu_);
  voices_->setObjectName(QStringLiteral("VoiceMenu"));
  voice_group_ = new QActionGroup(voices_);
  menu_->addAction(speak_);
  menu_->addAction(auto_);
  menu_->addMenu(voices_);
  // The voices are asked for, from whichever menu.
  QObject::connect(voices_, &QMenu::aboutToShow, this, [this] { speech_.Start(); });
  QObject::connect(&speech_, &Speech::StateChanged, this, [this] { Refresh(); });
  // Captions only: the settings and the engine are left alone until the menu is first used.
  speak_->setText(QStringLiteral("朗读 (F2)"));
  auto_->setText(QStringLiteral("自动朗读"));
  voices_->setTitle(QStringLiteral("语音"));
}

void WindowMenu::HookContextMenus() {
  // A right click or the Menu key anywhere in the window that no control takes for itself.
  new EventHook(form_, [this](QEvent* event) {
    if (event->type() != QEvent::ContextMenu) return false;
    menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  });
  // The text boxes keep their own menus (copy, paste), with the window's entries added.
  const auto hook_box = [this](QWidget* box, QObject* watched) {
    new EventHook(watched, [this, box](QEvent* event) {
      if (event->type() != QEvent::ContextMenu) return false;
      PopupTextMenu(box, static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    });
  };
  for (QLineEdit* edit : form_->findChildren<QLineEdit*>()) hook_box(edit, edit);
  for (QPlainTextEdit* area : form_->findChildren<QPlainTextEdit*>()) {
    hook_box(area, area);
    hook_box(area, area->viewport());
  }
}

ui::Attention WindowMenu::Attention() const {
  ui::Attention attention;
  attention.focus = binding_.FocusHolder();
  for (const ui::Control* control : binding_.Model().Controls()) {
    auto* w = form_->findChild<QWidget*>(QString::fromStdString(control->Name()),
                                         Qt::FindDirectChildrenOnly);
    QString selected;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
      selected = edit->selectedText();
    else if (auto* area = qobject_cast<QPlainTextEdit*>(w))
      selected = area->textCursor()
                     .selectedText()
                     .replace(QChar::ParagraphSeparator, QLatin1Char('\n'))
                     .replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (!selected.isEmpty()) attention.selections.emplace_back(control, ToModelText(selected));
  }
  return attention;
}

void WindowMenu::AddModelEntries(QMenu* menu, QAction* before) {
  for (QAction* action : model_actions_) delete action;
  model_actions_.clear();
  std::vector<ui::Window::MenuEntry> entries;
  ui::Window& model = binding_.Model();
  platform_.Deliver([&model, &entries] { entries = model.MenuEntries(); });
  before->setVisible(!entries.empty() && speak_);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ui::Window::MenuEntry& entry = entries[i];
    // Owned here, not by the menu: a text box's menu goes when it closes.
    auto* action = new QAction(QString::fromStdString(entry.caption), this);
    action->setObjectName(QStringLiteral("WindowAction%1").arg(i));
    action->setEnabled(entry.enabled && entry.act);
    action->setCheckable(entry.checkable);
    action->setChecked(entry.checked);
    if (entry.act) {
      QObject::connect(action, &QAction::triggered, this, [this, act = entry.act] {
        const ui::Attention attention = Attention();
        platform_.Deliver([&act, &attention] { act(attention); });
      });
    }
    menu->insertAction(before, action);
    model_actions_.push_back(action);
  }
}

void WindowMenu::PopupTextMenu(QWidget* box, QPoint global) {
  QMenu* menu = nullptr;
  if (auto* edit = qobject_cast<QLineEdit*>(box))
    menu = edit->createStandardContextMenu();
  else if (auto* area = qobject_cast<QPlainTextEdit*>(box))
    menu = area->createStandardContextMenu(area->viewport()->mapFromGlobal(global));
  if (!menu) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  StopOnEveryLine(menu);
  AddModelEntries(menu, menu->addSeparator());
  if (speak_) {
    menu->addSeparator();
    menu->addAction(speak_);
    menu->addAction(auto_);
    menu->addMenu(voices_);
    Refresh();  // the engine is left alone: copying and pasting is no request to speak
  }
  menu->popup(global);
}

void WindowMenu::Refresh() {
  const SpeechState& state = speech_.State();
  const view::SpeechCaptions captions = view::SpeechEntryCaptions(state.status);
  const bool usable = state.Usable();
  speak_->setEnabled(usable);
  speak_->setText(QString::fromStdString(captions.speak));
  {
    const QSignalBlocker quiet(auto_);  // showing the setting is not changing it
    auto_->setChecked(speech_.AutoSpeak());
  }
  auto_->setEnabled(usable);
  auto_->setText(QString::fromStdString(captions.auto_speak));
  voices_->setTitle(QString::fromStdString(captions.voices));
  voices_->setEnabled(usable);

  voices_->clear();
  for (QAction* a : voice_group_->actions()) voice_group_->removeAction(a);
  if (state.status == Status::Idle || state.status == Status::Starting) {
    voices_->addAction(QString::fromUtf8(view::kSpeechStarting))->setEnabled(false);
    return;
  }
  const QString chosen = speech_.Voice();
  const auto add = [this, &chosen](const QString& caption, const QString& name) {
    QAction* a = voices_->addAction(caption);
    a->setCheckable(true);
    a->setChecked(name == chosen);
    voice_group_->addAction(a);
    QObject::connect(a, &QAction::triggered, this, [this, name] { speech_.SetVoice(name); });
  };
  add(QString::fromUtf8(view::kDefaultVoice), QString());
  for (const QString& name : state.voices) add(name, name);
}

}  // namespace qtbind
