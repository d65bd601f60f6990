// The arrow keys of FLTK radio buttons.
#include <FL/Fl.H>

#include "ui/RadioButton.h"

namespace ui {

int RadioButton::handle(int event) {
  if (event == FL_KEYBOARD && Fl::focus() == this &&
      !(Fl::event_state() & (FL_CTRL | FL_ALT | FL_META))) {
    const int key = Fl::event_key();
    if (key == FL_Up || key == FL_Left || key == FL_Down || key == FL_Right) {
      moveInGroup(key == FL_Down || key == FL_Right);
      return 1;
    }
  }
  return Fl_Round_Button::handle(event);
}

}  // namespace ui
