// Typed keys of Win32 edits: the characters of WM_CHAR go through the key hook before the
// system's edit sees them.
#include <windows.h>

#include "platform/Utf16.h"
#include "ui/Edit.h"
#include "ui/Events.h"

namespace ui {

// The system's edit masks by itself.
void Edit::applyPasswordChar() { setMask(m_passwordChar); }

void Edit::draw() {}

int Edit::handle(int event) {
  if (event != kKeyChar) return NativeInput::handle(event);
  const unsigned unit = typedKey();
  // Ctrl+Backspace types 0x7F: it deletes a word, as the system's edit does, and types nothing.
  if (unit == 0x7F) return 0;
  if (unit >= 0x80) {
    // A character of several bytes is only seen by the key hook; the edit inserts it when taken.
    const wchar_t wide = wchar_t(unit);
    const std::string text = platform::fromUtf16(&wide, 1);
    char lead = text.empty() ? char(0x80) : text[0];
    const char typed = lead;
    runEvent([&] { keyPress(lead); });
    return lead != typed ? 1 : 0;
  }
  bool used = false;
  runEvent([&] { used = typeChar(char(unit)); });
  // Enter and Escape that the hook let through have nothing to do in a one-line edit, and
  // the system's edit would only beep.
  return used || unit == kEnterChar || unit == kEscapeChar;
}

}  // namespace ui
