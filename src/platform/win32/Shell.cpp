// Opening targets with the shell's "open" verb.
#include "platform/Shell.h"

#include "platform/win32/Win32.h"

// clang-format off: the shell's header needs the types of windows.h before it.
#include <shellapi.h>
// clang-format on

namespace platform {

void openWithSystem(const std::string& target) {
  // The result is not checked: whether an application opens the target is the user's affair.
  ::ShellExecuteW(nullptr, L"open", toUtf16(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform
