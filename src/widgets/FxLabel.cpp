// TFxLabel: presets, property rules and the painting of shadow, highlight and rotated captions.
#include "widgets/FxLabel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "widgets/HandCursors.h"
#include "widgets/PropertyChange.h"
#include "widgets/ScreenCanvas.h"

namespace widgets::fx {

namespace {

struct Preset {
  TDirection highlightDirection;
  int highlightDepth;
  TDirection shadowDirection;
  int shadowDepth;
  int shadowSize;
  bool faceColoredFont;
};

// Indexed by TShadowStyle; the ssCustom row is never applied.
constexpr std::array<Preset, 11> kPresets = {{
    {drNone, 0, drNone, 0, 0, false},         // ssNone
    {drNone, 0, drNone, 0, 0, false},         // ssCustom
    {drUpLeft, 1, drNone, 0, 0, false},       // ssRaised
    {drUpLeft, 1, drDownRight, 1, 1, true},   // ssRaisedColor
    {drUpLeft, 1, drDownRight, 1, 1, false},  // ssRaisedShadow
    {drUpLeft, 1, drDownRight, 1, 4, false},  // ssRaisedThickShadow
    {drDownRight, 1, drNone, 0, 0, false},    // ssRecessed
    {drDownRight, 1, drUpLeft, 1, 1, true},   // ssRecessedColor
    {drDownRight, 1, drUpLeft, 1, 1, false},  // ssRecessedShadow
    {drNone, 0, drDownRight, 2, 1, false},    // ssShadow
    {drNone, 0, drDownRight, 1, 4, false},    // ssThickShadow
}};

constexpr int kTabWidth = 8;

std::string expandTabs(const std::string& line) {
  std::string out;
  for (char c : line) {
    if (c == '\t')
      out.append(kTabWidth - out.size() % kTabWidth, ' ');
    else
      out += c;
  }
  return out;
}

int clampDepth(int value) { return std::clamp(value, 0, kMaxShadowDepth); }

auto canvasWidth(Canvas& canvas) {
  return [&canvas](std::string_view text) { return canvas.textExtent(text).width; };
}

}  // namespace

Step directionStep(TDirection direction) {
  switch (direction) {
    case drUp:
      return {0, -1};
    case drDown:
      return {0, 1};
    case drLeft:
      return {-1, 0};
    case drRight:
      return {1, 0};
    case drUpLeft:
      return {-1, -1};
    case drUpRight:
      return {1, -1};
    case drDownLeft:
      return {-1, 1};
    case drDownRight:
      return {1, 1};
    case drNone:
      break;
  }
  return {0, 0};
}

TFxLabel::TFxLabel(int x, int y, int w, int h, const std::string& caption, bool autoSize)
    : ui::NativeWidget(x, y, w, h), m_caption(caption), m_autoSize(autoSize) {
  ui::paintsItself(*this);
  adjustBounds();
}

void TFxLabel::invalidate() {
  // A transparent label shows its parent through, so the parent repaints under it.
  if (m_transparent && parent() != nullptr) parent()->damage(ui::kDamageAll, x(), y(), w(), h());
  redraw();
}

void TFxLabel::adjustBounds() {
  if (!m_autoSize) return;
  auto widthOf = [this](std::string_view text) { return measureText(m_font, text).width; };
  // An empty caption is measured as one space, so that the label keeps a line's height.
  const std::string text = shownText().empty() ? std::string(" ") : shownText();
  const std::vector<std::string> shown = lines(text, w(), widthOf);
  int width = 0;
  for (const std::string& line : shown) width = std::max(width, widthOf(line));
  const int height = static_cast<int>(shown.size()) * measureText(m_font, "").height;
  // A wrapped label keeps its width and takes the height of its lines.
  size(m_wordWrap ? w() : width, height);
}

void TFxLabel::setCaption(const std::string& value) {
  if (!changeProperty(m_caption, value)) return;
  adjustBounds();
  invalidate();
}

void TFxLabel::setColor(TColor value) {
  if (changeProperty(m_color, value)) invalidate();
}

void TFxLabel::setAlignment(TAlignment value) {
  if (changeProperty(m_alignment, value)) invalidate();
}

void TFxLabel::setAutoSize(bool value) {
  if (!changeProperty(m_autoSize, value)) return;
  adjustBounds();
  invalidate();
}

void TFxLabel::setWordWrap(bool value) {
  if (!changeProperty(m_wordWrap, value)) return;
  adjustBounds();
  invalidate();
}

void TFxLabel::setTransparent(bool value) {
  if (changeProperty(m_transparent, value)) invalidate();
}

void TFxLabel::setShowAccelChar(bool value) {
  if (!changeProperty(m_showAccelChar, value)) return;
  adjustBounds();
  invalidate();
}

void TFxLabel::setOffsetX(int value) {
  if (!changeProperty(m_offsetX, value)) return;
  if (value > 0) m_autoSize = false;
  invalidate();
}

void TFxLabel::setOffsetY(int value) {
  if (!changeProperty(m_offsetY, value)) return;
  if (value > 0) m_autoSize = false;
  invalidate();
}

void TFxLabel::setHighlightDirection(TDirection value) {
  if (!changeProperty(m_highlightDirection, value)) return;
  customized();
  invalidate();
}

void TFxLabel::setHighlightDepth(int value) {
  if (!changeProperty(m_highlightDepth, value)) return;
  customized();
  invalidate();
}

void TFxLabel::setHighlightColor(TColor value) {
  if (!changeProperty(m_highlightColor, value)) return;
  customized();
  invalidate();
}

void TFxLabel::setShadowDirection(TDirection value) {
  if (!changeProperty(m_shadowDirection, value)) return;
  customized();
  invalidate();
}

void TFxLabel::setShadowColor(TColor value) {
  if (!changeProperty(m_shadowColor, value)) return;
  customized();
  invalidate();
}

void TFxLabel::setVerticalAlignment(TVerticalAlignment value) {
  if (changeProperty(m_verticalAlignment, value)) invalidate();
}

void TFxLabel::setShadowDepth(int value) {
  value = clampDepth(value);
  if (value == m_shadowDepth) return;
  m_shadowDepth = value;
  customized();
  invalidate();
}

void TFxLabel::setShadowSize(int value) {
  value = clampDepth(value);
  if (value == m_shadowSize) return;
  m_shadowSize = value;
  customized();
  invalidate();
}

void TFxLabel::customized() {
  if (!m_applyingPreset) m_shadowStyle = ssCustom;
}

void TFxLabel::setFont(const TFont& value) {
  if (value == m_font) return;
  m_font = value;
  fontChanged();
  adjustBounds();
  invalidate();
}

void TFxLabel::setFontColor(TColor value) {
  TFont font = m_font;
  font.color = value;
  setFont(font);
}

void TFxLabel::setEnabled(bool value) {
  if (value == Enabled()) return;
  if (value)
    activate();
  else
    deactivate();
  invalidate();
}

void TFxLabel::setAngle(int value) {
  int angle = value % 360;
  if (angle < 0) angle += 360;
  if (angle == m_angle) return;
  m_angle = angle;
  double radians = angle * std::numbers::pi / 180.0;
  m_cos = std::cos(radians);
  m_sin = std::sin(radians);
  if (angle > 0) m_autoSize = false;
  invalidate();
}

void TFxLabel::setShadowStyle(TShadowStyle value) {
  if (value == m_shadowStyle) return;
  m_shadowStyle = value;
  if (value != ssCustom) {
    const Preset& p = kPresets.at(static_cast<std::size_t>(value));
    m_applyingPreset = true;
    setHighlightDirection(p.highlightDirection);
    setHighlightDepth(p.highlightDepth);
    setShadowDirection(p.shadowDirection);
    setShadowDepth(p.shadowDepth);
    setShadowSize(p.shadowSize);
    setHighlightColor(clBtnHighlight);
    setShadowColor(clBtnShadow);
    if (p.faceColoredFont) setFontColor(clBtnFace);
    m_applyingPreset = false;
  }
  invalidate();
}

std::string TFxLabel::shownText() const {
  if (!m_showAccelChar) return m_caption;
  // "&&" shows one ampersand; a single one marks the accelerator and is not shown.
  std::string out;
  for (std::size_t i = 0; i < m_caption.size(); ++i) {
    if (m_caption[i] == '&' && i + 1 < m_caption.size())
      ++i;
    else if (m_caption[i] == '&')
      continue;
    out += m_caption[i];
  }
  return out;
}

std::vector<std::string> TFxLabel::lines(const std::string& text, int width,
                                         const WidthOf& widthOf) const {
  std::vector<std::string> result;
  if (text.empty()) return result;
  std::vector<std::string> paragraphs(1);
  for (char c : text) {
    if (c == '\n')
      paragraphs.emplace_back();
    else if (c != '\r')
      paragraphs.back() += c;
  }
  for (const std::string& raw : paragraphs) {
    std::string paragraph = expandTabs(raw);
    if (!m_wordWrap) {
      result.push_back(paragraph);
      continue;
    }
    // Greedy breaking at spaces; a word wider than the label keeps a line of its own.
    std::string line;
    std::size_t pos = 0;
    while (pos <= paragraph.size()) {
      std::size_t end = paragraph.find(' ', pos);
      if (end == std::string::npos) end = paragraph.size();
      std::string word = paragraph.substr(pos, end - pos);
      std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && widthOf(candidate) > width) {
        result.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      pos = end + 1;
    }
    result.push_back(line);
  }
  return result;
}

void TFxLabel::drawCaption(Canvas& canvas, const Box& r, TColor color) {
  if (m_angle != 0) {
    canvas.text(r.left, r.top, shownText(), color, m_angle);
    return;
  }
  const int lineHeight = canvas.textExtent("").height;
  int y = r.top;
  for (const std::string& line : lines(shownText(), r.width, canvasWidth(canvas))) {
    int x = r.left;
    int slack = r.width - canvas.textExtent(line).width;
    if (m_alignment == taRightJustify) x += slack;
    if (m_alignment == taCenter) x += slack / 2;
    canvas.text(x, y, line, color);
    y += lineHeight;
  }
}

void TFxLabel::paint(Canvas& surface) {
  const int width = w(), height = h();
  surface.setFont(m_font);
  surface.pushClip(0, 0, width, height);
  if (!m_transparent) surface.fillRect(0, 0, width, height, m_color);

  Box r{0, 0, width, height};
  if (m_angle != 0) {
    TextSize size = surface.textExtent(shownText());
    const int a = static_cast<int>(size.width * m_cos), b = static_cast<int>(size.width * m_sin);
    const int c = static_cast<int>(size.height * m_cos), d = static_cast<int>(size.height * m_sin);
    int boxWidth, boxHeight;
    if (m_angle < 90) {
      boxWidth = a + d, boxHeight = b + c;
    } else if (m_angle < 180) {
      boxWidth = d - a, boxHeight = b - c;
    } else if (m_angle < 270) {
      boxWidth = -a - d, boxHeight = -b - c;
    } else {
      boxWidth = a - d, boxHeight = c - b;
    }
    boxWidth = std::min(boxWidth, width);
    boxHeight = std::min(boxHeight, height);
    r = Box{0, 0, boxWidth, boxHeight};
    if (m_alignment == taCenter) r.left += (width - boxWidth) / 2;
    if (m_alignment == taRightJustify) r.left += width - boxWidth;
    if (m_verticalAlignment == vaCenter) r.top += (height - boxHeight) / 2;
    if (m_verticalAlignment == vaBottom) r.top += height - boxHeight;
    // The rotated text starts from the corner that its first character sits in.
    if (m_angle < 90) {
      r.top += b;
    } else if (m_angle < 180) {
      r.left -= a, r.top += boxHeight;
    } else if (m_angle < 270) {
      r.left += boxWidth, r.top -= c;
    } else {
      r.left -= d;
    }
  } else if (m_verticalAlignment != vaTop) {
    const int textHeight =
        static_cast<int>(lines(shownText(), r.width, canvasWidth(surface)).size()) *
        surface.textExtent("").height;
    const int shift = r.height - textHeight;
    r.height = textHeight;
    r.top += m_verticalAlignment == vaCenter ? shift / 2 : shift;
  }
  r.left += m_offsetX;
  r.top += m_offsetY;

  auto moved = [&r](Step step, int steps) {
    return Box{r.left + step.dx * steps, r.top + step.dy * steps, r.width, r.height};
  };
  if (!Enabled()) {
    drawCaption(surface, moved({1, 1}, 1), clBtnHighlight);
    drawCaption(surface, r, clBtnShadow);
  } else {
    if (m_shadowStyle != ssNone) {
      const Step shadow = directionStep(m_shadowDirection);
      for (int i = 0; i < m_shadowSize; ++i)
        drawCaption(surface, moved(shadow, m_shadowDepth + i), m_shadowColor);
      drawCaption(surface, moved(directionStep(m_highlightDirection), m_highlightDepth),
                  m_highlightColor);
    }
    drawCaption(surface, r, m_font.color);
  }
  surface.popClip();
}

void TFxLabel::mouseEnter() {
  if (m_cursor != crDefault) showCursor(window(), m_cursor);
  if (OnMouseEnter) OnMouseEnter();
}

void TFxLabel::mouseLeave() {
  if (m_cursor != crDefault) showCursor(window(), crDefault);
  if (OnMouseLeave) OnMouseLeave();
}

void TFxLabel::draw() {
  ScreenCanvas surface(x(), y(), w(), h());
  paint(surface);
}

int TFxLabel::handle(int event) {
  switch (event) {
    case ui::kEventEnter:
      mouseEnter();
      return 1;
    case ui::kEventLeave:
      mouseLeave();
      return 1;
    default:
      return ui::NativeWidget::handle(event);
  }
}

}  // namespace widgets::fx
