// The gauge bar as an FLTK widget: immediate painting.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "widgets/GaugeBar.h"

namespace widgets {

TGaugeBar::TGaugeBar(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) { box(FL_NO_BOX); }

void TGaugeBar::paintNow() {
  Fl_Window* win = window();
  redraw();
  if (win != nullptr && win->shown() && visible_r()) Fl::flush();
}

}  // namespace widgets
