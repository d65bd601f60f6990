// Prints a top-level window's layout as the system sees it, for the GUI scripts that drive the
// Windows programs with real X input: where to click, and what the controls say.
//   window_inspect TITLE [--until TEXT] [--gone]
// waits up to 60 s for a visible window captioned TITLE (with --until, also for a control
// shown whose text contains TEXT; with --gone, for no such window) and prints, one line each:
//   window X Y W H        the whole window on the screen
//   client X Y W H E      the client area on the screen; E is 1 when the window is enabled
//   CLASS X Y W H V E C TEXT  each control, relative to the client area; V visible,
//                         E enabled, C checked
//   focus CLASS TEXT      the control that has the keyboard focus, when one of this window has
// Ends with status 1 when the wait runs out. Menus are not listed: a process cannot read
// another's under Wine, so the scripts open them with the keyboard.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string narrow(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::string textOf(HWND hwnd) {
  wchar_t text[512] = L"";
  // WM_GETTEXT rather than GetWindowText, which does not read other processes' controls.
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                      nullptr);
  std::string out = narrow(text);
  for (char& c : out)
    if (c == '\n' || c == '\r') c = ' ';
  return out;
}

struct Search {
  std::wstring title;
  std::string until;
  HWND found = nullptr;
};

BOOL CALLBACK findTop(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t text[256] = L"";
  GetWindowTextW(hwnd, text, 256);
  if (!IsWindowVisible(hwnd) || search->title != text) return TRUE;
  search->found = hwnd;
  return FALSE;
}

BOOL CALLBACK findText(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  // A hidden control keeps its last text: only a shown one counts.
  if (!IsWindowVisible(hwnd) || textOf(hwnd).find(search->until) == std::string::npos) return TRUE;
  search->until.clear();
  return FALSE;
}

struct Dump {
  HWND top;
  POINT origin;  // the client area's top left on the screen
};

BOOL CALLBACK printControl(HWND hwnd, LPARAM data) {
  const auto* dump = reinterpret_cast<const Dump*>(data);
  RECT r;
  GetWindowRect(hwnd, &r);
  wchar_t className[64] = L"";
  GetClassNameW(hwnd, className, 64);
  const std::string kind = narrow(className);
  // Check boxes and radio buttons answer with their state; other controls print 0.
  DWORD_PTR checked = 0;
  if (kind == "Button")
    SendMessageTimeoutW(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &checked);
  std::printf("%s %ld %ld %ld %ld %d %d %d %s\n", kind.c_str(), r.left - dump->origin.x,
              r.top - dump->origin.y, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(hwnd) ? 1 : 0, IsWindowEnabled(hwnd) ? 1 : 0, int(checked),
              textOf(hwnd).c_str());
  return TRUE;
}

void print(HWND top) {
  Dump dump{top, {0, 0}};
  ClientToScreen(top, &dump.origin);
  RECT client;
  GetClientRect(top, &client);
  RECT frame;
  GetWindowRect(top, &frame);
  std::printf("window %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
              frame.bottom - frame.top);
  std::printf("client %ld %ld %ld %ld %d\n", dump.origin.x, dump.origin.y, client.right,
              client.bottom, IsWindowEnabled(top) ? 1 : 0);
  EnumChildWindows(top, printControl, reinterpret_cast<LPARAM>(&dump));
  GUITHREADINFO thread{sizeof thread, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
  if (GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &thread) && thread.hwndFocus &&
      IsChild(top, thread.hwndFocus)) {
    wchar_t className[64] = L"";
    GetClassNameW(thread.hwndFocus, className, 64);
    std::printf("focus %s %s\n", narrow(className).c_str(), textOf(thread.hwndFocus).c_str());
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: window_inspect TITLE [--until TEXT] [--gone]\n", stderr);
    return 2;
  }
  // Lines end in "\n" alone, as the scripts that read them expect.
  _setmode(_fileno(stdout), _O_BINARY);
  Search search;
  search.title = argv[1];
  bool gone = false;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--gone") gone = true;
    if (arg == L"--until" && i + 1 < argc) search.until = narrow(argv[++i]);
  }
  const std::string until = search.until;
  for (int tries = 0; tries < 600; ++tries, Sleep(100)) {
    search.found = nullptr;
    EnumWindows(findTop, reinterpret_cast<LPARAM>(&search));
    if (gone) {
      if (!search.found) return 0;
      continue;
    }
    if (!search.found) continue;
    search.until = until;
    if (!until.empty()) EnumChildWindows(search.found, findText, reinterpret_cast<LPARAM>(&search));
    if (!search.until.empty()) continue;
    print(search.found);
    return 0;
  }
  std::fprintf(stderr, "window_inspect: no window \"%s\"%s%s\n",
               narrow(search.title.c_str()).c_str(), until.empty() ? "" : " showing ",
               until.c_str());
  return 1;
}
