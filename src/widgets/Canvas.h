// The drawing seam of the custom controls: colours, fonts, off-screen bitmaps, and an in-memory
// canvas.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

// 0x00BBGGRR for an RGB colour, or 0x80000000 plus a system colour index.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clWindow = 0x80000005u;
inline constexpr TColor clWindowText = 0x80000008u;
inline constexpr TColor clBtnFace = 0x8000000Fu;
inline constexpr TColor clBtnShadow = 0x80000010u;
inline constexpr TColor clBtnHighlight = 0x80000014u;
inline constexpr TColor clBlack = 0x00000000u;
inline constexpr TColor clNavy = 0x00800000u;
inline constexpr TColor clGreen = 0x00008000u;
inline constexpr TColor clRed = 0x000000FFu;
inline constexpr TColor clBlue = 0x00FF0000u;
inline constexpr TColor clYellow = 0x0000FFFFu;
inline constexpr TColor clWhite = 0x00FFFFFFu;

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr TColor rgbColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// System colours resolve to the classic desktop palette, so that a control looks the same on
// screen and in memory.
Rgb resolveColor(TColor color);
inline TColor toRgbColor(TColor color) {
  Rgb c = resolveColor(color);
  return rgbColor(c.r, c.g, c.b);
}

// A control's font. Size is the pixel height ("MS Sans Serif" -11 is Helvetica 11).
struct TFont {
  int face = 0;  // an FLTK font number; 0 is Helvetica
  int size = 11;
  TColor color = clWindowText;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const TFont&, const TFont&) = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
};

// Pixels with an alpha of 0 (not drawn) or 255: lamp and cursor artwork, tiled bar bitmaps.
class RgbaImage {
 public:
  RgbaImage() = default;
  RgbaImage(int width, int height, TColor fill = clBlack);

  int width() const { return m_width; }
  int height() const { return m_height; }
  bool empty() const { return m_width <= 0 || m_height <= 0; }
  bool opaque() const;

  Rgb pixel(int x, int y) const;
  bool transparentAt(int x, int y) const;
  void setPixel(int x, int y, TColor color);
  void setTransparent(int x, int y);
  // Four bytes per pixel, R G B A, rows top to bottom.
  const std::uint8_t* data() const { return m_pixels.data(); }

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<std::uint8_t> m_pixels;
};

class Canvas;

// An off-screen bitmap made by a canvas and drawn back onto a canvas of the same kind.
class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual Canvas& canvas() = 0;
};

// Coordinates are relative to the canvas's top-left corner, y downwards.
class Canvas {
 public:
  enum class Kind { Memory, Screen };

  virtual ~Canvas() = default;
  virtual Kind kind() const = 0;
  virtual int width() const = 0;
  virtual int height() const = 0;

  // A rectangle with a width or height of 0 or less paints nothing.
  virtual void fillRect(int x, int y, int w, int h, TColor color) = 0;
  // Like a pen moved to the end point: the end point itself is not drawn.
  virtual void line(int x1, int y1, int x2, int y2, TColor color) = 0;
  virtual void pixel(int x, int y, TColor color) = 0;

  virtual void setFont(const TFont& font) = 0;
  virtual const TFont& font() const = 0;
  // Draws with a transparent background. (x, y) is the top-left corner of the text's cell
  // before rotation; the text turns counter-clockwise around that point by angle degrees.
  virtual void text(int x, int y, std::string_view s, TColor color, int angle = 0) = 0;
  // Width and line height of one line in the current font, unrotated.
  virtual TextSize textExtent(std::string_view s) = 0;

  // Clip rectangles nest; each one is intersected with the one before.
  virtual void pushClip(int x, int y, int w, int h) = 0;
  virtual void popClip() = 0;

  virtual std::unique_ptr<Bitmap> createBitmap(int w, int h) = 0;
  // bitmap must come from a canvas of the same kind.
  virtual void drawBitmap(Bitmap& bitmap, int x, int y) = 0;
  virtual void drawImage(const RgbaImage& image, int x, int y) = 0;
};

// The fixed text measure of the in-memory canvas: 6 pixels per character and 13 pixels per line
// at size 11, scaled with the size.
TextSize memoryTextExtent(const TFont& font, std::string_view s);
// The text measure of the screen when a display is open, else the fixed one.
TextSize measureText(const TFont& font, std::string_view s);

// One call of Canvas::text on a memory canvas (or on a bitmap made by it).
struct TextRecord {
  int x = 0;
  int y = 0;
  std::string text;
  TColor color = 0;
  int angle = 0;
  TFont font;
  const Canvas* target = nullptr;
};

// Draws into an RGB image in memory, without a display; text is recorded instead of rendered.
class MemoryCanvas : public Canvas {
 public:
  MemoryCanvas(int width, int height, TColor background = clWhite);

  Kind kind() const override { return Kind::Memory; }
  int width() const override { return m_image.width(); }
  int height() const override { return m_image.height(); }
  void fillRect(int x, int y, int w, int h, TColor color) override;
  void line(int x1, int y1, int x2, int y2, TColor color) override;
  void pixel(int x, int y, TColor color) override;
  void setFont(const TFont& font) override { m_font = font; }
  const TFont& font() const override { return m_font; }
  void text(int x, int y, std::string_view s, TColor color, int angle = 0) override;
  TextSize textExtent(std::string_view s) override { return memoryTextExtent(m_font, s); }
  void pushClip(int x, int y, int w, int h) override;
  void popClip() override;
  std::unique_ptr<Bitmap> createBitmap(int w, int h) override;
  void drawBitmap(Bitmap& bitmap, int x, int y) override;
  void drawImage(const RgbaImage& image, int x, int y) override;

  const RgbaImage& image() const { return m_image; }
  Rgb at(int x, int y) const { return m_image.pixel(x, y); }
  // Text drawn on this canvas and on every bitmap it made, in drawing order.
  const std::vector<TextRecord>& texts() const { return *m_texts; }
  void clearTexts() { m_texts->clear(); }

 private:
  struct ClipRect {
    int left, top, right, bottom;
  };
  MemoryCanvas(int width, int height, std::shared_ptr<std::vector<TextRecord>> texts);
  bool visible(int x, int y) const;
  void put(int x, int y, Rgb color);

  RgbaImage m_image;
  TFont m_font;
  std::vector<ClipRect> m_clips;
  std::shared_ptr<std::vector<TextRecord>> m_texts;
};

}  // namespace widgets
