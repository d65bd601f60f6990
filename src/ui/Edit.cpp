// Edits: FLTK's input, with every typed character passing the control's key hook first.
#include "ui/Edit.h"

#include <FL/Fl.H>

#include <cstdlib>

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

Edit::Edit(Container& parent, const Rect& bounds, const std::string& text, int tabOrder)
    : Fl_Input(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  textfont(FL_HELVETICA);
  textsize(kFontSize);
  value(text.c_str());
  when(FL_WHEN_CHANGED);
  callback([](Fl_Widget* w, void*) { runEvent(static_cast<Edit*>(w)->onChange); });
}

void Edit::setText(const std::string& text) {
  if (text == this->text()) return;
  value(text.c_str());
  if (onChange) onChange();
}

void Edit::setMaxLength(int maxLength) {
  m_maxLength = maxLength;
  maximum_size(maxLength > 0 ? maxLength : 32767);
}

void Edit::type(const std::string& characters) {
  for (char c : characters) {
    if (!reachable()) return;
    runEvent([&] { typeChar(c); });
  }
}

bool Edit::typeChar(char key) {
  keyPress(key);
  switch (key) {
    case kRejectedChar:
    case kEscapeChar:
      return true;  // a single-line edit inserts neither
    case kEnterChar:
      return false;  // not inserted either, but it goes on to the form's default button
    case kBackspaceChar: {
      int from = position(), to = mark();
      if (from == to && from > 0) --from;
      if (from != to) replace(from, to, nullptr, 0);
      return true;
    }
    default:
      if (static_cast<unsigned char>(key) < 32) return false;  // other Ctrl keys: FLTK's own
      // A full edit takes nothing; FLTK would still call back for a change that did not happen.
      if (m_maxLength > 0 && size() - std::abs(position() - mark()) >= m_maxLength) return true;
      replace(position(), mark(), &key, 1);  // calls back: the text changed
      return true;
  }
}

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
