// Static text labels.
#include "ui/Label.h"

#include "ui/TextMeasure.h"

namespace ui {

Label::Label(Container& parent, const Rect& bounds, const std::string& caption, bool autoSize)
    : NativeBox(0, 0, bounds.width, bounds.height),
      Control(*this, parent, bounds, kNoTabOrder),
      m_caption(caption),
      m_autoSize(autoSize) {
  makeOpaque(*this);
  fitToCaption();
  // A native label was made while the control was placed, before its caption was known.
  redraw();
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

void Label::setTextLayout(Alignment alignment, bool wordWrap) {
  if (alignment == m_alignment && wordWrap == m_wordWrap) return;
  m_alignment = alignment;
  m_wordWrap = wordWrap;
  applyTextLayout();
}

void Label::fitToCaption() {
  if (!m_autoSize) return;
  int width = textMeasure().width(m_caption, labelfont(), labelsize());
  if (width == w()) return;
  // The old, wider text must not stay behind.
  repaintParentArea();
  size(width, h());
}

}  // namespace ui
