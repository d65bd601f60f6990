// The progress bar painted into memory: fill lengths, directions, colours, tiles, border, text.
#include <gtest/gtest.h>

#include "widgets/GaugeBar.h"

namespace widgets {
namespace {

Rgb rgbOf(TColor c) { return resolveColor(c); }

// A one-colour bar without border or text: blue fill on white.
struct PlainBar {
  TGaugeBar bar;
  explicit PlainBar(int w = 100, int h = 10) : bar(0, 0, w, h) {
    bar.setBarColorStyle(cs1Color);
    bar.setBarColor1(clBlue);
    bar.setBackgroundColor(clWhite);
    bar.setShowBorder(false);
    bar.setShowPosText(false);
  }
  MemoryCanvas paint() {
    MemoryCanvas canvas(bar.w(), bar.h(), clBlack);
    bar.paint(canvas);
    return canvas;
  }
  // Blue pixels along the middle row (or column for vertical bars).
  int filled() {
    MemoryCanvas canvas = paint();
    bool horizontal = bar.Direction() == pdLeftToRight || bar.Direction() == pdRightToLeft;
    int count = 0;
    int length = horizontal ? bar.w() : bar.h();
    for (int i = 0; i < length; ++i)
      if ((horizontal ? canvas.at(i, bar.h() / 2) : canvas.at(bar.w() / 2, i)) == rgbOf(clBlue))
        ++count;
    return count;
  }
};

TEST(GaugeBar, NewBarHasTheDocumentedDefaults) {
  TGaugeBar bar(5, 6);
  EXPECT_EQ(bar.w(), 200);
  EXPECT_EQ(bar.h(), 20);
  EXPECT_EQ(bar.BackgroundColor(), 0x8000000Fu);
  EXPECT_EQ(bar.BarColor1(), 0x00008000u);
  EXPECT_EQ(bar.BarColor2(), 0x0000FFFFu);
  EXPECT_EQ(bar.BarColor3(), 0x000000FFu);
  EXPECT_EQ(bar.BarColorStyle(), cs3Colors);
  EXPECT_EQ(bar.BorderColor1(), 0x80000010u);
  EXPECT_EQ(bar.BorderColor2(), 0x80000014u);
  EXPECT_EQ(bar.Direction(), pdLeftToRight);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_FALSE(bar.Percentage());
  EXPECT_TRUE(bar.ShowBorder());
  EXPECT_TRUE(bar.ShowPosText());
  EXPECT_TRUE(bar.BarBitmap().empty());
}

TEST(GaugeBarFill, PositionAtMinShowsNoFill) {
  PlainBar p;
  p.bar.setMin(10);
  p.bar.setPosition(10);
  EXPECT_EQ(p.filled(), 0);
}

TEST(GaugeBarFill, MinEqualToMaxShowsNoFill) {
  PlainBar p;
  p.bar.setPosition(50);
  ASSERT_EQ(p.filled(), 50);
  p.bar.setMax(0);  // Position stays 50, above both ends of the empty range
  EXPECT_EQ(p.bar.Position(), 50);
  EXPECT_EQ(p.filled(), 0);
}

TEST(GaugeBarFill, HalfOfAnOffsetRangeFillsHalfTheLength) {
  PlainBar p;
  p.bar.setMax(150);
  p.bar.setMin(50);
  p.bar.setPosition(100);
  EXPECT_EQ(p.filled(), 50);
  p.bar.setShowBorder(true);
  EXPECT_EQ(p.filled(), 49);  // the border takes two pixels off the length
}

TEST(GaugeBarFill, RoundsTheFilledLengthHalvesToEven) {
  PlainBar p(10, 4);  // length 10: position 25 of 100 is 2.5 pixels, 35 is 3.5
  p.bar.setPosition(25);
  EXPECT_EQ(p.filled(), 2);
  p.bar.setPosition(35);
  EXPECT_EQ(p.filled(), 4);
}

TEST(GaugeBarFill, OutOfRangePositionsAreIgnored) {
  PlainBar p;
  p.bar.setPosition(60);
  p.bar.setPosition(101);
  EXPECT_EQ(p.bar.Position(), 60);
  p.bar.setPosition(-1);
  EXPECT_EQ(p.bar.Position(), 60);
  EXPECT_EQ(p.filled(), 60);
  p.bar.setMax(30);  // Max below Position keeps Position
  EXPECT_EQ(p.bar.Position(), 60);
  p.bar.setPosition(40);  // now above Max
  EXPECT_EQ(p.bar.Position(), 60);
}

TEST(GaugeBarFill, EachDirectionGrowsFromItsOwnEnd) {
  struct Case {
    TProgressDirection direction;
    int firstX, firstY;  // a pixel inside the fill
    int lastX, lastY;    // a pixel outside it
  };
  const Case cases[] = {{pdLeftToRight, 0, 10, 39, 10},
                        {pdRightToLeft, 39, 10, 0, 10},
                        {pdTopToBottom, 10, 0, 10, 39},
                        {pdBottomToTop, 10, 39, 10, 0}};
  for (const Case& c : cases) {
    PlainBar p(40, 40);
    p.bar.setDirection(c.direction);
    p.bar.setPosition(25);
    MemoryCanvas canvas = p.paint();
    SCOPED_TRACE(c.direction);
    EXPECT_EQ(p.filled(), 10);
    EXPECT_EQ(canvas.at(c.firstX, c.firstY), rgbOf(clBlue));
    EXPECT_EQ(canvas.at(c.lastX, c.lastY), rgbOf(clWhite));
  }
}

TEST(GaugeBarColors, TwoColoursBottomToTopStartWithBarColor1AtTheBottom) {
  TGaugeBar bar(0, 0, 20, 30);
  bar.setShowBorder(false);
  bar.setShowPosText(false);
  bar.setBarColorStyle(cs2Colors);
  bar.setBarColor1(clRed);
  bar.setBarColor2(clBlue);
  bar.setDirection(pdBottomToTop);
  bar.setPosition(100);
  MemoryCanvas canvas(20, 30);
  bar.paint(canvas);
  EXPECT_EQ(canvas.at(5, 29), rgbOf(clRed));
  EXPECT_EQ(canvas.at(5, 0), rgbOf(clBlue));
  // The gradient spans the whole control, not only the filled part.
  bar.setPosition(50);
  bar.paint(canvas);
  EXPECT_EQ(canvas.at(5, 29), rgbOf(clRed));
  EXPECT_EQ(canvas.at(5, 15), resolveColor(Blend(clBlue, clRed, 16, 30)));
  EXPECT_EQ(canvas.at(5, 14), rgbOf(clBtnFace));
}

TEST(GaugeBarColors, ThreeColoursSplitAtTheMiddle) {
  TGaugeBar bar(0, 0, 11, 4);
  bar.setShowBorder(false);
  bar.setShowPosText(false);
  bar.setBarColor1(clRed);
  bar.setBarColor2(clWhite);
  bar.setBarColor3(clBlue);
  bar.setPosition(100);
  MemoryCanvas canvas(11, 4);
  bar.paint(canvas);
  // First run: 5 lines red to white; the other 6: white to blue.
  EXPECT_EQ(canvas.at(0, 1), rgbOf(clRed));
  EXPECT_EQ(canvas.at(4, 1), rgbOf(clWhite));
  EXPECT_EQ(canvas.at(5, 1), rgbOf(clWhite));
  EXPECT_EQ(canvas.at(10, 1), rgbOf(clBlue));
  bar.setDirection(pdRightToLeft);
  bar.paint(canvas);
  EXPECT_EQ(canvas.at(0, 1), rgbOf(clBlue));
  EXPECT_EQ(canvas.at(10, 1), rgbOf(clRed));
}

TEST(GaugeBarColors, TilesRepeatInBothDirectionsAndClipAtTheEdges) {
  RgbaImage tile(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) tile.setPixel(x, y, rgbColor(10 * x, 100 + y, 7));
  TGaugeBar bar(0, 0, 10, 5);
  bar.setShowBorder(false);
  bar.setShowPosText(false);
  bar.setBarColorStyle(cs1Color);  // a bitmap wins over any style
  bar.setBarBitmap(tile);
  bar.setPosition(100);
  MemoryCanvas canvas(10, 5);
  bar.paint(canvas);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(canvas.at(x, y), tile.pixel(x % 3, y % 2)) << x << "," << y;
}

TEST(GaugeBarBorder, BorderLinesAndTheirColours) {
  TGaugeBar bar(0, 0, 8, 6);
  bar.setShowPosText(false);
  bar.setBarColorStyle(cs1Color);
  bar.setBorderColor1(clRed);
  bar.setBorderColor2(clBlue);
  bar.setPosition(100);
  MemoryCanvas canvas(8, 6);
  bar.paint(canvas);
  EXPECT_EQ(canvas.at(0, 0), rgbOf(clRed));
  EXPECT_EQ(canvas.at(7, 0), rgbOf(clRed));  // the top line starts at the right end
  EXPECT_EQ(canvas.at(0, 5), rgbOf(clRed));  // the left line reaches the bottom
  EXPECT_EQ(canvas.at(1, 5), rgbOf(clBlue));
  EXPECT_EQ(canvas.at(7, 5), rgbOf(clBlue));
  EXPECT_EQ(canvas.at(7, 1), rgbOf(clBlue));
  EXPECT_EQ(canvas.at(1, 1), rgbOf(clGreen));
  bar.setShowBorder(false);
  bar.paint(canvas);
  EXPECT_EQ(canvas.at(0, 0), rgbOf(clGreen));
  EXPECT_EQ(canvas.at(7, 5), rgbOf(clGreen));
}

TEST(GaugeBarText, PercentageIgnoresMinAndAddsNoSign) {
  TGaugeBar bar(0, 0, 100, 20);
  bar.setPercentage(true);
  bar.setPosition(45);
  EXPECT_EQ(bar.positionText(), "45");
  bar.setMax(150);
  bar.setMin(50);
  bar.setPosition(100);
  EXPECT_EQ(bar.positionText(), "67");
  bar.setPercentage(false);
  bar.setPosTextPrefix("at ");
  bar.setPosTextSuffix(" units");
  EXPECT_EQ(bar.positionText(), "at 100 units");
}

TEST(GaugeBarText, TextIsCentredInTheFontColour) {
  TGaugeBar bar(0, 0, 101, 21);
  TFont font;
  font.color = clRed;
  bar.setFont(font);
  bar.setPosition(45);
  MemoryCanvas canvas(101, 21);
  bar.paint(canvas);
  ASSERT_EQ(canvas.texts().size(), 1u);
  const TextRecord& t = canvas.texts()[0];
  TextSize size = memoryTextExtent(font, "45");
  EXPECT_EQ(t.text, "45");
  EXPECT_EQ(t.x, 50 - size.width / 2);
  EXPECT_EQ(t.y, 10 - size.height / 2);
  EXPECT_EQ(t.color, clRed);
  bar.setShowPosText(false);
  canvas.clearTexts();
  bar.paint(canvas);
  EXPECT_TRUE(canvas.texts().empty());
}

TEST(GaugeBarText, PercentageOfAZeroMaxShowsZero) {
  TGaugeBar bar(0, 0);
  bar.setMin(-10);
  bar.setMax(0);
  bar.setPercentage(true);
  bar.setPosition(-5);
  EXPECT_EQ(bar.positionText(), "0");
}

TEST(GaugeBarCache, PositionChangesReuseTheBarImage) {
  TGaugeBar bar(0, 0, 50, 10);
  MemoryCanvas canvas(50, 10);
  bar.paint(canvas);
  EXPECT_EQ(bar.barImageBuilds(), 1);
  for (int p = 1; p <= 100; ++p) {
    bar.setPosition(p);
    bar.paint(canvas);
  }
  EXPECT_EQ(bar.barImageBuilds(), 1);
  bar.setBarColor2(clBlue);
  bar.paint(canvas);
  EXPECT_EQ(bar.barImageBuilds(), 2);
  bar.size(60, 10);
  MemoryCanvas wider(60, 10);
  bar.paint(wider);
  EXPECT_EQ(bar.barImageBuilds(), 3);
  EXPECT_EQ(wider.at(59, 5), rgbOf(clBtnHighlight));  // the right border of the new size
}

TEST(Blend, ChannelsStepWithRoundingToNearest) {
  EXPECT_EQ(Blend(clBlack, clWhite, 1, 3), clBlack);
  EXPECT_EQ(Blend(clBlack, clWhite, 2, 3), rgbColor(128, 128, 128));  // 127.5 rounds up
  EXPECT_EQ(Blend(clBlack, clWhite, 3, 3), clWhite);
  EXPECT_EQ(Blend(clWhite, clBlack, 2, 3), rgbColor(127, 127, 127));      // -127.5 rounds away
  EXPECT_EQ(Blend(clBtnShadow, clWhite, 1, 2), rgbColor(128, 128, 128));  // system colours resolve
  EXPECT_EQ(Blend(clRed, clBlue, 1, 1), clRed);  // a single line takes the start colour
}

TEST(Blend, IndexOutsideTheRangeRaisesTheRangeError) {
  for (int i : {0, 6, -1}) {
    try {
      Blend(clBlack, clWhite, i, 5);
      FAIL() << "no error for index " << i;
    } catch (const ERangeError& e) {
      EXPECT_STREQ(e.what(), "ColorIndex can't be less than 1 or greater than 5");
    }
  }
}

}  // namespace
}  // namespace widgets
