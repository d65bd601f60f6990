// Text widths from FLTK's font metrics.
#include <FL/fl_draw.H>

#include "ui/TextMeasure.h"

namespace ui {

int ScreenTextMeasure::width(std::string_view text, int font, int size) const {
  fl_font(Fl_Font(font), Fl_Fontsize(size));
  return int(fl_width(text.data(), int(text.size())) + 0.5);
}

}  // namespace ui
