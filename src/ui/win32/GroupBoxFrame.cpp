// Group boxes as the system's own frame (a BUTTON of the group-box style), which draws the
// caption into its top line itself.
#include "ui/GroupBox.h"

namespace ui {

GroupBox::GroupBox(Container& parent, const Rect& bounds, const std::string& caption, int tabOrder)
    : NativeGroupBox(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  setCaption(caption);
}

// Tab and the arrows belong to the dialog manager, which walks the top-level window.
int GroupBox::handle(int event) { return NativeGroupBox::handle(event); }

void GroupBox::draw() {}

}  // namespace ui
