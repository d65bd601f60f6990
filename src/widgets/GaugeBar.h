// TGaugeBar: a progress bar filled with a colour, a gradient or tiles, with a centred value text.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "NativeWidgets.h"
#include "widgets/Canvas.h"

namespace widgets {

enum TBarColorStyle { cs1Color, cs2Colors, cs3Colors };
enum TProgressDirection { pdLeftToRight, pdRightToLeft, pdBottomToTop, pdTopToBottom };

class ERangeError : public std::range_error {
 public:
  using std::range_error::range_error;
};

// The colour of line i of n going from a to b; throws ERangeError when i is outside 1 .. n.
TColor Blend(TColor a, TColor b, int i, int n);

class TGaugeBar : public ui::NativeWidget {
 public:
  TGaugeBar(int x, int y, int w = 200, int h = 20);
  ~TGaugeBar() override;

  TColor BackgroundColor() const { return m_backgroundColor; }
  void setBackgroundColor(TColor value);
  // Tiled as the bar image instead of the colours when not empty; the bar keeps its own copy.
  const RgbaImage& BarBitmap() const { return m_barBitmap; }
  void setBarBitmap(const RgbaImage& value);
  TColor BarColor1() const { return m_barColor1; }
  void setBarColor1(TColor value);
  TColor BarColor2() const { return m_barColor2; }
  void setBarColor2(TColor value);
  TColor BarColor3() const { return m_barColor3; }
  void setBarColor3(TColor value);
  TBarColorStyle BarColorStyle() const { return m_barColorStyle; }
  void setBarColorStyle(TBarColorStyle value);
  TColor BorderColor1() const { return m_borderColor1; }
  void setBorderColor1(TColor value);
  TColor BorderColor2() const { return m_borderColor2; }
  void setBorderColor2(TColor value);
  TProgressDirection Direction() const { return m_direction; }
  void setDirection(TProgressDirection value);
  int Max() const { return m_max; }
  void setMax(int value);
  int Min() const { return m_min; }
  void setMin(int value);
  bool Percentage() const { return m_percentage; }
  void setPercentage(bool value);
  int Position() const { return m_position; }
  // Ignores a value equal to the current one or outside Min .. Max; otherwise the bar is
  // painted at once from its cached bar image (the split job does not process messages).
  void setPosition(int value);
  const std::string& PosTextPrefix() const { return m_posTextPrefix; }
  void setPosTextPrefix(const std::string& value);
  const std::string& PosTextSuffix() const { return m_posTextSuffix; }
  void setPosTextSuffix(const std::string& value);
  bool ShowBorder() const { return m_showBorder; }
  void setShowBorder(bool value);
  bool ShowPosText() const { return m_showPosText; }
  void setShowPosText(bool value);
  const TFont& Font() const { return m_font; }
  void setFont(const TFont& value);

  // The base control's mouse events; (x, y) relative to the bar, buttons numbered 1 left, 2 middle,
  // 3 right.
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(int button, int x, int y)> OnMouseDown;
  std::function<void(int button, int x, int y)> OnMouseMove;
  std::function<void(int button, int x, int y)> OnMouseUp;

  // The centred text as it is drawn: prefix, number, suffix.
  std::string positionText() const;
  // Composes the whole bar off-screen and copies it onto surface at (0, 0).
  void paint(Canvas& surface);
  // How many times the full-length bar image has been made (gradient or tiles).
  int barImageBuilds() const { return m_barImageBuilds; }

  void draw() override;
  int handle(int event) override;
  void resize(int x, int y, int w, int h) override;

 private:
  void changed();
  void paintNow();
  void drawBar(Canvas& surface, Canvas& target);
  void drawGradient(Canvas& target);
  void drawBorder(Canvas& target);
  void drawText(Canvas& target);

  TColor m_backgroundColor = clBtnFace;
  RgbaImage m_barBitmap;
  TColor m_barColor1 = clGreen;
  TColor m_barColor2 = clYellow;
  TColor m_barColor3 = clRed;
  TBarColorStyle m_barColorStyle = cs3Colors;
  TColor m_borderColor1 = clBtnShadow;
  TColor m_borderColor2 = clBtnHighlight;
  TProgressDirection m_direction = pdLeftToRight;
  int m_max = 100;
  int m_min = 0;
  bool m_percentage = false;
  int m_position = 0;
  std::string m_posTextPrefix;
  std::string m_posTextSuffix;
  bool m_showBorder = true;
  bool m_showPosText = true;
  TFont m_font;

  std::unique_ptr<Bitmap> m_offscreen;
  std::unique_ptr<Bitmap> m_barImage;
  // Everything but a new position makes the bar image stale.
  bool m_rebuild = true;
  int m_barImageBuilds = 0;
};

}  // namespace widgets
