// TLED: a round lamp in one of eight colours, lit or dark, that can blink on a timer.
#pragma once

#include <functional>
#include <string_view>

#include "NativeWidgets.h"
#include "widgets/Canvas.h"

namespace widgets {

enum TLEDColorType { Red, Blue, Green, Yellow, Fuchsia, Grey, Aqua, White };
enum TLEDState { LEDOn, LEDOff };

inline constexpr int kLampSize = 15;

// The lamp artwork by its resource name ("LED_RED", "LED_GREY_DARK", ...): 15 by 15 pixels, at
// most 16 colours, transparent outside the lamp. Throws std::out_of_range for unknown names.
const RgbaImage& lampImage(std::string_view name);
// The resource name of a lamp's lit or dark image. White has no dark image of its own: it uses
// the dark grey one, and Grey's dark image is the black one.
std::string_view lampImageName(TLEDColorType color, bool lit);

class TLED : public ui::NativeWidget {
 public:
  TLED(int x, int y, int w = 17, int h = 17);
  ~TLED() override;
  TLED(const TLED&) = delete;
  TLED& operator=(const TLED&) = delete;

  TLEDColorType Color() const { return m_color; }
  void setColor(TLEDColorType value);
  TLEDState State() const { return m_state; }
  void setState(TLEDState value);
  bool Blinking() const { return m_blinking; }
  // True starts the timer with the dark image next; false stops it and repaints the State image.
  void setBlinking(bool value);
  // Milliseconds between two blink steps; 0 or less stops the steps while keeping Blinking.
  int BlinkInterval() const { return m_interval; }
  void setBlinkInterval(int value);

  std::function<void()> onClick;

  // Draws the image of Color and State at (1, 1); the blink phase does not enter.
  void paint(Canvas& surface);
  // One timer tick: draws the dark image when the phase flag is set, else the lit one, and flips
  // the flag. The image goes straight to the screen, without a repaint of the control.
  void blinkStep();
  // The resource name of the image the lamp shows now (last painted or last ticked).
  std::string_view shownImage() const { return m_shown; }
  bool timerRunning() const { return m_timerRunning; }

  void draw() override;
  int handle(int event) override;

 private:
  static void timerTick(void* self);
  void startTimer();
  void stopTimer();

  TLEDColorType m_color = Red;
  TLEDState m_state = LEDOn;
  bool m_blinking = false;
  int m_interval = 500;
  bool m_phase = false;
  bool m_timerRunning = false;
  bool m_pressed = false;
  std::string_view m_shown;
  std::string_view m_tickImage;
};

}  // namespace widgets
