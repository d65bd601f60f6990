// The paint cycle of painted widgets: the device context that draw() paints on now.
#pragma once

#include "NativeWidgets.h"

namespace ui {

struct PaintTarget {
  void* dc = nullptr;  // an HDC
  // Where the painted window lies in window coordinates: draw() speaks window coordinates.
  int originX = 0;
  int originY = 0;
};

// The target while a painted widget runs draw(); null outside of it.
const PaintTarget* currentPaintTarget();

// The cursor that painted widgets show while the pointer is over them (an HCURSOR); null for
// the arrow.
NativeHandle& shownCursor();

// The window font ("MS Sans Serif", height -11, or what the system maps it to); an HFONT.
void* windowFont();
// The font of a control's face number (kNativeFont, kNativeBoldFont) and pixel height.
void* windowFont(int face, int size);

}  // namespace ui
