// Labels draw their text themselves so that "@" and "&" in paths are shown as they are.
#include <FL/fl_draw.H>

#include "ui/Container.h"
#include "ui/Label.h"

namespace ui {

void Label::repaintParentArea() {
  if (container().group().visible_r())
    container().group().damage(FL_DAMAGE_ALL, x(), y(), w(), h());
}

void Label::applyTextLayout() { redraw(); }

void Label::draw() {
  Fl_Color background = container().group().color();
  fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(), background);
  fl_font(labelfont(), labelsize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  fl_push_clip(x(), y(), w(), h());
  Fl_Align align = FL_ALIGN_TOP | FL_ALIGN_INSIDE;
  if (m_alignment == Alignment::Left) align |= FL_ALIGN_LEFT;
  if (m_wordWrap) align |= FL_ALIGN_WRAP;
  fl_draw(shownText().c_str(), x(), y(), w(), h(), align, nullptr, 0);
  fl_pop_clip();
}

}  // namespace ui
