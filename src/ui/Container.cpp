// Child bookkeeping: the native child order follows the tab order, so the native keyboard
// navigation walks the controls in the order the window description gives.
#include "ui/Container.h"

#include <algorithm>

#include "ui/Control.h"

namespace ui {

namespace {

// Controls with a tab order come first, by that order; the others keep their creation order.
bool before(const Control* a, const Control* b) {
  if (a->tabOrder() == kNoTabOrder) return false;
  if (b->tabOrder() == kNoTabOrder) return true;
  return a->tabOrder() < b->tabOrder();
}

}  // namespace

void Container::adopt(Control& control) {
  auto at = std::upper_bound(m_controls.begin(), m_controls.end(), &control, before);
  NativeGroup& g = group();
  // The native index is that of the next control in tab order, or the end of the group.
  int index = g.children();
  if (at != m_controls.end()) index = g.find((*at)->widget());
  at = m_controls.insert(at, &control);
  g.insert(control.widget(), index);
}

void Container::release(Control& control) {
  std::erase(m_controls, &control);
  if (control.widget().parent() == &group()) group().remove(control.widget());
}

}  // namespace ui
