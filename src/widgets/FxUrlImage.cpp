// TFxUrlImage: draws its picture, shows the hand over it and opens its target on a click.
#include "widgets/FxUrlImage.h"

#include "platform/Shell.h"
#include "widgets/HandCursors.h"
#include "widgets/ScreenCanvas.h"

namespace widgets::fx {

TFxUrlImage::TFxUrlImage(int x, int y, int w, int h)
    : ui::NativeWidget(x, y, w, h), m_cursor(crHandPoint) {
  ui::paintsItself(*this);
}

void TFxUrlImage::setPicture(const RgbaImage& value) {
  m_picture = value;
  redraw();
}

void TFxUrlImage::click() {
  if (OnClick) OnClick();
  platform::openDocument(m_url);
}

void TFxUrlImage::paint(Canvas& surface) {
  surface.pushClip(0, 0, w(), h());
  surface.drawImage(m_picture, 0, 0);
  surface.popClip();
}

void TFxUrlImage::draw() {
  ScreenCanvas surface(x(), y(), w(), h());
  paint(surface);
}

int TFxUrlImage::handle(int event) {
  switch (event) {
    case ui::kEventEnter:
      showCursor(window(), m_cursor);
      return 1;
    case ui::kEventLeave:
      showCursor(window(), crDefault);
      return 1;
    case ui::kEventPush:
      m_pressed = ui::eventButton() == ui::kLeftButton;
      return 1;
    case ui::kEventRelease: {
      // A click is a press and a release of the left button over the picture.
      bool clicked = m_pressed && ui::eventInside(*this);
      m_pressed = false;
      if (clicked) click();
      return 1;
    }
    default:
      return ui::NativeWidget::handle(event);
  }
}

}  // namespace widgets::fx
