// Labels draw their text themselves so that "@" and "&" in paths are shown as they are.
#include "ui/Label.h"

#include <FL/fl_draw.H>

#include "ui/Container.h"
#include "ui/TextMeasure.h"

namespace ui {

Label::Label(Container& parent, const Rect& bounds, const std::string& caption, bool autoSize)
    : Fl_Box(0, 0, bounds.width, bounds.height),
      Control(*this, parent, bounds, kNoTabOrder),
      m_caption(caption),
      m_autoSize(autoSize) {
  box(FL_FLAT_BOX);
  fitToCaption();
}

void Label::setCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  fitToCaption();
  redraw();
}

void Label::setAutoSize(bool autoSize) {
  m_autoSize = autoSize;
  fitToCaption();
}

void Label::fitToCaption() {
  if (!m_autoSize) return;
  int width = textMeasure().width(m_caption, labelfont(), labelsize());
  if (width == w()) return;
  // The old, wider text must not stay behind.
  if (container().group().visible_r())
    container().group().damage(FL_DAMAGE_ALL, x(), y(), w(), h());
  size(width, h());
}

void Label::draw() {
  Fl_Color background = container().group().color();
  fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(), background);
  fl_font(labelfont(), labelsize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  fl_push_clip(x(), y(), w(), h());
  fl_draw(shownText().c_str(), x(), y(), w(), h(), FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
  fl_pop_clip();
}

}  // namespace ui
