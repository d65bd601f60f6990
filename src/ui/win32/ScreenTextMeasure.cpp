// Text widths from the window font's metrics.
#include <windows.h>

#include "NativePaint.h"
#include "platform/Utf16.h"
#include "ui/TextMeasure.h"

namespace ui {

// Every control draws with the window font, so the font number and size do not enter.
int ScreenTextMeasure::width(std::string_view text, int, int) const {
  const std::wstring wide = platform::toUtf16(std::string(text));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, static_cast<HFONT>(windowFont()));
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return int(size.cx);
}

}  // namespace ui
