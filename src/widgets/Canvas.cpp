// Colour resolution, RGBA images and the in-memory canvas.
#include "widgets/Canvas.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>

namespace widgets {

namespace {

// The classic desktop scheme, indexed by system colour number.
constexpr std::array<TColor, 25> kSystemColors = {
    rgbColor(192, 192, 192),  // 0 scroll bar
    rgbColor(0, 128, 128),    // 1 desktop
    rgbColor(0, 0, 128),      // 2 active caption
    rgbColor(128, 128, 128),  // 3 inactive caption
    rgbColor(192, 192, 192),  // 4 menu
    rgbColor(255, 255, 255),  // 5 window
    rgbColor(0, 0, 0),        // 6 window frame
    rgbColor(0, 0, 0),        // 7 menu text
    rgbColor(0, 0, 0),        // 8 window text
    rgbColor(255, 255, 255),  // 9 caption text
    rgbColor(192, 192, 192),  // 10 active border
    rgbColor(192, 192, 192),  // 11 inactive border
    rgbColor(128, 128, 128),  // 12 application work space
    rgbColor(0, 0, 128),      // 13 highlight
    rgbColor(255, 255, 255),  // 14 highlight text
    rgbColor(192, 192, 192),  // 15 button face
    rgbColor(128, 128, 128),  // 16 button shadow
    rgbColor(128, 128, 128),  // 17 grey text
    rgbColor(0, 0, 0),        // 18 button text
    rgbColor(192, 192, 192),  // 19 inactive caption text
    rgbColor(255, 255, 255),  // 20 button highlight
    rgbColor(0, 0, 0),        // 21 3-D dark shadow
    rgbColor(223, 223, 223),  // 22 3-D light
    rgbColor(0, 0, 0),        // 23 tooltip text
    rgbColor(255, 255, 225),  // 24 tooltip background
};

}  // namespace

Rgb resolveColor(TColor color) {
  if (color & kSystemColorFlag) {
    std::uint32_t index = color & 0xFFu;
    color = index < kSystemColors.size() ? kSystemColors[index] : clBlack;
  }
  return Rgb{static_cast<std::uint8_t>(color & 0xFF),
             static_cast<std::uint8_t>((color >> 8) & 0xFF),
             static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}

RgbaImage::RgbaImage(int width, int height, TColor fill)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)) {
  m_pixels.resize(static_cast<std::size_t>(m_width) * m_height * 4);
  Rgb c = resolveColor(fill);
  for (std::size_t i = 0; i < m_pixels.size(); i += 4) {
    m_pixels[i] = c.r;
    m_pixels[i + 1] = c.g;
    m_pixels[i + 2] = c.b;
    m_pixels[i + 3] = 255;
  }
}

bool RgbaImage::opaque() const {
  for (std::size_t i = 3; i < m_pixels.size(); i += 4)
    if (m_pixels[i] == 0) return false;
  return true;
}

Rgb RgbaImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height)
    throw std::out_of_range("pixel outside the image");
  const std::uint8_t* p = &m_pixels[(static_cast<std::size_t>(y) * m_width + x) * 4];
  return Rgb{p[0], p[1], p[2]};
}

bool RgbaImage::transparentAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return true;
  return m_pixels[(static_cast<std::size_t>(y) * m_width + x) * 4 + 3] == 0;
}

void RgbaImage::setPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  Rgb c = resolveColor(color);
  std::uint8_t* p = &m_pixels[(static_cast<std::size_t>(y) * m_width + x) * 4];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
  p[3] = 255;
}

void RgbaImage::setTransparent(int x, int y) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_pixels[(static_cast<std::size_t>(y) * m_width + x) * 4 + 3] = 0;
}

TextSize memoryTextExtent(const TFont& font, std::string_view s) {
  int charWidth = std::max(1, (font.size * 6 + 5) / 11);
  int lineHeight = std::max(1, (font.size * 13 + 5) / 11);
  return TextSize{static_cast<int>(s.size()) * charWidth, lineHeight};
}

namespace {

class MemoryBitmap : public Bitmap {
 public:
  explicit MemoryBitmap(std::unique_ptr<MemoryCanvas> canvas) : m_canvas(std::move(canvas)) {}
  int width() const override { return m_canvas->width(); }
  int height() const override { return m_canvas->height(); }
  Canvas& canvas() override { return *m_canvas; }

 private:
  std::unique_ptr<MemoryCanvas> m_canvas;
};

}  // namespace

MemoryCanvas::MemoryCanvas(int width, int height, TColor background)
    : m_image(width, height, background), m_texts(std::make_shared<std::vector<TextRecord>>()) {}

MemoryCanvas::MemoryCanvas(int width, int height, std::shared_ptr<std::vector<TextRecord>> texts)
    : m_image(width, height, clBlack), m_texts(std::move(texts)) {}

bool MemoryCanvas::visible(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height()) return false;
  if (m_clips.empty()) return true;
  const ClipRect& c = m_clips.back();
  return x >= c.left && x < c.right && y >= c.top && y < c.bottom;
}

void MemoryCanvas::put(int x, int y, Rgb c) {
  if (visible(x, y)) m_image.setPixel(x, y, rgbColor(c.r, c.g, c.b));
}

void MemoryCanvas::fillRect(int x, int y, int w, int h, TColor color) {
  Rgb c = resolveColor(color);
  for (int row = y; row < y + h; ++row)
    for (int col = x; col < x + w; ++col) put(col, row, c);
}

void MemoryCanvas::line(int x1, int y1, int x2, int y2, TColor color) {
  // Bresenham, stopping before the end point.
  Rgb c = resolveColor(color);
  int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  while (x1 != x2 || y1 != y2) {
    put(x1, y1, c);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

void MemoryCanvas::pixel(int x, int y, TColor color) { put(x, y, resolveColor(color)); }

void MemoryCanvas::text(int x, int y, std::string_view s, TColor color, int angle) {
  m_texts->push_back(TextRecord{x, y, std::string(s), color, angle, m_font, this});
}

void MemoryCanvas::pushClip(int x, int y, int w, int h) {
  ClipRect r{x, y, x + std::max(w, 0), y + std::max(h, 0)};
  if (!m_clips.empty()) {
    const ClipRect& o = m_clips.back();
    r = ClipRect{std::max(r.left, o.left), std::max(r.top, o.top), std::min(r.right, o.right),
                 std::min(r.bottom, o.bottom)};
  }
  m_clips.push_back(r);
}

void MemoryCanvas::popClip() {
  if (!m_clips.empty()) m_clips.pop_back();
}

std::unique_ptr<Bitmap> MemoryCanvas::createBitmap(int w, int h) {
  return std::make_unique<MemoryBitmap>(
      std::unique_ptr<MemoryCanvas>(new MemoryCanvas(w, h, m_texts)));
}

void MemoryCanvas::drawBitmap(Bitmap& bitmap, int x, int y) {
  auto* source = dynamic_cast<MemoryCanvas*>(&bitmap.canvas());
  if (source == nullptr) throw std::logic_error("bitmap of another canvas kind");
  drawImage(source->image(), x, y);
}

void MemoryCanvas::drawImage(const RgbaImage& image, int x, int y) {
  for (int row = 0; row < image.height(); ++row)
    for (int col = 0; col < image.width(); ++col)
      if (!image.transparentAt(col, row)) put(x + col, y + row, image.pixel(col, row));
}

}  // namespace widgets
