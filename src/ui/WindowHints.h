// What a top-level window asks of the window manager: its border icons and whose dialog it is.
// On Win32 they are the window's own frame styles and owner, set before it shows.
#pragma once

#include "NativeWidgets.h"

namespace ui {

// The border icons that a window's description allows; a window never offers maximise, as its
// border is fixed.
enum class BorderIcons { NoIcons, SystemMenu, SystemMenuAndMinimize };

struct WindowHints {
  BorderIcons icons = BorderIcons::SystemMenu;
  // The window the dialog belongs to: kept above it by the window manager. Null for a window
  // of its own.
  NativeTopLevel* owner = nullptr;
};

// Sets the hints. On FLTK the window must be shown: FLTK makes a new X window on every show,
// so this follows each show; the window manager reads the properties when it maps the window, and
// every common one also follows later changes.
void applyWindowHints(NativeTopLevel& window, const WindowHints& hints);

}  // namespace ui
