// Groups of native widgets: their children in tab order, which is the windows' z-order.
#include <windows.h>

#include <algorithm>

#include "NativeWidgets.h"

namespace ui {

NativeGroup::~NativeGroup() { clear(); }

int NativeGroup::find(const NativeWidget& widget) const {
  auto at = std::find(m_children.begin(), m_children.end(), &widget);
  return int(at - m_children.begin());
}

void NativeGroup::insert(NativeWidget& widget, int index) {
  if (widget.m_parent) widget.m_parent->remove(widget);
  index = std::clamp(index, 0, children());
  m_children.insert(m_children.begin() + index, &widget);
  widget.m_parent = this;
  NativeWindow* top = dynamic_cast<NativeWindow*>(this);
  if (!top) top = window();
  if (!top) return;
  widget.placeInZOrder(top->hwnd());
}

// The window that comes last in the z-order (the tab order) among `widget` and what it holds.
static HWND lastWindowOf(const NativeWidget& widget) {
  if (auto* group = dynamic_cast<const NativeGroup*>(&widget))
    for (int i = group->children() - 1; i >= 0; --i)
      if (HWND last = lastWindowOf(*group->child(i))) return last;
  return static_cast<HWND>(widget.hwnd());
}

void NativeWidget::placeInZOrder(NativeHandle host) {
  createNative(host);
  // The windows' z-order is their tab order: after the child before it (and all it holds),
  // else after the group box it is in.
  if (m_hwnd) {
    HWND after = HWND_TOP;
    if (m_parent) {
      const int index = m_parent->find(*this);
      for (int i = index - 1; i >= 0 && after == HWND_TOP; --i)
        if (HWND last = lastWindowOf(*m_parent->child(i))) after = last;
      if (after == HWND_TOP && !dynamic_cast<NativeWindow*>(m_parent) && m_parent->m_hwnd)
        after = static_cast<HWND>(m_parent->m_hwnd);
    }
    SetWindowPos(static_cast<HWND>(m_hwnd), after, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // A group's controls follow it.
  if (auto* group = dynamic_cast<NativeGroup*>(this))
    for (int i = 0; i < group->children(); ++i) group->child(i)->placeInZOrder(host);
}

void NativeGroup::remove(NativeWidget& widget) {
  std::erase(m_children, &widget);
  if (widget.m_parent == this) widget.m_parent = nullptr;
}

void NativeGroup::clear() {
  while (!m_children.empty()) remove(*m_children.back());
}

}  // namespace ui
