// Typed keys of FLTK edits: the key events become characters for the key hook.
#include <FL/Fl.H>

#include "ui/Edit.h"
#include "ui/Events.h"

namespace ui {

namespace {

// The character a key event types, or 0 for keys that type none (arrows, Home, Delete...).
char typedChar() {
  int key = Fl::event_key();
  if (key == FL_Tab) return 0;  // Tab moves the focus; the form handles it
  // X gives Delete the text 0x7F: it deletes, as FLTK's input does, and never types.
  if (key == FL_Delete) return 0;
  // Alt with a key chooses from the menu bar; it types nothing.
  if (Fl::event_state() & FL_ALT) return 0;
  if (key == FL_BackSpace) return kBackspaceChar;
  if (key == FL_Enter || key == FL_KP_Enter) return kEnterChar;
  if (key == FL_Escape) return kEscapeChar;
  if (Fl::event_state() & (FL_CTRL | FL_META)) {
    if (key >= 'a' && key <= 'z') return char(key - 'a' + 1);
    return 0;
  }
  if (Fl::event_length() == 1 && Fl::event_text()[0] != 0x7F) return Fl::event_text()[0];
  return 0;
}

}  // namespace

int Edit::handle(int event) {
  if (event == FL_KEYBOARD) {
    // A character of several bytes is only seen by the key hook; FLTK inserts it when taken.
    if (Fl::event_length() > 1) {
      char lead = Fl::event_text()[0];
      runEvent([&] { keyPress(lead); });
      if (lead != Fl::event_text()[0]) return 1;
      return Fl_Input::handle(event);
    }
    if (char key = typedChar()) {
      bool used = false;
      runEvent([&] { used = typeChar(key); });
      if (used) return 1;
    }
  }
  return Fl_Input::handle(event);
}

}  // namespace ui
