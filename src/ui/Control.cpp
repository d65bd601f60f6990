// The shared behaviour of standard controls.
#include "ui/Control.h"

#include "ui/Container.h"

namespace ui {

Control::Control(NativeWidget& self, Container& parent, const Rect& bounds, int tabOrder)
    : m_widget(self), m_parent(parent), m_tabOrder(tabOrder) {
  // A group widget may have made itself the current group; nothing is added through it.
  forgetCurrentGroup();
  m_widget.labelfont(kNativeFont);
  m_widget.labelsize(kFontSize);
  setBounds(bounds);
  m_parent.adopt(*this);
}

Control::~Control() { m_parent.release(*this); }

Rect Control::bounds() const {
  return {m_widget.x() - m_parent.originX(), m_widget.y() - m_parent.originY(), m_widget.w(),
          m_widget.h()};
}

void Control::setBounds(const Rect& bounds) {
  // Widgets are placed relative to their window, so the parent's origin is added here.
  m_widget.resize(m_parent.originX() + bounds.left, m_parent.originY() + bounds.top, bounds.width,
                  bounds.height);
  m_widget.redraw();
}

bool Control::enabled() const { return m_widget.active() != 0; }

void Control::setEnabled(bool enabled) {
  if (enabled == this->enabled()) return;
  if (enabled)
    m_widget.activate();
  else
    m_widget.deactivate();
}

bool Control::visible() const { return m_widget.visible() != 0; }

void Control::setVisible(bool visible) {
  if (visible == this->visible()) return;
  if (visible)
    m_widget.show();
  else
    m_widget.hide();
}

bool Control::reachable() const {
  for (const NativeWidget* w = &m_widget; w; w = w->parent())
    if (!w->active() || (w->parent() && !w->visible())) return false;
  return true;
}

void setWidgetCaption(NativeWidget& widget, const std::string& caption) {
  if (widgetCaption(widget) == caption) return;
  widget.copy_label(caption.c_str());
  widget.redraw();
  // A transparent control leaves its old text behind unless the parent repaints that area.
  if (widget.parent()) widget.parent()->redraw();
}

std::string widgetCaption(const NativeWidget& widget) {
  return widget.label() ? widget.label() : "";
}

}  // namespace ui
