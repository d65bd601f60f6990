// The width of a text in pixels: the screen's font metrics, a fixed measure without a screen.
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

// The back end's metrics; valid only once the display is open.
class ScreenTextMeasure : public TextMeasure {
 public:
  int width(std::string_view text, int font, int size) const override;
};

// The measure in use; a FixedTextMeasure until another is installed.
const TextMeasure& textMeasure();
// Installs `measure` (not owned; nullptr restores the fixed measure).
void setTextMeasure(const TextMeasure* measure);

}  // namespace ui
