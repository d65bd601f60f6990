// Something controls sit in: the client area of a form or a group box.
#pragma once

#include <vector>

#include "NativeWidgets.h"

namespace ui {

class Control;
class Form;

class Container {
 public:
  virtual ~Container() = default;

  virtual NativeGroup& group() = 0;
  virtual Form& form() = 0;
  // Where the container's client origin lies in window coordinates.
  virtual int originX() const = 0;
  virtual int originY() const = 0;

  // The child controls, in tab order (controls without a tab order after the others).
  const std::vector<Control*>& controls() const { return m_controls; }

  // Called by Control's constructor and destructor.
  void adopt(Control& control);
  void release(Control& control);

 private:
  std::vector<Control*> m_controls;
};

}  // namespace ui
