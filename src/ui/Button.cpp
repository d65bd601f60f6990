// Push buttons.
#include "ui/Button.h"

#include <FL/Fl.H>

#include "ui/Events.h"

namespace ui {

Button::Button(Container& parent, const Rect& bounds, const std::string& caption, int tabOrder)
    : Fl_Button(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  setCaption(caption);
  callback([](Fl_Widget* w, void*) { runEvent(static_cast<Button*>(w)->onClick); });
}

void Button::click() {
  if (reachable()) runEvent(onClick);
}

int Button::handle(int event) {
  // FLTK presses a focused button on Space only; Enter would go on to the form's default
  // button or nowhere.
  if (event == FL_KEYBOARD && Fl::focus() == this &&
      !(Fl::event_state() & (FL_CTRL | FL_ALT | FL_META))) {
    const int key = Fl::event_key();
    if (key == FL_Enter || key == FL_KP_Enter || key == ' ') {
      click();
      return 1;
    }
  }
  return Fl_Button::handle(event);
}

}  // namespace ui
