// TFxUrlLabel: a hyperlink label that changes colour when pressed, hovered and visited.
#pragma once

#include <string>

#include "widgets/FxLabel.h"

namespace widgets::fx {

class TFxUrlLabel : public TFxLabel {
 public:
  TFxUrlLabel(int x, int y, int w, int h, const std::string& caption = "", bool autoSize = true);

  // The target; when empty the caption is opened instead.
  const std::string& URL() const { return m_url; }
  void setURL(const std::string& value) { m_url = value; }
  TColor UnvisitedColor() const { return m_unvisitedColor; }
  void setUnvisitedColor(TColor value);
  TColor ActivatedColor() const { return m_activatedColor; }
  void setActivatedColor(TColor value) { m_activatedColor = value; }
  TColor VisitedColor() const { return m_visitedColor; }
  void setVisitedColor(TColor value);
  TColor HoveredColor() const { return m_hoveredColor; }
  void setHoveredColor(TColor value) { m_hoveredColor = value; }
  bool CanHover() const { return m_canHover; }
  void setCanHover(bool value);

  bool visited() const { return m_visited; }
  bool pressed() const { return m_pressed; }

  // The mouse rules, with (x, y) relative to the label; handle() feeds them from FLTK events.
  // Only the left button (1) counts.
  void mouseDown(int button, int x, int y);
  void mouseUp(int button, int x, int y);
  void mouseEnter() override;
  void mouseLeave() override;

  int handle(int event) override;

 protected:
  void fontChanged() override;

 private:
  void setUnderline(bool on);
  TColor restingColor() const { return m_visited ? m_visitedColor : m_unvisitedColor; }

  std::string m_url;
  TColor m_unvisitedColor = clBlue;
  TColor m_activatedColor = clRed;
  TColor m_visitedColor = clNavy;
  TColor m_hoveredColor = clWhite;
  bool m_canHover = false;
  bool m_visited = false;
  bool m_pressed = false;
  bool m_dragInside = false;
};

}  // namespace widgets::fx
