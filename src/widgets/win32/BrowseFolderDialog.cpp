// The folder browser's extra control and operations inside the shell's folder picker.
#include <windows.h>
// The shell needs the base declarations first.
#include <shlobj.h>

#include "platform/Utf16.h"
#include "widgets/BrowseFolder.h"

namespace widgets {

namespace {

constexpr int kCustomButtonId = 255;
// The picker's own window procedure and the component, kept on the picker's window: the shell
// may use the window's user data itself.
constexpr wchar_t kOwnerProperty[] = L"FennockBrowseFolder";
constexpr wchar_t kProcedureProperty[] = L"FennockBrowseFolderProc";

}  // namespace

struct BrowseFolderDialog {
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* owner = static_cast<TBrowseFolder*>(GetPropW(hwnd, kOwnerProperty));
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kProcedureProperty));
    if (message == WM_COMMAND && owner) {
      if (LOWORD(wParam) == IDOK && owner->m_customButtonType == btCheckBox &&
          owner->m_customButton)
        owner->m_customButtonChecked = SendMessageW(static_cast<HWND>(owner->m_customButton),
                                                    BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (LOWORD(wParam) == kCustomButtonId) {
        if (owner->OnCustomButtonClick) owner->OnCustomButtonClick(*owner, hwnd);
        return 0;
      }
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropW(hwnd, kOwnerProperty);
      RemovePropW(hwnd, kProcedureProperty);
    }
    return CallWindowProcW(previous, hwnd, message, wParam, lParam);
  }
};

void TBrowseFolder::createCustomButton(void* dialog) {
  const auto hwnd = static_cast<HWND>(dialog);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (m_customButtonType == btCheckBox ? BS_AUTOCHECKBOX : BS_PUSHBUTTON);
  HWND button = CreateWindowExW(0, L"BUTTON", platform::toUtf16(m_customButtonCaption).c_str(),
                                style, 12, 270, m_customButtonWidth, 23, hwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCustomButtonId)),
                                GetModuleHandleW(nullptr), nullptr);
  if (!button) return;
  m_customButton = button;
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               TRUE);
  EnableWindow(button, m_customButtonEnabled);
  if (m_customButtonType == btCheckBox)
    SendMessageW(button, BM_SETCHECK, m_customButtonChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  SetPropW(hwnd, kOwnerProperty, this);
  SetPropW(hwnd, kProcedureProperty,
           reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BrowseFolderDialog::procedure));
}

void TBrowseFolder::applyCustomButtonState() {
  if (!m_customButton) return;
  const auto button = static_cast<HWND>(m_customButton);
  EnableWindow(button, m_customButtonEnabled);
  SetWindowTextW(button, platform::toUtf16(m_customButtonCaption).c_str());
}

void TBrowseFolder::SetSelection(void* dialog, const std::string& path) {
  const std::wstring wide = platform::toUtf16(path);
  SendMessageW(static_cast<HWND>(dialog), BFFM_SETSELECTIONW, TRUE,
               reinterpret_cast<LPARAM>(wide.c_str()));
}

void TBrowseFolder::enableOKButton(void* dialog, bool enable) {
  SendMessageW(static_cast<HWND>(dialog), BFFM_ENABLEOK, 0, enable ? TRUE : FALSE);
}

}  // namespace widgets
