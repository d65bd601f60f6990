// Group boxes drawn as the windows draw them: an etched frame whose caption breaks its top line.
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "ui/GroupBox.h"

namespace ui {

GroupBox::GroupBox(Container& parent, const Rect& bounds, const std::string& caption, int tabOrder)
    : Fl_Group(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  end();
  Fl_Group::current(nullptr);  // end() made the parent current; children are placed explicitly
  box(FL_NO_BOX);
  labeltype(FL_NO_LABEL);  // the caption is drawn into the frame by draw()
  setCaption(caption);
}

int GroupBox::handle(int event) {
  // Tab belongs to the form, which walks all groups in the windows' tab order.
  if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab) return 0;
  return Fl_Group::handle(event);
}

void GroupBox::draw() {
  if (damage() & ~FL_DAMAGE_CHILD) {
    fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(), container().group().color());
    fl_font(labelfont(), labelsize());
    int lineY = y() + fl_height() / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), lineY, w(), h() - (lineY - y()), color());
    std::string text = caption();
    if (!text.empty()) {
      int textWidth = int(fl_width(text.c_str()) + 0.5);
      fl_color(container().group().color());
      fl_rectf(x() + 6, y(), textWidth + 4, fl_height());
      fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
      fl_draw(text.c_str(), x() + 8, y() + fl_height() - fl_descent());
    }
  }
  draw_children();
}

}  // namespace ui
