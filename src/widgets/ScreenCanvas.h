// The canvas on the screen: the back end drawing into the window being drawn or into an
// off-screen bitmap.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/Canvas.h"

namespace widgets {

class ScreenCanvas : public Canvas {
 public:
  // Draws on the surface that is drawn on now (inside a widget's draw(); on FLTK also after
  // the window's make_current()), with (originX, originY) in window coordinates as the canvas's
  // top-left corner.
  ScreenCanvas(int originX, int originY, int width, int height);

  Kind kind() const override { return Kind::Screen; }
  int width() const override { return m_width; }
  int height() const override { return m_height; }
  void fillRect(int x, int y, int w, int h, TColor color) override;
  void line(int x1, int y1, int x2, int y2, TColor color) override;
  void pixel(int x, int y, TColor color) override;
  void setFont(const TFont& font) override { m_font = font; }
  const TFont& font() const override { return m_font; }
  void text(int x, int y, std::string_view s, TColor color, int angle = 0) override;
  TextSize textExtent(std::string_view s) override;
  void pushClip(int x, int y, int w, int h) override;
  void popClip() override;
  std::unique_ptr<Bitmap> createBitmap(int w, int h) override;
  void drawBitmap(Bitmap& bitmap, int x, int y) override;
  void drawImage(const RgbaImage& image, int x, int y) override;

 private:
  friend class ScreenBitmap;
  struct ClipRect {
    int x, y, w, h;
  };
  // A canvas that draws into an off-screen bitmap of the back end.
  ScreenCanvas(std::uintptr_t offscreen, int width, int height);
  // Runs drawing calls with this canvas's target and clip selected.
  template <class Draw>
  void paint(Draw&& draw);

  std::uintptr_t m_offscreen = 0;
  int m_x = 0;
  int m_y = 0;
  int m_width = 0;
  int m_height = 0;
  TFont m_font;
  std::vector<ClipRect> m_clips;
};

// Selects a screen font that matches a control's font.
void selectFont(const TFont& font);

// The face of this back end's forms, for a painted control that must not stand out from it.
TColor formFaceColor();

}  // namespace widgets
