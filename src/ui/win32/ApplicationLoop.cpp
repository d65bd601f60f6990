// The application on Win32: the message loop, in which the dialog manager takes Tab, Enter,
// Space and Escape for every form.
#include <windows.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "ui/Application.h"
#include "ui/Control.h"

namespace ui {

namespace {

void dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

BOOL CALLBACK disableOther(HWND hwnd, LPARAM data) {
  auto* modal = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(data);
  if (hwnd != modal->first && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    modal->second.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

void Form::runModal(Control* focus) {
  std::pair<HWND, std::vector<HWND>> modal{static_cast<HWND>(hwnd()), {}};
  EnumThreadWindows(GetCurrentThreadId(), disableOther, reinterpret_cast<LPARAM>(&modal));
  disableWhileShown({modal.second.begin(), modal.second.end()});
  show();
  if (focus) focus->widget().take_focus();
  MSG msg;
  while (shown()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The loop of run() must still see a quit.
      if (got == 0) PostQuitMessage(int(msg.wParam));
      break;
    }
    dispatch(msg);
  }
  // A loop ended by a quit leaves the form shown: hiding it enables the others first.
  if (shown()) hide();
  enableTheDisabled();
}

// A Windows session always has its desktop; the windows are the system's.
bool Application::initializeScreen() {
  if (m_onScreen) return true;
  useScreen();
  return true;
}

void Application::attachTerminal() {
  // A stream that the caller redirected (a file, a pipe) stays where it goes.
  auto missing = [](DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
  };
  const bool out = missing(STD_OUTPUT_HANDLE), err = missing(STD_ERROR_HANDLE);
  // Started from Explorer there is no terminal, and the output has nowhere to go.
  if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (out) std::freopen("CONOUT$", "w", stdout);
  if (err) std::freopen("CONOUT$", "w", stderr);
}

int Application::run() {
  if (Form* main = mainForm()) main->show();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch(msg);
  return msg.message == WM_QUIT ? int(msg.wParam) : 0;
}

void Application::processMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The loop of run() must still see it.
      PostQuitMessage(int(msg.wParam));
      return;
    }
    dispatch(msg);
  }
}

}  // namespace ui
