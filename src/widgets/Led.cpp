// TLED: steady painting by State, and the blink timer that alternates dark and lit images.
#include "widgets/Led.h"

#include "widgets/ScreenCanvas.h"

namespace widgets {

namespace {

// Damage bit of a blink step: draw() then shows the ticked image instead of the State one.
constexpr unsigned char kBlinkDamage = ui::kDamageUser;

}  // namespace

TLED::TLED(int x, int y, int w, int h) : ui::NativeWidget(x, y, w, h) { ui::paintsItself(*this); }

TLED::~TLED() { stopTimer(); }

void TLED::setColor(TLEDColorType value) {
  if (value == m_color) return;
  m_color = value;
  redraw();
}

void TLED::setState(TLEDState value) {
  if (value == m_state) return;
  m_state = value;
  redraw();
}

void TLED::setBlinking(bool value) {
  if (value) {
    m_blinking = true;
    m_phase = true;
    // A running timer keeps its rhythm, as an enabled system timer does when enabled again.
    if (!m_timerRunning) startTimer();
    return;
  }
  m_blinking = false;
  stopTimer();
  redraw();
}

void TLED::setBlinkInterval(int value) {
  if (value == m_interval) return;
  m_interval = value;
  // A new interval restarts the count, as a system timer does.
  if (m_blinking) startTimer();
}

void TLED::startTimer() {
  stopTimer();
  if (m_interval <= 0) return;
  ui::addTimeout(m_interval / 1000.0, timerTick, this);
  m_timerRunning = true;
}

void TLED::stopTimer() {
  ui::removeTimeout(timerTick, this);
  m_timerRunning = false;
}

void TLED::timerTick(void* self) {
  auto* led = static_cast<TLED*>(self);
  led->blinkStep();
  ui::repeatTimeout(led->m_interval / 1000.0, timerTick, self);
}

void TLED::blinkStep() {
  m_tickImage = lampImageName(m_color, !m_phase);
  m_phase = !m_phase;
  m_shown = m_tickImage;
  damage(kBlinkDamage);
}

void TLED::paint(Canvas& surface) {
  m_shown = lampImageName(m_color, m_state == LEDOn);
  surface.drawImage(lampImage(m_shown), 1, 1);
}

void TLED::draw() {
  ScreenCanvas surface(x(), y(), w(), h());
  if (damage() == kBlinkDamage && !m_tickImage.empty()) {
    surface.drawImage(lampImage(m_tickImage), 1, 1);
    return;
  }
  paint(surface);
}

int TLED::handle(int event) {
  switch (event) {
    case ui::kEventPush:
      m_pressed = ui::eventButton() == ui::kLeftButton;
      return 1;
    case ui::kEventRelease: {
      bool click = m_pressed && ui::eventInside(*this);
      m_pressed = false;
      if (click && onClick) onClick();
      return 1;
    }
    default:
      return ui::NativeWidget::handle(event);
  }
}

}  // namespace widgets
