// The five hand cursors of the link controls and the application's cursor table.
#pragma once

#include <string_view>

#include "widgets/Canvas.h"

class Fl_RGB_Image;
class Fl_Window;

namespace widgets {

inline constexpr int crDefault = 0;
inline constexpr int crHandPoint = 15000;
inline constexpr int crSmallHandPoint = 15001;
inline constexpr int crGrabHand = 15002;
inline constexpr int crGrabHandArrow = 15003;
inline constexpr int crDragHand = 15004;

struct CursorArt {
  RgbaImage image;
  int hotX = 0;
  int hotY = 0;
};

// The artwork by resource name: "FX_HANDPOINT", "FX_SMALLHANDPOINT", "FX_GRABHAND",
// "FX_GRABHANDARROW", "FX_DRAGHAND". Throws std::out_of_range for other names.
CursorArt handCursorArt(std::string_view name);

// Enters the five hand cursors in the cursor table under crHandPoint .. crDragHand. The program
// calls it once at start-up, before any form exists; calling it again changes nothing.
void installHandCursors();

struct CursorEntry {
  const Fl_RGB_Image* image = nullptr;
  int hotX = 0;
  int hotY = 0;
};
// The installed cursor under a number, or nullptr.
const CursorEntry* findCursor(int number);
// Shows cursor `number` over a window; crDefault or a number without a cursor shows the arrow.
void showCursor(Fl_Window* window, int number);

}  // namespace widgets
