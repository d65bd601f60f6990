// The keys that press a focused push button.
#include <FL/Fl.H>

#include "ui/Button.h"

namespace ui {

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
