// The speech entries of a mode window: a context menu (right click, or the Menu key) holding
// "朗读 (F2)", "自动朗读" and the "语音" submenu, and F2 itself. A text box keeps its own menu,
// with the speech entries added below. Entries that cannot work are disabled and say why.
// The engine is started by what asks for speech: the window's menu, which is all speech, F2,
// and the "语音" submenu that lists the voices; a text box's menu, opened to copy or paste,
// leaves it alone. While it starts, the entries say so.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace qtbind {

class QtPlatform;
class Speech;
class WindowBinding;

// Gives a window that can speak its menu and F2, once its widgets exist. A request to hear a
// word reaches the model with the control holding the focus and the text selected in each
// text box.
void BindSpeech(WindowBinding& binding, QtPlatform& platform);

class SpeechMenu : public QObject {
 public:
  // A child of `form`, made once its controls' widgets exist; `ask` delivers the learner's
  // request to hear a word.
  SpeechMenu(QWidget* form, Speech& speech, std::function<void()> ask);

  // The window's menu (for tests: the one a right click opens).
  QMenu* Menu() const { return menu_; }

 private:
  // Adds the window's entries at the end of `menu`: the window's own menu, or a text box's
  // below its copy and paste. Each group of entries goes here, after a separator of its own.
  void AddEntries(QMenu* menu);
  // The entries as the engine's state and the settings stand now.
  void Refresh();
  // A text box's own menu with the speech entries below it.
  void PopupTextMenu(QWidget* box, QPoint global);

  Speech& speech_;
  QWidget* form_;
  QMenu* menu_;
  QAction* speak_;
  QAction* auto_;
  QMenu* voices_;
  QActionGroup* voice_group_;
};

}  // namespace qtbind
