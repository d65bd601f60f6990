// The arrow keys of Win32 radio buttons, which the button takes from the dialog manager.
#include <windows.h>

#include "ui/RadioButton.h"

namespace ui {

int RadioButton::handle(int event) {
  if (event == kKeyDown && !(GetKeyState(VK_CONTROL) < 0) && !(GetKeyState(VK_MENU) < 0)) {
    const unsigned key = typedKey();
    if (key == VK_UP || key == VK_LEFT || key == VK_DOWN || key == VK_RIGHT) {
      moveInGroup(key == VK_DOWN || key == VK_RIGHT);
      return 1;
    }
  }
  return NativeRadioButton::handle(event);
}

}  // namespace ui
