// Radio buttons.
#include "ui/RadioButton.h"

#include <algorithm>
#include <vector>

#include "ui/Container.h"
#include "ui/Events.h"

namespace ui {

RadioButton::RadioButton(Container& parent, const Rect& bounds, const std::string& caption,
                         bool checked, int tabOrder)
    : NativeRadioButton(0, 0, bounds.width, bounds.height),
      Control(*this, parent, bounds, tabOrder) {
  setCaption(caption);
  value(checked ? 1 : 0);
  // The native button has already unchecked the siblings and calls back only when the state
  // changed.
  callback([](NativeWidget* w, void*) { runEvent(static_cast<RadioButton*>(w)->onClick); });
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
