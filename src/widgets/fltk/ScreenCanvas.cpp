// FLTK drawing behind the canvas seam: rectangles, lines, rotated text, pixmaps and images.
#include "widgets/ScreenCanvas.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace widgets {

namespace {

void selectColor(TColor color) {
  Rgb c = resolveColor(color);
  fl_color(c.r, c.g, c.b);
}

}  // namespace

void selectFont(const TFont& font) {
  int face = font.face;
  // The first three FLTK families come in four styles, numbered plain, bold, italic, both.
  if (face % 4 == 0 && face < 12) face += (font.bold ? 1 : 0) + (font.italic ? 2 : 0);
  fl_font(face, font.size);
}

TextSize measureText(const TFont& font, std::string_view s) {
  if (fl_display == nullptr) return memoryTextExtent(font, s);
  selectFont(font);
  return TextSize{static_cast<int>(std::lround(fl_width(s.data(), static_cast<int>(s.size())))),
                  fl_height()};
}

class ScreenBitmap : public Bitmap {
 public:
  ScreenBitmap(int w, int h)
      : m_pixmap(fl_create_offscreen(std::max(w, 1), std::max(h, 1))), m_canvas(m_pixmap, w, h) {}
  ~ScreenBitmap() override { fl_delete_offscreen(m_pixmap); }
  ScreenBitmap(const ScreenBitmap&) = delete;
  ScreenBitmap& operator=(const ScreenBitmap&) = delete;

  int width() const override { return m_canvas.width(); }
  int height() const override { return m_canvas.height(); }
  Canvas& canvas() override { return m_canvas; }
  Fl_Offscreen pixmap() const { return m_pixmap; }

 private:
  Fl_Offscreen m_pixmap;
  ScreenCanvas m_canvas;
};

template <class Draw>
void ScreenCanvas::paint(Draw&& draw) {
  auto clipped = [&] {
    if (m_clips.empty()) {
      draw();
      return;
    }
    const ClipRect& c = m_clips.back();
    fl_push_clip(m_x + c.x, m_y + c.y, c.w, c.h);
    draw();
    fl_pop_clip();
  };
  if (m_offscreen == 0) {
    clipped();
    return;
  }
  fl_begin_offscreen(Fl_Offscreen(m_offscreen));
  clipped();
  fl_end_offscreen();
}

void ScreenCanvas::fillRect(int x, int y, int w, int h, TColor color) {
  if (w <= 0 || h <= 0) return;
  paint([&] {
    selectColor(color);
    fl_rectf(m_x + x, m_y + y, w, h);
  });
}

void ScreenCanvas::line(int x1, int y1, int x2, int y2, TColor color) {
  if (x1 == x2 && y1 == y2) return;
  // FLTK draws both end points; step the end back by one pixel along the longer axis.
  int dx = x2 - x1, dy = y2 - y1;
  if (std::abs(dx) >= std::abs(dy)) {
    int sx = dx > 0 ? 1 : -1;
    y2 = y1 + static_cast<int>(std::lround(static_cast<double>(dy) * (dx - sx) / dx));
    x2 -= sx;
  } else {
    int sy = dy > 0 ? 1 : -1;
    x2 = x1 + static_cast<int>(std::lround(static_cast<double>(dx) * (dy - sy) / dy));
    y2 -= sy;
  }
  paint([&] {
    selectColor(color);
    fl_line(m_x + x1, m_y + y1, m_x + x2, m_y + y2);
  });
}

void ScreenCanvas::pixel(int x, int y, TColor color) {
  paint([&] {
    selectColor(color);
    fl_point(m_x + x, m_y + y);
  });
}

void ScreenCanvas::text(int x, int y, std::string_view s, TColor color, int angle) {
  if (s.empty()) return;
  paint([&] {
    selectFont(m_font);
    selectColor(color);
    double radians = angle * std::numbers::pi / 180.0;
    double cosA = std::cos(radians), sinA = std::sin(radians);
    // FLTK places text by its baseline; the canvas by the top of the text cell.
    int ascent = fl_height() - fl_descent();
    int bx = m_x + x + static_cast<int>(std::lround(ascent * sinA));
    int by = m_y + y + static_cast<int>(std::lround(ascent * cosA));
    int n = static_cast<int>(s.size());
    if (angle == 0)
      fl_draw(s.data(), n, bx, by);
    else
      fl_draw(angle, s.data(), n, bx, by);
    if (m_font.underline) {
      double width = fl_width(s.data(), n);
      int ux = bx + static_cast<int>(std::lround(sinA)),
          uy = by + static_cast<int>(std::lround(cosA));
      fl_line(ux, uy, ux + static_cast<int>(std::lround(width * cosA)),
              uy - static_cast<int>(std::lround(width * sinA)));
    }
  });
}

std::unique_ptr<Bitmap> ScreenCanvas::createBitmap(int w, int h) {
  return std::make_unique<ScreenBitmap>(w, h);
}

void ScreenCanvas::drawBitmap(Bitmap& bitmap, int x, int y) {
  auto* source = dynamic_cast<ScreenBitmap*>(&bitmap);
  if (source == nullptr) throw std::logic_error("bitmap of another canvas kind");
  paint([&] {
    fl_copy_offscreen(m_x + x, m_y + y, source->width(), source->height(), source->pixmap(), 0, 0);
  });
}

void ScreenCanvas::drawImage(const RgbaImage& image, int x, int y) {
  if (image.empty()) return;
  const int stride = image.width() * 4;
  paint([&] {
    if (image.opaque()) {
      fl_draw_image(image.data(), m_x + x, m_y + y, image.width(), image.height(), 4, stride);
      return;
    }
    // Transparent pixels are left alone: draw each row's opaque runs.
    for (int row = 0; row < image.height(); ++row) {
      int col = 0;
      while (col < image.width()) {
        if (image.transparentAt(col, row)) {
          ++col;
          continue;
        }
        int start = col;
        while (col < image.width() && !image.transparentAt(col, row)) ++col;
        fl_draw_image(image.data() + row * stride + start * 4, m_x + x + start, m_y + y + row,
                      col - start, 1, 4, stride);
      }
    }
  });
}

}  // namespace widgets

namespace widgets {

TColor formFaceColor() {
  unsigned char r = 0, g = 0, b = 0;
  Fl::get_color(FL_BACKGROUND_COLOR, r, g, b);
  return rgbColor(r, g, b);
}

}  // namespace widgets
