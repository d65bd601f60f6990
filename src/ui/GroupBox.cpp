// Group boxes: a frame that moves its controls with it.
#include "ui/GroupBox.h"

namespace ui {

GroupBox::~GroupBox() { clear(); }

void GroupBox::setBounds(const Rect& bounds) {
  // A native group's resize would stretch the children; a group box moves them unchanged.
  int dx = container().originX() + bounds.left - x();
  int dy = container().originY() + bounds.top - y();
  for (int i = 0; i < children(); ++i) {
    NativeWidget* c = child(i);
    c->position(c->x() + dx, c->y() + dy);
  }
  NativeWidget::resize(x() + dx, y() + dy, bounds.width, bounds.height);
  childrenMoved(*this);
  redraw();
}

}  // namespace ui
