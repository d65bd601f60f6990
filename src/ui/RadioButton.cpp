// Radio buttons.
#include "ui/RadioButton.h"

#include "ui/Events.h"

namespace ui {

RadioButton::RadioButton(Container& parent, const Rect& bounds, const std::string& caption,
                         bool checked, int tabOrder)
    : Fl_Round_Button(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  type(FL_RADIO_BUTTON);
  setCaption(caption);
  value(checked ? 1 : 0);
  // FLTK has already unchecked the siblings and calls back only when the state changed.
  callback([](Fl_Widget* w, void*) { runEvent(static_cast<RadioButton*>(w)->onClick); });
}

void RadioButton::setChecked(bool checked) {
  if (checked == this->checked()) return;
  if (!checked) {
    value(0);
    return;
  }
  setonly();
  if (onClick) onClick();
}

void RadioButton::click() {
  if (reachable()) runEvent([this] { setChecked(true); });
}

}  // namespace ui
