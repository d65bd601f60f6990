// What every standard control shares: its place in a parent, geometry relative to that parent,
// enabled and visible states, and its position in the tab order.
#pragma once

#include <string>

#include "NativeWidgets.h"
#include "ui/Geometry.h"

namespace ui {

class Container;

inline constexpr int kNoTabOrder = -1;

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  NativeWidget& widget() { return m_widget; }
  const NativeWidget& widget() const { return m_widget; }
  Container& container() const { return m_parent; }

  // Geometry relative to the parent, as the window description gives it.
  Rect bounds() const;
  virtual void setBounds(const Rect& bounds);

  bool enabled() const;
  void setEnabled(bool enabled);
  bool visible() const;
  void setVisible(bool visible);
  // Whether a user could reach it now: it and every parent up to the form are enabled and
  // visible (the form's window need not be shown).
  bool reachable() const;

  int tabOrder() const { return m_tabOrder; }
  // Whether Tab stops here when the control is reachable; radio buttons stop only when checked.
  virtual bool tabStop() const { return m_tabOrder != kNoTabOrder; }
  // The container this control is, if it is one (a group box).
  virtual Container* asContainer() { return nullptr; }

 protected:
  // Places `self` (the native widget that this control is) into `parent` at `bounds`.
  Control(NativeWidget& self, Container& parent, const Rect& bounds, int tabOrder);

 private:
  NativeWidget& m_widget;
  Container& m_parent;
  int m_tabOrder;
};

// A native widget keeps a label as a pointer; controls give it their own copy.
void setWidgetCaption(NativeWidget& widget, const std::string& caption);
std::string widgetCaption(const NativeWidget& widget);

}  // namespace ui
