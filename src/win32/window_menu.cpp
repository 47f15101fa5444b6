#include "win32/window_menu.h"

#include <functional>
#include <vector>

#include "view/wording.h"
#include "win32/convert.h"
#include "win32/win32_platform.h"
#include "win32/window_binding.h"

namespace win32 {
namespace {

// The menu being built: its entries and what each does when chosen.
class MenuBuilder {
 public:
  MenuBuilder() : menu_(CreatePopupMenu()) {}
  ~MenuBuilder() { DestroyMenu(menu_); }
  MenuBuilder(const MenuBuilder&) = delete;
  MenuBuilder& operator=(const MenuBuilder&) = delete;

  HMENU Menu() const { return menu_; }
  void Add(HMENU into, const std::string& caption, bool enabled, bool checked,
           std::function<void()> act) {
    UINT flags = MF_STRING | (enabled && act ? MF_ENABLED : MF_GRAYED);
    if (checked) flags |= MF_CHECKED;
    acts_.push_back(std::move(act));
    AppendMenuW(into, flags, acts_.size(), Widen(caption).c_str());
  }
  void Separator() {
    if (GetMenuItemCount(menu_) > 0) AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  }
  // Shows the menu and runs the chosen entry.
  void Run(HWND owner, POINT at) {
    const auto chosen = static_cast<std::size_t>(TrackPopupMenu(
        menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    if (chosen > 0 && chosen <= acts_.size() && acts_[chosen - 1]) acts_[chosen - 1]();
  }

 private:
  HMENU menu_;
  std::vector<std::function<void()>> acts_;
};

// Cut, copy and paste for the text box that holds the focus.
void AddBoxEntries(MenuBuilder& menu, HWND box, bool takes_text) {
  DWORD from = 0, to = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const bool selected = to > from;
  auto send = [box](UINT message) { return [box, message] { SendMessageW(box, message, 0, 0); }; };
  if (takes_text) menu.Add(menu.Menu(), "剪切", selected, false, send(WM_CUT));
  menu.Add(menu.Menu(), "复制", selected, false, send(WM_COPY));
  if (takes_text)
    menu.Add(menu.Menu(), "粘贴", IsClipboardFormatAvailable(CF_UNICODETEXT), false,
             send(WM_PASTE));
  menu.Separator();
}

void AddSpeechEntries(MenuBuilder& menu, WindowBinding& binding, Win32Platform& platform) {
  const view::SpeechStatus status = platform.SpeechState();
  const view::SpeechCaptions captions = view::SpeechEntryCaptions(status);
  const bool usable = view::SpeechUsable(status);
  ui::Window& window = binding.Model();
  menu.Add(menu.Menu(), captions.speak, usable, false, [&binding, &platform, &window] {
    const ui::Attention attention = binding.Attention();
    platform.Deliver([&window, &attention] { window.RequestSpeech(attention); });
  });
  const bool on = platform.AutoSpeak();
  menu.Add(menu.Menu(), captions.auto_speak, usable, on,
           [&platform, on] { platform.SetAutoSpeak(!on); });
  HMENU voices = CreatePopupMenu();
  if (status == view::SpeechStatus::Idle || status == view::SpeechStatus::Starting) {
    menu.Add(voices, view::kSpeechStarting, false, false, nullptr);
  } else {
    const std::string chosen = platform.Voice();
    menu.Add(voices, view::kDefaultVoice, true, chosen.empty(),
             [&platform] { platform.SetVoice(""); });
    for (const std::string& name : platform.Voices())
      menu.Add(voices, name, true, name == chosen, [&platform, name] { platform.SetVoice(name); });
  }
  AppendMenuW(menu.Menu(), MF_POPUP | (usable ? MF_ENABLED : MF_GRAYED),
              reinterpret_cast<UINT_PTR>(voices), Widen(captions.voices).c_str());
}

}  // namespace

void OpenWindowMenu(WindowBinding& binding, Win32Platform& platform, POINT at) {
  ui::Window& window = binding.Model();
  if (!platform.Accepting()) return;
  MenuBuilder menu;
  const auto* box = dynamic_cast<const ui::TextBox*>(binding.FocusHolder());
  if (box) AddBoxEntries(menu, binding.HandleOf(box), !box->MultiLine());
  std::vector<ui::Window::MenuEntry> entries;
  platform.Deliver([&window, &entries] { entries = window.MenuEntries(); });
  for (const ui::Window::MenuEntry& entry : entries) {
    std::function<void()> act;
    if (entry.act) {
      act = [&binding, &platform, act = entry.act] {
        const ui::Attention attention = binding.Attention();
        platform.Deliver([&act, &attention] { act(attention); });
      };
    }
    menu.Add(menu.Menu(), entry.caption, entry.enabled, entry.checked, std::move(act));
  }
  if (window.Speaks()) {
    platform.StartSpeech();  // the menu shows what is installed
    menu.Separator();
    AddSpeechEntries(menu, binding, platform);
  }
  if (GetMenuItemCount(menu.Menu()) == 0) return;
  menu.Run(binding.Handle(), at);
}

bool MatchesKey(const std::string& key, UINT virtual_key, bool ctrl, bool shift, bool alt) {
  std::string rest = key;
  bool want_ctrl = false, want_shift = false, want_alt = false;
  for (auto [prefix, flag] : {std::pair<const char*, bool*>{"Ctrl+", &want_ctrl},
                              {"Shift+", &want_shift},
                              {"Alt+", &want_alt}}) {
    const std::string p = prefix;
    if (rest.rfind(p, 0) == 0) {
      *flag = true;
      rest.erase(0, p.size());
    }
  }
  if (want_ctrl != ctrl || want_shift != shift || want_alt != alt || rest.empty()) return false;
  if (rest.size() > 1 && rest[0] == 'F') {
    const int number = std::atoi(rest.c_str() + 1);
    return number >= 1 && number <= 24 && virtual_key == static_cast<UINT>(VK_F1 + number - 1);
  }
  if (rest.size() != 1) return false;
  const char c = rest[0];
  return virtual_key == static_cast<UINT>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

}  // namespace win32
