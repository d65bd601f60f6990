// Window hints as the system's frame styles and owner window.
#include "ui/WindowHints.h"

namespace ui {

void applyWindowHints(NativeTopLevel& window, const WindowHints& hints) {
  window.setFrame(hints.icons != BorderIcons::NoIcons,
                  hints.icons == BorderIcons::SystemMenuAndMinimize);
  window.setOwnerWindow(hints.owner);
}

}  // namespace ui
