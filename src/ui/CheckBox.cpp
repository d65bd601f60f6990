// Check boxes.
#include "ui/CheckBox.h"

#include "ui/Events.h"

namespace ui {

CheckBox::CheckBox(Container& parent, const Rect& bounds, const std::string& caption, bool checked,
                   int tabOrder)
    : NativeCheckButton(0, 0, bounds.width, bounds.height),
      Control(*this, parent, bounds, tabOrder) {
  setCaption(caption);
  value(checked ? 1 : 0);
  callback([](NativeWidget* w, void*) { runEvent(static_cast<CheckBox*>(w)->onClick); });
}

void CheckBox::setChecked(bool checked) {
  if (checked == this->checked()) return;
  value(checked ? 1 : 0);
  if (onClick) onClick();
}

void CheckBox::click() {
  if (reachable()) runEvent([this] { setChecked(!checked()); });
}

}  // namespace ui
