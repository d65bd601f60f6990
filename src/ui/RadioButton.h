// A radio button: checking one unchecks the other radio buttons of the same parent. Its click
// handler runs when it becomes checked, by the user or by the program.
#pragma once

#include <functional>
#include <string>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

class RadioButton : public NativeRadioButton, public Control {
 public:
  RadioButton(Container& parent, const Rect& bounds, const std::string& caption, bool checked,
              int tabOrder);

  std::string caption() const { return widgetCaption(*this); }
  void setCaption(const std::string& caption) { setWidgetCaption(*this, caption); }

  bool checked() const { return value() != 0; }
  // Checking unchecks the siblings and runs onClick when the state changes; unchecking only
  // clears this button. An exception of the handler reaches the caller.
  void setChecked(bool checked);

  // Checks it as a user's click would: nothing happens unless it is reachable.
  void click();

  // Only the checked button of a group is a tab stop; arrows move between the others.
  bool tabStop() const override { return Control::tabStop() && checked(); }

  std::function<void()> onClick;

  // The arrow keys move to the previous or next radio button of the group and check it; they
  // never leave the group (Tab does). In fltk/ or win32/RadioKeys.cpp.
  int handle(int event) override;

 private:
  void moveInGroup(bool forward);
};

}  // namespace ui
