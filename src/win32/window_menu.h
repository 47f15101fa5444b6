// A mode window's menu (right click, the Menu key or Shift+F10): the window's own entries
// first (the review round, the progress window, 记录学习进度, ...), asked of the model each
// time the menu opens, then the speech entries "朗读 (F2)", "自动朗读" and the "语音" submenu for
// a window that speaks. Over a text box, copying (and pasting into a box that takes text)
// comes first. Entries that cannot work are greyed and say why. Opening the menu of a window
// that speaks starts the speech engine, so that the menu shows what is installed.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

class Win32Platform;
class WindowBinding;

// Opens the menu at `at` (screen pixels) and runs the chosen entry through the dispatcher.
void OpenWindowMenu(WindowBinding& binding, Win32Platform& platform, POINT at);

// Whether `key` as the model writes it ("F3", "Ctrl+Z") is the virtual key `virtual_key`
// pressed with these modifiers.
bool MatchesKey(const std::string& key, UINT virtual_key, bool ctrl, bool shift, bool alt);

}  // namespace win32
