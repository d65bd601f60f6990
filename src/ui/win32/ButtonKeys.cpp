// Push buttons on Win32: the dialog manager presses a focused button on Enter and Space, and
// the default button on Enter elsewhere. The system draws the buttons, glyph or not.
#include <windows.h>

#include "ui/Button.h"

namespace ui {

int Button::handle(int event) { return NativeButton::handle(event); }

void Button::setDefault() {
  if (hwnd()) SendMessageW(static_cast<HWND>(hwnd()), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Button::draw() {}

}  // namespace ui
