// Cursors on Win32: HCURSORs made from the artwork, shown by the painted widgets' windows.
#include <windows.h>

#include <cstring>

#include "NativePaint.h"
#include "widgets/HandCursors.h"

namespace widgets {

std::shared_ptr<const ui::NativeCursorImage> makeCursor(const RgbaImage& pixels, int hotX,
                                                        int hotY) {
  const int w = pixels.width(), h = pixels.height();
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = w;
  header.bV5Height = -h;  // top-down rows
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!color || !bits) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgb c = pixels.pixel(x, y);
      const std::uint32_t alpha = pixels.transparentAt(x, y) ? 0 : 0xFF;
      // Alpha is premultiplied: a clear pixel is all zero.
      out[y * w + x] =
          alpha ? (alpha << 24 | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b) : 0;
    }
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  ICONINFO info{FALSE, DWORD(hotX), DWORD(hotY), mask, color};
  HCURSOR cursor = reinterpret_cast<HCURSOR>(CreateIconIndirect(&info));
  DeleteObject(mask);
  DeleteObject(color);
  if (!cursor) return nullptr;
  return std::shared_ptr<const ui::NativeCursorImage>(
      reinterpret_cast<const ui::NativeCursorImage*>(cursor), [](const ui::NativeCursorImage* c) {
        DestroyCursor(reinterpret_cast<HCURSOR>(const_cast<ui::NativeCursorImage*>(c)));
      });
}

void showCursor(ui::NativeTopLevel* window, int number) {
  if (window == nullptr) return;
  const CursorEntry* entry = findCursor(number);
  ui::shownCursor() = entry ? const_cast<ui::NativeCursorImage*>(entry->image) : nullptr;
  SetCursor(entry ? reinterpret_cast<HCURSOR>(ui::shownCursor())
                  : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

}  // namespace widgets
