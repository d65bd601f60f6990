// TFxLabel: a text label drawn with shadow and highlight copies, rotated, offset and aligned.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "NativeWidgets.h"
#include "widgets/Canvas.h"

// The shadow-label family keeps its own direction type, apart from the path label's.
namespace widgets::fx {

enum TDirection {
  drNone,
  drUp,
  drDown,
  drLeft,
  drRight,
  drUpLeft,
  drUpRight,
  drDownLeft,
  drDownRight
};
enum TShadowStyle {
  ssNone,
  ssCustom,
  ssRaised,
  ssRaisedColor,
  ssRaisedShadow,
  ssRaisedThickShadow,
  ssRecessed,
  ssRecessedColor,
  ssRecessedShadow,
  ssShadow,
  ssThickShadow
};
enum TVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

inline constexpr int kMaxShadowDepth = 1280;  // TShadowDepth and TShadowSize: 0 .. 1280

struct Step {
  int dx = 0;
  int dy = 0;
};
Step directionStep(TDirection direction);

class TFxLabel : public ui::NativeWidget {
 public:
  // An auto-sized label takes the size of its caption at once.
  TFxLabel(int x, int y, int w, int h, const std::string& caption = "", bool autoSize = true);

  // What a standard label has.
  const std::string& Caption() const { return m_caption; }
  void setCaption(const std::string& value);
  const TFont& Font() const { return m_font; }
  void setFont(const TFont& value);
  void setFontColor(TColor value);
  TColor Color() const { return m_color; }
  void setColor(TColor value);
  TAlignment Alignment() const { return m_alignment; }
  void setAlignment(TAlignment value);
  bool AutoSize() const { return m_autoSize; }
  void setAutoSize(bool value);
  bool WordWrap() const { return m_wordWrap; }
  void setWordWrap(bool value);
  bool Transparent() const { return m_transparent; }
  void setTransparent(bool value);
  bool ShowAccelChar() const { return m_showAccelChar; }
  void setShowAccelChar(bool value);
  bool Enabled() const { return active() != 0; }
  void setEnabled(bool value);
  // The cursor number shown while the mouse is over the label.
  int Cursor() const { return m_cursor; }
  void setCursor(int value) { m_cursor = value; }

  int Angle() const { return m_angle; }
  // Kept in 0 .. 359; a positive angle turns AutoSize off.
  void setAngle(int value);
  int OffsetX() const { return m_offsetX; }
  void setOffsetX(int value);
  int OffsetY() const { return m_offsetY; }
  void setOffsetY(int value);
  TDirection HighlightDirection() const { return m_highlightDirection; }
  void setHighlightDirection(TDirection value);
  int HighlightDepth() const { return m_highlightDepth; }
  void setHighlightDepth(int value);
  TColor HighlightColor() const { return m_highlightColor; }
  void setHighlightColor(TColor value);
  TShadowStyle ShadowStyle() const { return m_shadowStyle; }
  // Applies the style's preset; every other shadow or highlight setter makes the style ssCustom.
  void setShadowStyle(TShadowStyle value);
  TDirection ShadowDirection() const { return m_shadowDirection; }
  void setShadowDirection(TDirection value);
  int ShadowDepth() const { return m_shadowDepth; }
  void setShadowDepth(int value);
  int ShadowSize() const { return m_shadowSize; }
  void setShadowSize(int value);
  TColor ShadowColor() const { return m_shadowColor; }
  void setShadowColor(TColor value);
  TVerticalAlignment VerticalAlignment() const { return m_verticalAlignment; }
  void setVerticalAlignment(TVerticalAlignment value);
  TTextLayout Layout() const { return static_cast<TTextLayout>(m_verticalAlignment); }
  void setLayout(TTextLayout value) {
    setVerticalAlignment(static_cast<TVerticalAlignment>(value));
  }

  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

  // The caption as drawn: accelerator ampersands taken out unless ShowAccelChar is off.
  std::string shownText() const;
  // Paints the label onto a canvas whose (0, 0) is the label's top-left corner.
  void paint(Canvas& surface);

  virtual void mouseEnter();
  virtual void mouseLeave();

  void draw() override;
  int handle(int event) override;

 protected:
  // Runs after every change of the font (its colour included).
  virtual void fontChanged() {}
  void invalidate();

 private:
  struct Box {
    int left, top, width, height;
  };
  void customized();
  void adjustBounds();
  using WidthOf = std::function<int(std::string_view)>;
  // The caption's lines: tabs expanded, broken at spaces to `width` when WordWrap is on.
  std::vector<std::string> lines(const std::string& text, int width, const WidthOf& widthOf) const;
  void drawCaption(Canvas& canvas, const Box& r, TColor color);

  std::string m_caption;
  TFont m_font;
  TColor m_color = clBtnFace;
  TAlignment m_alignment = taLeftJustify;
  bool m_autoSize = true;
  bool m_wordWrap = false;
  bool m_transparent = false;
  bool m_showAccelChar = true;
  int m_cursor = 0;

  int m_angle = 0;
  double m_cos = 1.0;
  double m_sin = 0.0;
  int m_offsetX = 0;
  int m_offsetY = 0;
  TDirection m_highlightDirection = drNone;
  int m_highlightDepth = 0;
  TColor m_highlightColor = clBtnHighlight;
  TShadowStyle m_shadowStyle = ssNone;
  TDirection m_shadowDirection = drNone;
  int m_shadowDepth = 0;
  int m_shadowSize = 0;
  TColor m_shadowColor = clBtnShadow;
  TVerticalAlignment m_verticalAlignment = vaTop;
  bool m_applyingPreset = false;
};

}  // namespace widgets::fx
