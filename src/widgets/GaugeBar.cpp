// TGaugeBar: composes bar image, unfilled part, border and text off-screen, then copies it out.
#include "widgets/GaugeBar.h"

#include <cmath>
#include <cstdlib>

#include "widgets/PropertyChange.h"
#include "widgets/ScreenCanvas.h"

namespace widgets {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c) {
  long long product = static_cast<long long>(a) * b;
  long long magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
  return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

// Rounds halves to even, as the progress figures are specified.
int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

bool isHorizontal(TProgressDirection d) { return d == pdLeftToRight || d == pdRightToLeft; }

}  // namespace

TColor Blend(TColor a, TColor b, int i, int n) {
  if (i < 1 || i > n)
    throw ERangeError("ColorIndex can't be less than 1 or greater than " + std::to_string(n));
  Rgb from = resolveColor(a), to = resolveColor(b);
  // A single line has no step to take; it gets the start colour.
  if (n == 1) return rgbColor(from.r, from.g, from.b);
  auto channel = [&](int x, int y) { return x + mulDiv(i - 1, y - x, n - 1); };
  return rgbColor(channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b));
}

TGaugeBar::~TGaugeBar() = default;

void TGaugeBar::changed() {
  m_rebuild = true;
  paintNow();
}

void TGaugeBar::setBackgroundColor(TColor value) {
  if (changeProperty(m_backgroundColor, value)) changed();
}

void TGaugeBar::setBarColor1(TColor value) {
  if (changeProperty(m_barColor1, value)) changed();
}

void TGaugeBar::setBarColor2(TColor value) {
  if (changeProperty(m_barColor2, value)) changed();
}

void TGaugeBar::setBarColor3(TColor value) {
  if (changeProperty(m_barColor3, value)) changed();
}

void TGaugeBar::setBarColorStyle(TBarColorStyle value) {
  if (changeProperty(m_barColorStyle, value)) changed();
}

void TGaugeBar::setBorderColor1(TColor value) {
  if (changeProperty(m_borderColor1, value)) changed();
}

void TGaugeBar::setBorderColor2(TColor value) {
  if (changeProperty(m_borderColor2, value)) changed();
}

void TGaugeBar::setDirection(TProgressDirection value) {
  if (changeProperty(m_direction, value)) changed();
}

void TGaugeBar::setMax(int value) {
  if (changeProperty(m_max, value)) changed();
}

void TGaugeBar::setMin(int value) {
  if (changeProperty(m_min, value)) changed();
}

void TGaugeBar::setPercentage(bool value) {
  if (changeProperty(m_percentage, value)) changed();
}

void TGaugeBar::setPosTextPrefix(const std::string& value) {
  if (changeProperty(m_posTextPrefix, value)) changed();
}

void TGaugeBar::setPosTextSuffix(const std::string& value) {
  if (changeProperty(m_posTextSuffix, value)) changed();
}

void TGaugeBar::setShowBorder(bool value) {
  if (changeProperty(m_showBorder, value)) changed();
}

void TGaugeBar::setShowPosText(bool value) {
  if (changeProperty(m_showPosText, value)) changed();
}

void TGaugeBar::setFont(const TFont& value) {
  if (changeProperty(m_font, value)) changed();
}

void TGaugeBar::setBarBitmap(const RgbaImage& value) {
  m_barBitmap = value;
  changed();
}

void TGaugeBar::setPosition(int value) {
  if (value == m_position || value > m_max || value < m_min) return;
  m_position = value;
  // The cached bar image stays valid: only the unfilled rectangle and the text move.
  paintNow();
}

void TGaugeBar::resize(int x, int y, int w, int h) {
  bool sizeChanged = w != this->w() || h != this->h();
  ui::NativeWidget::resize(x, y, w, h);
  if (sizeChanged) m_rebuild = true;
}

std::string TGaugeBar::positionText() const {
  int number = m_position;
  // Min does not enter the percentage. With Max 0 there is no percentage to show; 0 is shown.
  if (m_percentage)
    number = m_max == 0 ? 0 : roundHalfEven(m_position / static_cast<double>(m_max) * 100.0);
  return m_posTextPrefix + std::to_string(number) + m_posTextSuffix;
}

int TGaugeBar::handle(int event) {
  const int button = ui::eventButton(), ex = ui::eventX() - x(), ey = ui::eventY() - y();
  auto notify = [&](const std::function<void(int, int, int)>& handler) {
    if (handler) handler(button, ex, ey);
  };
  switch (event) {
    case ui::kEventEnter:
      return 1;  // so that moves arrive
    case ui::kEventPush:
      notify(OnMouseDown);
      if (ui::eventClicks() != 0 && OnDblClick) OnDblClick();
      return 1;
    case ui::kEventMove:
    case ui::kEventDrag:
      notify(OnMouseMove);
      return 1;
    case ui::kEventRelease:
      notify(OnMouseUp);
      if (ui::eventInside(*this) && OnClick) OnClick();
      return 1;
    default:
      return ui::NativeWidget::handle(event);
  }
}

void TGaugeBar::draw() {
  ScreenCanvas surface(x(), y(), w(), h());
  paint(surface);
}

void TGaugeBar::paint(Canvas& surface) {
  const int width = w(), height = h();
  if (width <= 0 || height <= 0) return;
  if (!m_offscreen || m_offscreen->width() != width || m_offscreen->height() != height ||
      m_offscreen->canvas().kind() != surface.kind())
    m_offscreen = surface.createBitmap(width, height);
  Canvas& target = m_offscreen->canvas();
  target.setFont(m_font);
  drawBar(surface, target);
  if (m_showBorder) drawBorder(target);
  if (m_showPosText) drawText(target);
  surface.drawBitmap(*m_offscreen, 0, 0);
}

void TGaugeBar::drawBar(Canvas& surface, Canvas& target) {
  const int width = w(), height = h();
  if (m_barBitmap.empty() && m_barColorStyle == cs1Color) {
    target.fillRect(0, 0, width, height, m_barColor1);
  } else {
    if (!m_barImage || m_barImage->width() != width || m_barImage->height() != height ||
        m_barImage->canvas().kind() != surface.kind()) {
      m_barImage = surface.createBitmap(width, height);
      m_rebuild = true;
    }
    if (m_rebuild) {
      Canvas& bar = m_barImage->canvas();
      if (m_barBitmap.empty()) {
        drawGradient(bar);
      } else {
        const int bw = m_barBitmap.width(), bh = m_barBitmap.height();
        for (int row = 0; row < height / bh + 1; ++row)
          for (int column = 0; column < width / bw + 1; ++column)
            bar.drawImage(m_barBitmap, column * bw, row * bh);
      }
      ++m_barImageBuilds;
      m_rebuild = false;
    }
    target.drawBitmap(*m_barImage, 0, 0);
  }

  const bool horizontal = isHorizontal(m_direction);
  int length = horizontal ? width : height;
  int left = 0, top = 0, right = width, bottom = height;
  if (m_showBorder) {
    length -= 2;
    left = 1, top = 1, right = width - 1, bottom = height - 1;
  }
  int filled = 0;
  if (m_position > m_min && m_min != m_max)
    filled = roundHalfEven(static_cast<double>(m_position - m_min) /
                           std::abs(static_cast<double>(m_max) - m_min) * length);
  const int unfilled = length - filled;
  switch (m_direction) {
    case pdLeftToRight:
      target.fillRect(right - unfilled, top, unfilled, bottom - top, m_backgroundColor);
      break;
    case pdRightToLeft:
      target.fillRect(left, top, unfilled, bottom - top, m_backgroundColor);
      break;
    case pdBottomToTop:
      target.fillRect(left, top, right - left, unfilled, m_backgroundColor);
      break;
    case pdTopToBottom:
      target.fillRect(left, bottom - unfilled, right - left, unfilled, m_backgroundColor);
      break;
  }
}

void TGaugeBar::drawGradient(Canvas& bar) {
  const int width = w(), height = h();
  const bool horizontal = isHorizontal(m_direction);
  const int span = horizontal ? width : height;
  const bool three = m_barColorStyle == cs3Colors;
  // BarColor1 always sits where the fill starts; the lines run from the left or top edge.
  const bool reversed = m_direction == pdRightToLeft || m_direction == pdBottomToTop;
  TColor a, b, c = m_barColor1;
  if (three) {
    a = reversed ? m_barColor3 : m_barColor1;
    b = m_barColor2;
    c = reversed ? m_barColor1 : m_barColor3;
  } else {
    a = reversed ? m_barColor2 : m_barColor1;
    b = reversed ? m_barColor1 : m_barColor2;
  }
  auto lineAt = [&](int offset, TColor color) {
    if (horizontal)
      bar.fillRect(offset, 0, 1, height, color);
    else
      bar.fillRect(0, offset, width, 1, color);
  };
  const int first = three ? span / 2 : span;
  for (int i = 1; i <= first; ++i) lineAt(i - 1, Blend(a, b, i, first));
  if (three) {
    const int rest = span - first;
    for (int i = 1; i <= rest; ++i) lineAt(first + i - 1, Blend(b, c, i, rest));
  }
}

void TGaugeBar::drawBorder(Canvas& target) {
  const int width = w(), height = h();
  target.line(width - 1, 0, 0, 0, m_borderColor1);
  target.line(0, 0, 0, height, m_borderColor1);
  target.line(1, height - 1, width - 1, height - 1, m_borderColor2);
  target.line(width - 1, height - 1, width - 1, 0, m_borderColor2);
}

void TGaugeBar::drawText(Canvas& target) {
  const std::string text = positionText();
  TextSize size = target.textExtent(text);
  target.text(w() / 2 - size.width / 2, h() / 2 - size.height / 2, text, m_font.color);
}

}  // namespace widgets
