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

// The file-system path of a shell item; empty for items that have none (printers, the
// network root). Long paths need more than MAX_PATH: ask again with a larger buffer.
std::string itemPath(PCIDLIST_ABSOLUTE item) {
  if (!item) return {};
  std::wstring path(MAX_PATH, L'\0');
  if (!SHGetPathFromIDListEx(item, path.data(), DWORD(path.size()), GPFIDL_DEFAULT)) {
    path.assign(32768, L'\0');
    if (!SHGetPathFromIDListEx(item, path.data(), DWORD(path.size()), GPFIDL_DEFAULT)) return {};
  }
  return platform::fromUtf16(path.c_str(), std::wcslen(path.c_str()));
}

struct BrowseState {
  const FolderRequest* request;
  std::wstring start;
};

// Centred across the window in the foreground, its top a quarter of that window's height
// below the window's top; moved only.
void placeOverForeground(HWND dialog) {
  HWND over = GetForegroundWindow();
  if (!over || over == dialog) return;
  RECT outer{}, own{};
  if (!GetWindowRect(over, &outer) || !GetWindowRect(dialog, &own)) return;
  const int width = own.right - own.left;
  const int left = outer.left + ((outer.right - outer.left) - width) / 2;
  const int top = outer.top + (outer.bottom - outer.top) / 4;
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

int CALLBACK browseCallback(HWND hwnd, UINT message, LPARAM param, LPARAM data) {
  const auto* state = reinterpret_cast<const BrowseState*>(data);
  switch (message) {
    case BFFM_INITIALIZED:
      placeOverForeground(hwnd);
      if (!state->start.empty())
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(state->start.c_str()));
      if (state->request->initialized) state->request->initialized(hwnd);
      break;
    case BFFM_SELCHANGED: {
      const std::string path = itemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(param));
      if (state->request->statusText) {
        const std::wstring status = platform::toUtf16(state->request->statusText(path));
        SendMessageW(hwnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(status.c_str()));
      }
      // Only a file-system folder can be confirmed.
      SendMessageW(hwnd, BFFM_ENABLEOK, 0, path.empty() ? FALSE : TRUE);
      if (state->request->selectionChanged)
        state->request->selectionChanged(hwnd, reinterpret_cast<const void*>(param), path);
      break;
    }
    default:
      break;
  }
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
  FolderRequest request;
  request.title = title;
  request.initialFolder = initialFolder;
  return browseFolder(request);
}

std::optional<std::string> ScreenDialogs::browseFolder(const FolderRequest& request) {
  const std::wstring title = platform::toUtf16(request.title);
  BrowseState state{&request, platform::toUtf16(request.initialFolder)};
  wchar_t display[MAX_PATH] = {};
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOW info{};
  info.hwndOwner = messageOwner();
  PIDLIST_ABSOLUTE root = nullptr;
  if (request.rootFolder >= 0 &&
      FAILED(SHGetSpecialFolderLocation(info.hwndOwner, request.rootFolder, &root)))
    root = nullptr;  // a root this system lacks: the whole tree
  info.pidlRoot = root;
  info.pszDisplayName = display;
  info.lpszTitle = title.empty() ? nullptr : title.c_str();
  info.ulFlags = request.flags;
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  std::optional<std::string> chosen;
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
    if (std::string path = itemPath(list); !path.empty()) chosen = std::move(path);
    CoTaskMemFree(list);
  }
  if (root) CoTaskMemFree(root);
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

}  // namespace ui
