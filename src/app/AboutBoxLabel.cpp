// The About box's text: centred lines broken at word boundaries. Apart from the box itself because
// FLTK's drawing header brings X11's button macros, which clash with the controls' names.
// clang-format off
#include "app/AboutBox.h"
// After the box's declaration, which names a control Button1:
#include <FL/fl_draw.H>
// clang-format on

void TForm3::WrappedLabel::draw() {
  fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(), container().group().color());
  fl_font(labelfont(), labelsize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  fl_push_clip(x(), y(), w(), h());
  fl_draw(shownText().c_str(), x(), y(), w(), h(), FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP,
          nullptr, 0);
  fl_pop_clip();
}
