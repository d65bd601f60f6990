// Text widths through the installed measure.
#include "ui/TextMeasure.h"

#include <FL/fl_draw.H>

#include <string>

namespace ui {

namespace {

const TextMeasure*& installed() {
  static const TextMeasure* current = nullptr;
  return current;
}

}  // namespace

int FltkTextMeasure::width(std::string_view text, int font, int size) const {
  fl_font(Fl_Font(font), Fl_Fontsize(size));
  return int(fl_width(text.data(), int(text.size())) + 0.5);
}

const TextMeasure& textMeasure() {
  static const FixedTextMeasure fixed;
  const TextMeasure* current = installed();
  return current ? *current : fixed;
}

void setTextMeasure(const TextMeasure* measure) { installed() = measure; }

}  // namespace ui
