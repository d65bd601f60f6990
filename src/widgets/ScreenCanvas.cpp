// The screen canvas's own state: its target, its origin and its nested clip rectangles.
#include "widgets/ScreenCanvas.h"

#include <algorithm>

namespace widgets {

ScreenCanvas::ScreenCanvas(int originX, int originY, int width, int height)
    : m_x(originX), m_y(originY), m_width(width), m_height(height) {}

ScreenCanvas::ScreenCanvas(std::uintptr_t offscreen, int width, int height)
    : m_offscreen(offscreen), m_width(width), m_height(height) {}

TextSize ScreenCanvas::textExtent(std::string_view s) { return measureText(m_font, s); }

void ScreenCanvas::pushClip(int x, int y, int w, int h) {
  ClipRect r{x, y, std::max(w, 0), std::max(h, 0)};
  if (!m_clips.empty()) {
    const ClipRect& o = m_clips.back();
    int left = std::max(r.x, o.x), top = std::max(r.y, o.y);
    int right = std::min(r.x + r.w, o.x + o.w), bottom = std::min(r.y + r.h, o.y + o.h);
    r = ClipRect{left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
  }
  m_clips.push_back(r);
}

void ScreenCanvas::popClip() {
  if (!m_clips.empty()) m_clips.pop_back();
}

}  // namespace widgets
