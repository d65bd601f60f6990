// Text widths through the installed measure.
#include "ui/TextMeasure.h"

namespace ui {

namespace {

const TextMeasure*& installed() {
  static const TextMeasure* current = nullptr;
  return current;
}

}  // namespace

const TextMeasure& textMeasure() {
  static const FixedTextMeasure fixed;
  const TextMeasure* current = installed();
  return current ? *current : fixed;
}

void setTextMeasure(const TextMeasure* measure) { installed() = measure; }

}  // namespace ui
