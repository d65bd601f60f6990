// GDI drawing behind the canvas seam: rectangles, lines, rotated text, DIB sections and images.
#include "widgets/ScreenCanvas.h"

#include <windows.h>

#include <stdexcept>

#include "NativePaint.h"
#include "platform/Utf16.h"

namespace widgets {

namespace {

COLORREF colorRef(TColor color) {
  Rgb c = resolveColor(color);
  return RGB(c.r, c.g, c.b);
}

// The font that selectFont chose last; GDI objects live until the next choice.
HFONT& chosenFont() {
  static HFONT font = nullptr;
  return font;
}

}  // namespace

// A DIB section selected into a memory device context.
class ScreenBitmap : public Bitmap {
 public:
  ScreenBitmap(int w, int h)
      : m_dc(CreateCompatibleDC(nullptr)), m_canvas(std::uintptr_t(m_dc), w, h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(w, 1);
    info.bmiHeader.biHeight = -std::max(h, 1);  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
  }
  ~ScreenBitmap() override {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  ScreenBitmap(const ScreenBitmap&) = delete;
  ScreenBitmap& operator=(const ScreenBitmap&) = delete;

  int width() const override { return m_canvas.width(); }
  int height() const override { return m_canvas.height(); }
  Canvas& canvas() override { return m_canvas; }
  HDC dc() const { return m_dc; }

 private:
  HDC m_dc;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  ScreenCanvas m_canvas;
};

void selectFont(const TFont& font) {
  LOGFONTW face{};
  face.lfHeight = -font.size;
  face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  face.lfItalic = font.italic;
  face.lfUnderline = font.underline;
  face.lfCharSet = DEFAULT_CHARSET;
  face.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  wcscpy(face.lfFaceName, L"MS Sans Serif");
  if (chosenFont()) DeleteObject(chosenFont());
  chosenFont() = CreateFontIndirectW(&face);
}

TextSize measureText(const TFont& font, std::string_view s) {
  selectFont(font);
  const std::wstring wide = platform::toUtf16(std::string(s));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, chosenFont());
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return TextSize{int(size.cx), int(metrics.tmHeight)};
}

// Runs draw(dc, dx, dy) on this canvas's device context, clipped, where (dx, dy) turns canvas
// coordinates into the context's. A window canvas outside its paint cycle draws nothing.
template <class Draw>
void ScreenCanvas::paint(Draw&& draw) {
  HDC dc = reinterpret_cast<HDC>(m_offscreen);
  int dx = 0, dy = 0;
  if (!dc) {
    const ui::PaintTarget* target = ui::currentPaintTarget();
    if (!target) return;
    dc = static_cast<HDC>(target->dc);
    dx = m_x - target->originX;
    dy = m_y - target->originY;
  }
  const int saved = SaveDC(dc);
  if (!m_clips.empty()) {
    const ClipRect& c = m_clips.back();
    IntersectClipRect(dc, dx + c.x, dy + c.y, dx + c.x + c.w, dy + c.y + c.h);
  }
  draw(dc, dx, dy);
  RestoreDC(dc, saved);
}

void ScreenCanvas::fillRect(int x, int y, int w, int h, TColor color) {
  if (w <= 0 || h <= 0) return;
  paint([&](HDC dc, int dx, int dy) {
    RECT r{dx + x, dy + y, dx + x + w, dy + y + h};
    HBRUSH brush = CreateSolidBrush(colorRef(color));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  });
}

// GDI's LineTo leaves out the end point, as the canvas wants.
void ScreenCanvas::line(int x1, int y1, int x2, int y2, TColor color) {
  if (x1 == x2 && y1 == y2) return;
  paint([&](HDC dc, int dx, int dy) {
    HPEN pen = CreatePen(PS_SOLID, 1, colorRef(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, dx + x1, dy + y1, nullptr);
    LineTo(dc, dx + x2, dy + y2);
    SelectObject(dc, old);
    DeleteObject(pen);
  });
}

void ScreenCanvas::pixel(int x, int y, TColor color) {
  paint([&](HDC dc, int dx, int dy) { SetPixelV(dc, dx + x, dy + y, colorRef(color)); });
}

// GDI turns the text around its reference point, the top-left corner of the cell, as the
// canvas does; the underline is part of the font.
void ScreenCanvas::text(int x, int y, std::string_view s, TColor color, int angle) {
  if (s.empty()) return;
  const std::wstring wide = platform::toUtf16(std::string(s));
  paint([&](HDC dc, int dx, int dy) {
    LOGFONTW face{};
    selectFont(m_font);
    GetObjectW(chosenFont(), sizeof face, &face);
    face.lfEscapement = face.lfOrientation = angle * 10;
    HFONT font = CreateFontIndirectW(&face);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(color));
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutW(dc, dx + x, dy + y, wide.c_str(), int(wide.size()));
    SelectObject(dc, old);
    DeleteObject(font);
  });
}

std::unique_ptr<Bitmap> ScreenCanvas::createBitmap(int w, int h) {
  return std::make_unique<ScreenBitmap>(w, h);
}

void ScreenCanvas::drawBitmap(Bitmap& bitmap, int x, int y) {
  auto* source = dynamic_cast<ScreenBitmap*>(&bitmap);
  if (source == nullptr) throw std::logic_error("bitmap of another canvas kind");
  paint([&](HDC dc, int dx, int dy) {
    BitBlt(dc, dx + x, dy + y, source->width(), source->height(), source->dc(), 0, 0, SRCCOPY);
  });
}

// Images are small artwork (lamps, cursors, bar tiles): pixel by pixel, transparent ones left.
void ScreenCanvas::drawImage(const RgbaImage& image, int x, int y) {
  if (image.empty()) return;
  paint([&](HDC dc, int dx, int dy) {
    for (int row = 0; row < image.height(); ++row)
      for (int col = 0; col < image.width(); ++col) {
        if (image.transparentAt(col, row)) continue;
        const Rgb c = image.pixel(col, row);
        SetPixelV(dc, dx + x + col, dy + y + row, RGB(c.r, c.g, c.b));
      }
  });
}

}  // namespace widgets

namespace widgets {

TColor formFaceColor() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return rgbColor(GetRValue(face), GetGValue(face), GetBValue(face));
}

}  // namespace widgets
