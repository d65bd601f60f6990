// What every standard control shares: its place in a parent, geometry relative to that parent,
// enabled and visible states, and its position in the tab order.
#pragma once

#include <string>

#include "ui/Geometry.h"

class Fl_Widget;

namespace ui {

class Container;

inline constexpr int kNoTabOrder = -1;

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Fl_Widget& widget() { return m_widget; }
  const Fl_Widget& widget() const { return m_widget; }
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
  // Places `self` (the FLTK widget that this control is) into `parent` at `bounds`.
  Control(Fl_Widget& self, Container& parent, const Rect& bounds, int tabOrder);

 private:
  Fl_Widget& m_widget;
  Container& m_parent;
  int m_tabOrder;
};

// FLTK keeps a label as a pointer; controls give it their own copy.
void setWidgetCaption(Fl_Widget& widget, const std::string& caption);
std::string widgetCaption(const Fl_Widget& widget);

}  // namespace ui
