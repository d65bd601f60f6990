// A push button; its click handler runs on a user's click, Enter or Space (or click()).
#pragma once

#include <functional>
#include <string>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

class Button : public NativeButton, public Control {
 public:
  Button(Container& parent, const Rect& bounds, const std::string& caption, int tabOrder);

  std::string caption() const { return widgetCaption(*this); }
  void setCaption(const std::string& caption) { setWidgetCaption(*this, caption); }

  // Clicks the button as a user would: nothing happens unless it is reachable.
  void click();

  std::function<void()> onClick;

  // Enter and Space press the button that has the focus.
  int handle(int event) override;
};

}  // namespace ui
