#include "qt/speech_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QWidget>

#include "qt/convert.h"
#include "qt/qt_platform.h"
#include "qt/speech.h"
#include "qt/widgets.h"
#include "qt/window_binding.h"

namespace qtbind {
namespace {

using Status = SpeechState::Status;

// Why the entries cannot work yet or at all, for their captions; "" when they can.
QString Reason(const SpeechState& state) {
  switch (state.status) {
    case Status::Starting:
      return QStringLiteral("正在启动语音引擎…");
    case Status::NoEngine:
      return QStringLiteral("未安装语音引擎");
    case Status::NoEnglishVoice:
      return QStringLiteral("未安装英语语音");
    default:
      return {};
  }
}

QString Captioned(const QString& entry, const QString& reason) {
  return reason.isEmpty() ? entry : entry + QStringLiteral("（") + reason + QStringLiteral("）");
}

}  // namespace

void BindSpeech(WindowBinding& binding, QtPlatform& platform) {
  new SpeechMenu(binding.Form(), platform.SpeechService(), [&binding, &platform] {
    ui::SpeechRequest request;
    request.focus = binding.FocusHolder();
    for (const ui::Control* control : binding.Model().Controls()) {
      auto* w = binding.Form()->findChild<QWidget*>(QString::fromStdString(control->Name()),
                                                    Qt::FindDirectChildrenOnly);
      QString selected;
      if (auto* edit = qobject_cast<QLineEdit*>(w))
        selected = edit->selectedText();
      else if (auto* area = qobject_cast<QPlainTextEdit*>(w))
        selected = area->textCursor()
                       .selectedText()
                       .replace(QChar::ParagraphSeparator, QLatin1Char('\n'))
                       .replace(QChar::LineSeparator, QLatin1Char('\n'));
      if (!selected.isEmpty()) request.selections.emplace_back(control, ToModelText(selected));
    }
    ui::Window& window = binding.Model();
    platform.Deliver([&window, &request] { window.RequestSpeech(request); });
  });
}

SpeechMenu::SpeechMenu(QWidget* form, Speech& speech, std::function<void()> ask)
    : QObject(form), speech_(speech), form_(form) {
  menu_ = new QMenu(form);
  menu_->setObjectName(QStringLiteral("SpeechMenu"));
  speak_ = new QAction(menu_);
  speak_->setObjectName(QStringLiteral("SpeakAction"));
  speak_->setShortcut(QKeySequence(Qt::Key_F2));
  speak_->setShortcutContext(Qt::WindowShortcut);
  speak_->setShortcutVisibleInContextMenu(false);  // the caption says "(F2)"
  QObject::connect(speak_, &QAction::triggered, this, [ask = std::move(ask)] { ask(); });
  form->addAction(speak_);  // F2 anywhere in the window
  auto_ = new QAction(menu_);
  auto_->setObjectName(QStringLiteral("AutoSpeakAction"));
  auto_->setCheckable(true);
  QObject::connect(auto_, &QAction::toggled, this, [this](bool on) { speech_.SetAutoSpeak(on); });
  voices_ = new QMenu(menu_);
  voices_->setObjectName(QStringLiteral("VoiceMenu"));
  voice_group_ = new QActionGroup(voices_);
  AddEntries(menu_);
  QObject::connect(menu_, &QMenu::aboutToShow, this, [this] {
    speech_.Start();  // the window's menu is all speech: it shows what is installed
    Refresh();
  });
  // The voices are asked for, from whichever menu.
  QObject::connect(voices_, &QMenu::aboutToShow, this, [this] { speech_.Start(); });
  QObject::connect(&speech_, &Speech::StateChanged, this, [this] { Refresh(); });
  // Captions only: the settings and the engine are left alone until the menu is first used.
  speak_->setText(QStringLiteral("朗读 (F2)"));
  auto_->setText(QStringLiteral("自动朗读"));
  voices_->setTitle(QStringLiteral("语音"));

  // A right click or the Menu key anywhere in the window that no control takes for itself.
  new EventHook(form, [this](QEvent* event) {
    if (event->type() != QEvent::ContextMenu) return false;
    menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  });
  // The text boxes keep their own menus (copy, paste), with the speech entries added.
  const auto hook_box = [this](QWidget* box, QObject* watched) {
    new EventHook(watched, [this, box](QEvent* event) {
      if (event->type() != QEvent::ContextMenu) return false;
      PopupTextMenu(box, static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    });
  };
  for (QLineEdit* edit : form->findChildren<QLineEdit*>()) hook_box(edit, edit);
  for (QPlainTextEdit* area : form->findChildren<QPlainTextEdit*>()) {
    hook_box(area, area);
    hook_box(area, area->viewport());
  }
}

void SpeechMenu::PopupTextMenu(QWidget* box, QPoint global) {
  QMenu* menu = nullptr;
  if (auto* edit = qobject_cast<QLineEdit*>(box))
    menu = edit->createStandardContextMenu();
  else if (auto* area = qobject_cast<QPlainTextEdit*>(box))
    menu = area->createStandardContextMenu(area->viewport()->mapFromGlobal(global));
  if (!menu) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  AddEntries(menu);
  Refresh();  // the engine is left alone: copying and pasting is no request to speak
  menu->popup(global);
}

void SpeechMenu::AddEntries(QMenu* menu) {
  menu->addAction(speak_);
  menu->addAction(auto_);
  menu->addMenu(voices_);
}

void SpeechMenu::Refresh() {
  const SpeechState& state = speech_.State();
  const QString reason = Reason(state);
  const bool usable = state.Usable();
  speak_->setEnabled(usable);
  // A usable entry names its key, and says so while the engine starts; a disabled one says
  // why instead.
  speak_->setText(state.status == Status::Failed
                      ? QStringLiteral("朗读 (F2)（语音引擎出错，再试一次）")
                  : usable ? Captioned(QStringLiteral("朗读 (F2)"), reason)
                           : Captioned(QStringLiteral("朗读"), reason));
  {
    const QSignalBlocker quiet(auto_);  // showing the setting is not changing it
    auto_->setChecked(speech_.AutoSpeak());
  }
  auto_->setEnabled(usable);
  auto_->setText(Captioned(QStringLiteral("自动朗读"), reason));
  voices_->setTitle(Captioned(QStringLiteral("语音"), reason));
  voices_->setEnabled(usable);

  voices_->clear();
  for (QAction* a : voice_group_->actions()) voice_group_->removeAction(a);
  if (state.status == Status::Idle || state.status == Status::Starting) {
    voices_->addAction(QStringLiteral("正在启动语音引擎…"))->setEnabled(false);
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
  add(QStringLiteral("默认"), QString());
  for (const QString& name : state.voices) add(name, name);
}

}  // namespace qtbind
