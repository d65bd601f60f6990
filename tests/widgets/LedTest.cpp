// The LED: lamp images per colour and state, steady painting, and the blink phases.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>
#include <tuple>

#include "ui/Application.h"
#include "widgets/Led.h"

namespace widgets {
namespace {

std::string_view painted(TLED& led) {
  MemoryCanvas canvas(17, 17);
  led.paint(canvas);
  return led.shownImage();
}

TEST(LedImages, SixteenDistinctRoundLampsOfAtMostSixteenColours) {
  std::set<std::string_view> names;
  for (int c = Red; c <= White; ++c)
    for (bool lit : {true, false}) names.insert(lampImageName(static_cast<TLEDColorType>(c), lit));
  names.insert("LED_BLACK");
  ASSERT_EQ(names.size(), 16u);
  std::set<std::tuple<int, int, int>> centres;
  for (std::string_view name : names) {
    const RgbaImage& image = lampImage(name);
    ASSERT_EQ(image.width(), 15);
    ASSERT_EQ(image.height(), 15);
    EXPECT_TRUE(image.transparentAt(0, 0)) << name;  // round: the corners are not drawn
    EXPECT_FALSE(image.transparentAt(7, 0)) << name;
    std::set<std::tuple<int, int, int>> colours;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 15; ++x)
        if (!image.transparentAt(x, y)) {
          Rgb p = image.pixel(x, y);
          colours.insert({p.r, p.g, p.b});
        }
    EXPECT_LE(colours.size(), 16u) << name;
    Rgb centre = image.pixel(8, 9);
    centres.insert({centre.r, centre.g, centre.b});
  }
  EXPECT_EQ(centres.size(), 16u);
  EXPECT_THROW(lampImage("LED_PURPLE"), std::out_of_range);
}

TEST(LedImages, DarkImagesAreDarkerThanLitOnes) {
  for (int c = Red; c <= White; ++c) {
    Rgb lit = lampImage(lampImageName(static_cast<TLEDColorType>(c), true)).pixel(9, 9);
    Rgb dark = lampImage(lampImageName(static_cast<TLEDColorType>(c), false)).pixel(9, 9);
    EXPECT_LT(dark.r + dark.g + dark.b, lit.r + lit.g + lit.b) << c;
  }
}

TEST(Led, NewLampIsRedLitSteadyWithHalfSecondInterval) {
  TLED led(3, 4);
  EXPECT_EQ(led.w(), 17);
  EXPECT_EQ(led.h(), 17);
  EXPECT_EQ(led.Color(), Red);
  EXPECT_EQ(led.State(), LEDOn);
  EXPECT_FALSE(led.Blinking());
  EXPECT_FALSE(led.timerRunning());
  EXPECT_EQ(led.BlinkInterval(), 500);
  EXPECT_EQ(painted(led), "LED_RED");
}

TEST(Led, PaintsTheStateImageWithAOnePixelMargin) {
  TLED led(0, 0);
  led.setColor(Aqua);
  led.setState(LEDOff);
  MemoryCanvas canvas(17, 17, clBlack);
  led.paint(canvas);
  const RgbaImage& dark = lampImage("LED_AQUA_DARK");
  EXPECT_EQ(canvas.at(8, 8), dark.pixel(7, 7));
  EXPECT_EQ(canvas.at(1, 1), resolveColor(clBlack));   // transparent corner
  EXPECT_EQ(canvas.at(16, 8), resolveColor(clBlack));  // margin
}

TEST(Led, WhiteAndGreyBorrowTheirDarkImages) {
  TLED led(0, 0);
  led.setState(LEDOff);
  led.setColor(White);
  EXPECT_EQ(painted(led), "LED_GREY_DARK");
  led.setColor(Grey);
  EXPECT_EQ(painted(led), "LED_BLACK");
  led.setState(LEDOn);
  EXPECT_EQ(painted(led), "LED_GREY");
}

TEST(LedBlink, FirstTickShowsTheDarkImageThenAlternates) {
  TLED led(0, 0);
  led.setColor(Green);
  led.setBlinkInterval(300);
  led.setBlinking(true);
  EXPECT_TRUE(led.timerRunning());
  led.blinkStep();
  EXPECT_EQ(led.shownImage(), "LED_GREEN_DARK");
  led.blinkStep();
  EXPECT_EQ(led.shownImage(), "LED_GREEN");
  led.blinkStep();
  EXPECT_EQ(led.shownImage(), "LED_GREEN_DARK");
  // Turning blinking on again restarts with the dark image.
  led.setBlinking(true);
  led.blinkStep();
  EXPECT_EQ(led.shownImage(), "LED_GREEN_DARK");
}

TEST(LedBlink, StoppingWhileDarkRepaintsTheLitStateImage) {
  TLED led(0, 0);
  led.setBlinking(true);
  led.blinkStep();
  ASSERT_EQ(led.shownImage(), "LED_RED_DARK");
  led.clear_damage();
  led.setBlinking(false);
  EXPECT_FALSE(led.timerRunning());
  EXPECT_NE(led.damage(), 0);  // a repaint is requested
  EXPECT_EQ(painted(led), "LED_RED");
}

TEST(LedBlink, StateChangeWhileBlinkingKeepsThePhase) {
  TLED led(0, 0);
  led.setColor(Yellow);
  led.setBlinking(true);
  led.blinkStep();  // dark
  led.setState(LEDOff);
  EXPECT_EQ(painted(led), "LED_YELLOW_DARK");
  led.blinkStep();
  EXPECT_EQ(led.shownImage(), "LED_YELLOW");  // the alternation goes on from its phase
  EXPECT_TRUE(led.Blinking());
}

TEST(LedBlink, TimerTicksDuringMessageProcessing) {
  TLED led(0, 0);
  led.setBlinkInterval(50);
  led.setBlinking(true);
  // Polled often enough that one pass runs one tick: a pass runs every tick that is due.
  for (int i = 0; i < 400 && led.shownImage().empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ui::Application::instance().processMessages();
  }
  EXPECT_EQ(led.shownImage(), "LED_RED_DARK");
  led.setBlinkInterval(0);
  EXPECT_FALSE(led.timerRunning());
  EXPECT_TRUE(led.Blinking());
}

}  // namespace
}  // namespace widgets
