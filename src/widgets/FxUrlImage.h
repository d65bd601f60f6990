// TFxUrlImage: a picture that opens its target when clicked.
#pragma once

#include <functional>
#include <string>

#include "NativeWidgets.h"
#include "widgets/Canvas.h"

namespace widgets::fx {

class TFxUrlImage : public ui::NativeWidget {
 public:
  TFxUrlImage(int x, int y, int w, int h);

  const std::string& URL() const { return m_url; }
  void setURL(const std::string& value) { m_url = value; }
  // Drawn at the control's top-left corner, clipped to the control.
  const RgbaImage& Picture() const { return m_picture; }
  void setPicture(const RgbaImage& value);
  int Cursor() const { return m_cursor; }
  void setCursor(int value) { m_cursor = value; }

  std::function<void()> OnClick;

  // The standard click handling (OnClick), then the target is opened.
  void click();
  void paint(Canvas& surface);

  void draw() override;
  int handle(int event) override;

 private:
  std::string m_url;
  RgbaImage m_picture;
  int m_cursor;
  bool m_pressed = false;
};

}  // namespace widgets::fx
