// Labels on Win32: a STATIC control shows the text; "&" stays as it is (no prefix).
#include <windows.h>

#include "ui/Container.h"
#include "ui/Label.h"

namespace ui {

void Label::repaintParentArea() {
  const NativeWindow* top = window();
  if (!top || !top->hwnd()) return;
  RECT old{x(), y(), x() + w(), y() + h()};
  InvalidateRect(static_cast<HWND>(top->hwnd()), &old, TRUE);
}

void Label::applyTextLayout() {
  setTextStyle(m_alignment == Alignment::Center ? SS_CENTER
               : m_wordWrap                     ? SS_LEFT
                                                : SS_LEFTNOWORDWRAP);
}

void Label::draw() { setNativeText(shownText()); }

}  // namespace ui
