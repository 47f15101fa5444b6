// A mode window's menu (right click, or the Menu key): the window's own entries first (the
// review round, the progress window, 记录学习进度, ...), asked of the model each time the menu
// opens, then the speech entries "朗读 (F2)", "自动朗读" and the "语音" submenu for a window that
// speaks. The window's shortcuts (F2, and the model's own such as F3) act anywhere in it. A
// text box keeps its own menu (copy, paste), with the window's entries added below. Entries
// that cannot work are disabled and say why.
// The speech engine is started by what asks for speech: the window's menu, F2, and the "语音"
// submenu that lists the voices; a text box's menu, opened to copy or paste, leaves it alone.
// While it starts, the entries say so.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "ui/window.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace qtbind {

class QtPlatform;
class Speech;
class WindowBinding;

// Gives a window its menu and shortcuts, once its widgets exist, when it has any: when it
// speaks, or the model offers entries or shortcuts of its own.
void BindMenu(WindowBinding& binding, QtPlatform& platform);

class WindowMenu : public QObject {
 public:
  // A child of the binding's window widget, made once its controls' widgets exist.
  WindowMenu(WindowBinding& binding, QtPlatform& platform);

  // The window's menu (for tests: the one a right click opens).
  QMenu* Menu() const { return menu_; }

 private:
  // The model's shortcuts, acting anywhere in the window.
  void AddShortcuts();
  // "朗读 (F2)", "自动朗读" and the "语音" submenu, for a window that speaks.
  void AddSpeechEntries();
  // The menu on a right click or the Menu key, and the text boxes' own menus.
  void HookContextMenus();
  // What the learner points at now: the control holding the focus, the text selected in
  // each text box.
  ui::Attention Attention() const;
  // The window's own entries as the model has them now, at the top of `menu`.
  void AddModelEntries(QMenu* menu, QAction* before);
  // The speech entries as the engine's state and the settings stand now.
  void Refresh();
  // A text box's own menu with the window's entries below it.
  void PopupTextMenu(QWidget* box, QPoint global);

  WindowBinding& binding_;
  QtPlatform& platform_;
  Speech& speech_;
  QWidget* form_;
  QMenu* menu_;
  QAction* model_end_;  // the separator after the model's entries
  std::vector<QAction*> model_actions_;
  QAction* speak_ = nullptr;  // the speech entries, for a window that speaks
  QAction* auto_ = nullptr;
  QMenu* voices_ = nullptr;
  QActionGroup* voice_group_ = nullptr;
};

}  // namespace qtbind
