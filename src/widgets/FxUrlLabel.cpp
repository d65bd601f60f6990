// TFxUrlLabel: colour states of a link and opening its target on a click.
#include "widgets/FxUrlLabel.h"

#include "platform/Shell.h"
#include "widgets/HandCursors.h"

namespace widgets::fx {

TFxUrlLabel::TFxUrlLabel(int x, int y, int w, int h, const std::string& caption, bool autoSize)
    : TFxLabel(x, y, w, h, caption, autoSize) {
  TFont font = Font();
  font.color = clBlue;
  font.underline = true;
  setFont(font);
  setCursor(crHandPoint);
}

void TFxUrlLabel::fontChanged() {
  // A colour given from outside becomes the colour of the current state.
  if (m_canHover || m_pressed) return;
  (m_visited ? m_visitedColor : m_unvisitedColor) = Font().color;
}

void TFxUrlLabel::setUnvisitedColor(TColor value) {
  m_unvisitedColor = value;
  if (!m_visited) setFontColor(value);
}

void TFxUrlLabel::setVisitedColor(TColor value) {
  m_visitedColor = value;
  if (m_visited) setFontColor(value);
}

void TFxUrlLabel::setUnderline(bool on) {
  TFont font = Font();
  font.underline = on;
  setFont(font);
}

void TFxUrlLabel::setCanHover(bool value) {
  m_canHover = value;
  // With hovering, the underline appears only under the mouse.
  setUnderline(!value);
}

void TFxUrlLabel::mouseDown(int button, int, int) {
  if (button != ui::kLeftButton) return;
  m_pressed = true;
  setFontColor(m_activatedColor);
}

void TFxUrlLabel::mouseUp(int button, int x, int y) {
  if (button != ui::kLeftButton) return;
  if (x < 0 || y < 0 || y > h() || x > w()) {
    setFontColor(restingColor());
  } else if (m_pressed) {
    m_visited = true;
    setFontColor(m_canHover ? m_hoveredColor : m_visitedColor);
    platform::openDocument(m_url.empty() ? Caption() : m_url);
  }
  m_pressed = false;
}

void TFxUrlLabel::mouseEnter() {
  TFxLabel::mouseEnter();
  if (m_canHover) setUnderline(true);
  if (m_pressed)
    setFontColor(m_activatedColor);
  else if (m_canHover)
    setFontColor(m_hoveredColor);
}

void TFxUrlLabel::mouseLeave() {
  TFxLabel::mouseLeave();
  if (m_canHover) setUnderline(false);
  setFontColor(restingColor());
}

int TFxUrlLabel::handle(int event) {
  switch (event) {
    case ui::kEventPush:
      m_dragInside = true;
      mouseDown(ui::eventButton(), ui::eventX() - x(), ui::eventY() - y());
      return 1;
    case ui::kEventDrag: {
      // FLTK sends no enter or leave while a button is held; the drag tells instead.
      bool inside = ui::eventInside(*this);
      if (inside != m_dragInside) {
        m_dragInside = inside;
        if (inside)
          mouseEnter();
        else
          mouseLeave();
      }
      return 1;
    }
    case ui::kEventRelease:
      mouseUp(ui::eventButton(), ui::eventX() - x(), ui::eventY() - y());
      return 1;
    default:
      return TFxLabel::handle(event);
  }
}

}  // namespace widgets::fx
