// The width of a text in pixels: FLTK's font metrics on screen, a fixed measure without one.
#pragma once

#include <string_view>

namespace ui {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int width(std::string_view text, int font, int size) const = 0;
};

// Every character is `perChar` pixels wide: predictable widths for tests and the terminal.
class FixedTextMeasure : public TextMeasure {
 public:
  explicit FixedTextMeasure(int perChar = 6) : m_perChar(perChar) {}
  int width(std::string_view text, int, int) const override { return int(text.size()) * m_perChar; }

 private:
  int m_perChar;
};

// FLTK's metrics; valid only once the display is open.
class FltkTextMeasure : public TextMeasure {
 public:
  int width(std::string_view text, int font, int size) const override;
};

// The measure in use; a FixedTextMeasure until another is installed.
const TextMeasure& textMeasure();
// Installs `measure` (not owned; nullptr restores the fixed measure).
void setTextMeasure(const TextMeasure* measure);

}  // namespace ui
