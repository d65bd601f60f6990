// The five hand cursors of the link controls and the application's cursor table.
#pragma once

#include <memory>
#include <string_view>

#include "NativeWidgets.h"
#include "widgets/Canvas.h"

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
  const ui::NativeCursorImage* image = nullptr;
  int hotX = 0;
  int hotY = 0;
};
// The installed cursor under a number, or nullptr.
const CursorEntry* findCursor(int number);
// Shows cursor `number` over a window; crDefault or a number without a cursor shows the arrow.
void showCursor(ui::NativeTopLevel* window, int number);

// The back end's part (fltk/ or win32/Cursors.cpp): a cursor made from the artwork, kept
// while `pixels` lives.
std::shared_ptr<const ui::NativeCursorImage> makeCursor(const RgbaImage& pixels, int hotX,
                                                        int hotY);

}  // namespace widgets
