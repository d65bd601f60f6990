// The gauge bar as a painted window: immediate painting.
#include <windows.h>

#include "widgets/GaugeBar.h"

namespace widgets {

TGaugeBar::TGaugeBar(int x, int y, int w, int h) : NativeWidget(x, y, w, h) {}

void TGaugeBar::paintNow() {
  redraw();
  // The merge does not process messages while it copies: paint now, not when the loop runs.
  if (hwnd() && visible_r()) UpdateWindow(static_cast<HWND>(hwnd()));
}

}  // namespace widgets
