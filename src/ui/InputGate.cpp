// The input gate in front of FLTK's event handling.
#include "ui/InputGate.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <initializer_list>

namespace ui {

namespace {

bool isPointerEvent(int event) {
  switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_MOVE:
    case FL_MOUSEWHEEL:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
    case FL_CLOSE:  // the close box of a disabled window does nothing either
      return true;
    default:
      return false;
  }
}

bool isKeyEvent(int event) {
  return event == FL_KEYBOARD || event == FL_KEYUP || event == FL_SHORTCUT;
}

// The window that takes a key which the display gave to `window`. Without a window manager
// the display gives keys to the window under the mouse; a key for a disabled window goes to
// the modal window if there is one, else to the window with the focus, else to the window
// shown last, as long as that one is enabled.
Fl_Window* keyWindow(Fl_Window* window) {
  if (!inDisabledWindow(window)) return window;
  for (Fl_Widget* candidate : {static_cast<Fl_Widget*>(Fl::modal()), Fl::focus(),
                               static_cast<Fl_Widget*>(Fl::first_window())})
    if (candidate && !inDisabledWindow(candidate)) return candidate->top_window();
  return nullptr;
}

int gate(int event, Fl_Window* window) {
  if (isPointerEvent(event)) {
    // A press that began while the window was enabled ends normally.
    const bool pressed = (event == FL_DRAG || event == FL_RELEASE) && Fl::pushed();
    Fl_Window* target = Fl::grab() ? Fl::grab() : window;
    if (!pressed && inDisabledWindow(target)) return 0;
  } else if (isKeyEvent(event) && window) {
    window = keyWindow(window);
    if (window == nullptr) return 0;
    // The focus leaves a disabled window for the window that takes the key.
    if (inDisabledWindow(Fl::focus()) && !window->take_focus()) Fl::focus(window);
    // FLTK offers an unused key as a shortcut to the widget under the mouse, whichever window
    // has the keyboard: a menu bar of a disabled window must not open from there.
    if (inDisabledWindow(Fl::belowmouse())) Fl::belowmouse(nullptr);
  }
  return Fl::handle_(event, window);
}

}  // namespace

bool inDisabledWindow(const Fl_Widget* widget) {
  if (widget == nullptr) return false;
  // Only windows stand at the top; a deactivated one is a disabled form.
  while (widget->parent()) widget = widget->parent();
  return !widget->active();
}

void installInputGate() { Fl::event_dispatch(gate); }

}  // namespace ui
