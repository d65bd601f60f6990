// A check box. Its click handler runs when the user toggles it and when the program changes
// its state; setting the state it already has runs nothing.
#pragma once

#include <functional>
#include <string>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

class CheckBox : public NativeCheckButton, public Control {
 public:
  CheckBox(Container& parent, const Rect& bounds, const std::string& caption, bool checked,
           int tabOrder);

  std::string caption() const { return widgetCaption(*this); }
  void setCaption(const std::string& caption) { setWidgetCaption(*this, caption); }

  bool checked() const { return value() != 0; }
  // Runs onClick when the state changes; an exception of the handler reaches the caller.
  void setChecked(bool checked);

  // Toggles it as a user's click would: nothing happens unless it is reachable.
  void click();

  std::function<void()> onClick;
};

}  // namespace ui
