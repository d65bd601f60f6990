// Push buttons on Win32: the dialog manager presses a focused button on Enter and Space.
#include "ui/Button.h"

namespace ui {

int Button::handle(int event) { return NativeButton::handle(event); }

}  // namespace ui
