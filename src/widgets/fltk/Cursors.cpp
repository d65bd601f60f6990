// Cursors on FLTK: RGBA images that the window shows with their hot spot.
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

#include "widgets/HandCursors.h"

namespace widgets {

std::shared_ptr<const Fl_RGB_Image> makeCursor(const RgbaImage& pixels, int, int) {
  return std::make_shared<Fl_RGB_Image>(pixels.data(), pixels.width(), pixels.height(), 4);
}

void showCursor(Fl_Window* window, int number) {
  if (window == nullptr) return;
  const CursorEntry* entry = findCursor(number);
  if (entry == nullptr)
    window->cursor(FL_CURSOR_DEFAULT);
  else
    window->cursor(entry->image, entry->hotX, entry->hotY);
}

}  // namespace widgets
