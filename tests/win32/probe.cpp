// probe: looks at the desktop from inside wine (or Windows) for the tests and benchmarks that
// drive Vantle.exe from outside. Commands (texts in and out in UTF-8):
//   probe list [TITLE]        every visible top-level window (or those titled TITLE) and its
//                             children, one per line: depth, handle, class, visible, enabled,
//                             the screen rectangle "l t r b" and the text, tab-separated
//   probe wait TITLE [MS]     waits until a visible top-level window is titled TITLE (a title
//                             ending in "*" matches by its start), prints its handle
//   probe centre HANDLE       prints a window's screen centre "x y" (for xdotool)
//   probe row HANDLE INDEX    scrolls a list box to row INDEX and prints that row's centre
//   probe rows HANDLE         prints a list box's rows
//   probe click HANDLE        presses a button with BM_CLICK
//   probe close HANDLE        asks a window to close (WM_CLOSE, as its close box does)
//   probe message [MS]        waits for a message box captioned "Vantle", prints its text
//   probe memory EXE          prints the working set and its peak, in KiB, of a running EXE
// The exit code is 0 on success, 1 when the thing looked for is not there (in time).
#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Text(HWND window) {
  wchar_t buffer[4096] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      2000, &length);
  return std::wstring(buffer, length);
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, static_cast<size_t>(length));
}

// One line of text: CR, LF and tab shown as \r, \n and \t.
std::string OneLine(const std::wstring& text) {
  std::string out;
  for (char c : Utf8(text)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

void PrintWindow(HWND window, int depth) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%d\t%llu\t%s\t%d\t%d\t%ld %ld %ld %ld\t%s\n", depth,
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
              Utf8(ClassOf(window)).c_str(), IsWindowVisible(window) ? 1 : 0,
              IsWindowEnabled(window) ? 1 : 0, r.left, r.top, r.right, r.bottom,
              OneLine(Text(window)).c_str());
}

std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM found) {
        if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool TitleMatches(const std::wstring& title, const std::wstring& wanted) {
  if (!wanted.empty() && wanted.back() == L'*')
    return title.compare(0, wanted.size() - 1, wanted, 0, wanted.size() - 1) == 0;
  return title == wanted;
}

HWND FindTop(const std::wstring& title, const std::wstring& class_name = L"") {
  for (HWND window : TopWindows())
    if (TitleMatches(Text(window), title) && (class_name.empty() || ClassOf(window) == class_name))
      return window;
  return nullptr;
}

HWND WaitTop(const std::wstring& title, int ms, const std::wstring& class_name = L"") {
  for (int waited = 0;; waited += 50) {
    if (HWND window = FindTop(title, class_name)) return window;
    if (waited >= ms) return nullptr;
    Sleep(50);
  }
}

HWND Handle(const wchar_t* text) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(text, nullptr, 10)));
}

void PrintCentre(const RECT& r) {
  std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

int List(const std::wstring& title) {
  for (HWND top : TopWindows()) {
    if (!title.empty() && !TitleMatches(Text(top), title)) continue;
    PrintWindow(top, 0);
    EnumChildWindows(
        top,
        [](HWND child, LPARAM) {
          int depth = 0;
          for (HWND up = child; up && (GetWindowLongW(up, GWL_STYLE) & WS_CHILD);
               up = GetParent(up))
            ++depth;
          PrintWindow(child, depth);
          return TRUE;
        },
        0);
  }
  return 0;
}

int Row(HWND list, int index) {
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT r{};
  if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    return 1;
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  PrintCentre(r);
  return 0;
}

int Rows(HWND list) {
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT k = 0; k < count; ++k) {
    std::wstring row(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, k, 0)) + 1, L'\0');
    row.resize(static_cast<size_t>(
        SendMessageW(list, LB_GETTEXT, k, reinterpret_cast<LPARAM>(row.data()))));
    std::printf("%s\n", OneLine(row).c_str());
  }
  return count >= 0 ? 0 : 1;
}

// A message box: the dialog class captioned "Vantle"; its text is the STATIC child that is
// not the (absent) icon.
int Message(int ms) {
  HWND box = WaitTop(L"Vantle", ms, L"#32770");
  if (!box) return 1;
  std::wstring text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM found) {
        if (ClassOf(child) == L"Static" && !Text(child).empty())
          *reinterpret_cast<std::wstring*>(found) = Text(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  std::printf("%llu\t%s\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(box)),
              OneLine(text).c_str());
  return 0;
}

int Memory(const std::wstring& exe) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, exe.c_str()) != 0) continue;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    const bool read = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
    if (process) CloseHandle(process);
    CloseHandle(snapshot);
    if (!read) return 1;
    std::printf("%llu %llu\n", static_cast<unsigned long long>(counters.WorkingSetSize / 1024),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize / 1024));
    return 0;
  }
  CloseHandle(snapshot);
  return 1;
}

int Run(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const auto ms = [&](int at) { return argc > at ? _wtoi(argv[at]) : 10000; };
  if (command == L"list") return List(argc > 2 ? argv[2] : L"");
  if (command == L"wait" && argc > 2) {
    HWND window = WaitTop(argv[2], ms(3));
    if (window)
      std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return window ? 0 : 1;
  }
  if (command == L"centre" && argc > 2) {
    RECT r{};
    if (!GetWindowRect(Handle(argv[2]), &r)) return 1;
    PrintCentre(r);
    return 0;
  }
  if (command == L"row" && argc > 3) return Row(Handle(argv[2]), _wtoi(argv[3]));
  if (command == L"rows" && argc > 2) return Rows(Handle(argv[2]));
  if (command == L"click" && argc > 2) return PostMessageW(Handle(argv[2]), BM_CLICK, 0, 0) ? 0 : 1;
  if (command == L"close" && argc > 2) return PostMessageW(Handle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"message") return Message(ms(2));
  if (command == L"memory" && argc > 2) return Memory(argv[2]);
  std::fprintf(stderr, "usage: probe list|wait|centre|row|rows|click|close|message|memory ...\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int code = Run(argc, argv);
  std::fflush(stdout);
  return code;
}
