// The gauge bar as an FLTK widget: immediate painting and the mouse events.
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

int TGaugeBar::handle(int event) {
  const int button = Fl::event_button(), ex = Fl::event_x() - x(), ey = Fl::event_y() - y();
  auto notify = [&](const std::function<void(int, int, int)>& handler) {
    if (handler) handler(button, ex, ey);
  };
  switch (event) {
    case FL_ENTER:
      return 1;  // so that moves arrive
    case FL_PUSH:
      notify(OnMouseDown);
      if (Fl::event_clicks() != 0 && OnDblClick) OnDblClick();
      return 1;
    case FL_MOVE:
    case FL_DRAG:
      notify(OnMouseMove);
      return 1;
    case FL_RELEASE:
      notify(OnMouseUp);
      if (Fl::event_inside(this) && OnClick) OnClick();
      return 1;
    default:
      return Fl_Widget::handle(event);
  }
}

}  // namespace widgets
