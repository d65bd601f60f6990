// Radio buttons.
#include "ui/RadioButton.h"

#include <FL/Fl.H>

#include <algorithm>
#include <vector>

#include "ui/Container.h"
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

void RadioButton::moveInGroup(bool forward) {
  // The group is the radio buttons of one parent that a user can reach, in tab order; the
  // arrows wrap around at its ends.
  std::vector<RadioButton*> group;
  for (Control* control : container().controls())
    if (auto* radio = dynamic_cast<RadioButton*>(control); radio && radio->reachable())
      group.push_back(radio);
  const auto at = std::find(group.begin(), group.end(), this);
  if (at == group.end() || group.size() < 2) return;
  const std::size_t n = group.size(), i = std::size_t(at - group.begin());
  RadioButton* next = group[forward ? (i + 1) % n : (i + n - 1) % n];
  next->take_focus();
  next->click();
}

}  // namespace ui
