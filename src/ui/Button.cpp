// Push buttons.
#include "ui/Button.h"

#include "ui/Events.h"

namespace ui {

Button::Button(Container& parent, const Rect& bounds, const std::string& caption, int tabOrder)
    : NativeButton(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  setCaption(caption);
  callback([](NativeWidget* w, void*) { runEvent(static_cast<Button*>(w)->onClick); });
}

void Button::setGlyph(Glyph glyph) {
  if (glyph == m_glyph) return;
  m_glyph = glyph;
  redraw();
}

void Button::click() {
  if (reachable()) runEvent(onClick);
}

}  // namespace ui
