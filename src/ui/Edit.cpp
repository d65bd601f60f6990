// Edits: the native input, with every typed character passing the control's key hook first.
#include "ui/Edit.h"

#include <cstdlib>

#include "ui/Events.h"

namespace ui {

Edit::Edit(Container& parent, const Rect& bounds, const std::string& text, int tabOrder)
    : NativeInput(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  setupNativeInput(*this, kFontSize);
  value(text.c_str());
  callback([](NativeWidget* w, void*) { runEvent(static_cast<Edit*>(w)->onChange); });
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

void Edit::setPasswordChar(char mask) {
  if (mask == m_passwordChar) return;
  m_passwordChar = mask;
  applyPasswordChar();
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
      // Other Ctrl keys: the native edit's own (copy, paste...).
      if (static_cast<unsigned char>(key) < 32) return false;
      // A full edit takes nothing; FLTK would still call back for a change that did not happen.
      if (m_maxLength > 0 && size() - std::abs(position() - mark()) >= m_maxLength) return true;
      replace(position(), mark(), &key, 1);  // calls back: the text changed
      return true;
  }
}

}  // namespace ui
