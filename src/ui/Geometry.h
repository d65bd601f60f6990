// Control geometry as the window descriptions give it: left, top, width, height in pixels.
#pragma once

namespace ui {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// "MS Sans Serif" at height -11 is drawn as Helvetica at 11 pixels.
inline constexpr int kFontSize = 11;

}  // namespace ui
