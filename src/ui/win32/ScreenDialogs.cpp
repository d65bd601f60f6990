// The on-screen answerer of the dialogs interface: the system's message box, open-file dialog
// and folder browser.
#include <windows.h>
// The common dialogs and the shell need the base declarations first.
#include <commdlg.h>
#include <shlobj.h>

#include <cwchar>

#include "platform/Utf16.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace ui {

namespace {

// The window a message belongs to: the active one of this program, else the main form.
HWND messageOwner() {
  if (HWND active = GetActiveWindow()) return active;
  if (Form* main = Application::instance().mainForm(); main && main->visible())
    return static_cast<HWND>(main->hwnd());
  return nullptr;
}

UINT iconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return MB_ICONINFORMATION;
    case MessageKind::Warning:
      return MB_ICONWARNING;
    case MessageKind::Error:
      break;
  }
  return MB_ICONERROR;
}

int CALLBACK preselectFolder(HWND hwnd, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

void ScreenDialogs::message(MessageKind kind, const std::string& caption, const std::string& text) {
  MessageBoxW(messageOwner(), platform::toUtf16(text).c_str(), platform::toUtf16(caption).c_str(),
              MB_OK | iconFor(kind));
}

bool ScreenDialogs::confirm(const std::string& caption, const std::string& text) {
  return MessageBoxW(messageOwner(), platform::toUtf16(text).c_str(),
                     platform::toUtf16(caption).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<std::string> ScreenDialogs::openFile(const std::string& initialName) {
  std::wstring buffer = platform::toUtf16(initialName);
  buffer.resize(std::max<std::size_t>(buffer.size() + 1, 32768), L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = messageOwner();
  ofn.lpstrFilter = L"All files (*.*)\0*.*\0";
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = DWORD(buffer.size());
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return platform::fromUtf16(buffer.c_str(), std::wcslen(buffer.c_str()));
}

std::optional<std::string> ScreenDialogs::chooseFolder(const std::string& title,
                                                       const std::string& initialFolder) {
  const std::wstring wideTitle = platform::toUtf16(title);
  const std::wstring start = platform::toUtf16(initialFolder);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = messageOwner();
  info.pszDisplayName = display;
  info.lpszTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = preselectFolder;
  info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::optional<std::string> chosen;
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
    // Long paths need more than MAX_PATH: ask with a growing buffer.
    std::wstring path(MAX_PATH, L'\0');
    if (SHGetPathFromIDListEx(list, path.data(), DWORD(path.size()), GPFIDL_DEFAULT) ||
        (path.assign(32768, L'\0'),
         SHGetPathFromIDListEx(list, path.data(), DWORD(path.size()), GPFIDL_DEFAULT)))
      chosen = platform::fromUtf16(path.c_str(), std::wcslen(path.c_str()));
    CoTaskMemFree(list);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

}  // namespace ui
