// The shadow label: property rules, presets, and where its copies land on the in-memory canvas.
#include <gtest/gtest.h>

#include "widgets/FxLabel.h"

namespace widgets::fx {
namespace {

// 6 by 13 pixels per character at the default size, as the memory canvas measures.
constexpr int kCharW = 6;
constexpr int kLineH = 13;

struct Drawn {
  int x, y;
  TColor color;
  std::string text;
  int angle;
  friend bool operator==(const Drawn&, const Drawn&) = default;
};

std::ostream& operator<<(std::ostream& out, const Drawn& d) {
  return out << "{" << d.x << "," << d.y << " 0x" << std::hex << d.color << std::dec << " '"
             << d.text << "' " << d.angle << "}";
}

std::vector<Drawn> paintTexts(TFxLabel& label) {
  MemoryCanvas canvas(label.w(), label.h());
  label.paint(canvas);
  std::vector<Drawn> out;
  for (const TextRecord& t : canvas.texts()) out.push_back({t.x, t.y, t.color, t.text, t.angle});
  return out;
}

TEST(FxLabelProperties, AngleIsKeptWithinAFullTurn) {
  TFxLabel label(0, 0, 80, 20, "text");
  label.setAngle(720);
  EXPECT_EQ(label.Angle(), 0);
  label.setAngle(-360);
  EXPECT_EQ(label.Angle(), 0);
  EXPECT_TRUE(label.AutoSize());  // no positive angle yet
  label.setAngle(-90);
  EXPECT_EQ(label.Angle(), 270);
  EXPECT_FALSE(label.AutoSize());
  label.setAngle(-3);
  EXPECT_EQ(label.Angle(), 357);
}

TEST(FxLabelProperties, OnlyPositiveOffsetsTurnAutoSizeOff) {
  TFxLabel label(0, 0, 80, 20, "text");
  label.setOffsetX(-3);
  label.setOffsetY(-3);
  EXPECT_TRUE(label.AutoSize());
  label.setOffsetX(3);
  EXPECT_FALSE(label.AutoSize());
  TFxLabel other(0, 0, 80, 20, "text");
  other.setOffsetY(1);
  EXPECT_FALSE(other.AutoSize());
}

TEST(FxLabelProperties, AutoSizeFitsTheCaption) {
  TFxLabel label(0, 0, 80, 40, "abc");
  // The font's own measure: the memory canvas's without a display (kCharW by kLineH), the
  // system's on Windows, which always has its desktop.
  auto extent = [&](std::string_view text) { return measureText(label.Font(), text); };
  const int lineH = extent("").height;
  EXPECT_EQ(label.w(), extent("abc").width);
  EXPECT_EQ(label.h(), lineH);
  label.setCaption("two\nlines!");
  EXPECT_EQ(label.w(), extent("lines!").width);
  EXPECT_EQ(label.h(), 2 * lineH);
  label.setCaption("");
  EXPECT_EQ(label.h(), lineH);  // an empty label keeps one line
  label.setAutoSize(false);
  label.setCaption("a much longer caption");
  EXPECT_EQ(label.w(), extent(" ").width);
}

TEST(FxLabelPresets, PresetThenSingleChangeBecomesCustom) {
  TFxLabel label(0, 0, 80, 20, "text");
  label.setHighlightColor(clRed);
  EXPECT_EQ(label.ShadowStyle(), ssCustom);
  label.setShadowStyle(ssRaisedShadow);
  EXPECT_EQ(label.ShadowStyle(), ssRaisedShadow);
  EXPECT_EQ(label.HighlightDirection(), drUpLeft);
  EXPECT_EQ(label.HighlightDepth(), 1);
  EXPECT_EQ(label.ShadowDirection(), drDownRight);
  EXPECT_EQ(label.ShadowDepth(), 1);
  EXPECT_EQ(label.ShadowSize(), 1);
  EXPECT_EQ(label.HighlightColor(), clBtnHighlight);  // every preset resets both colours
  EXPECT_EQ(label.ShadowColor(), clBtnShadow);
  EXPECT_EQ(label.Font().color, clWindowText);
  label.setShadowColor(clBlue);
  EXPECT_EQ(label.ShadowStyle(), ssCustom);
  EXPECT_EQ(label.ShadowDirection(), drDownRight);
  EXPECT_EQ(label.ShadowSize(), 1);
  EXPECT_EQ(label.ShadowColor(), clBlue);
}

TEST(FxLabelPresets, ColourPresetsPaintTheFontInButtonFace) {
  TFxLabel label(0, 0, 80, 20, "text");
  label.setShadowStyle(ssRecessedColor);
  EXPECT_EQ(label.Font().color, clBtnFace);
  EXPECT_EQ(label.ShadowDirection(), drUpLeft);
  EXPECT_EQ(label.HighlightDirection(), drDownRight);
  label.setShadowStyle(ssNone);
  EXPECT_EQ(label.ShadowSize(), 0);
  EXPECT_EQ(label.HighlightDirection(), drNone);
  EXPECT_EQ(label.Font().color, clBtnFace);  // ssNone leaves the font alone
  label.setShadowDepth(5000);
  EXPECT_EQ(label.ShadowDepth(), 1280);
}

TEST(FxLabelPainting, ShadowDrawsOneCopyTwoPixelsDownRight) {
  TFxLabel label(0, 0, 60, 20, "ab", false);
  label.setShadowStyle(ssShadow);
  std::vector<Drawn> expected = {
      {2, 2, clBtnShadow, "ab", 0}, {0, 0, clBtnHighlight, "ab", 0}, {0, 0, clWindowText, "ab", 0}};
  EXPECT_EQ(paintTexts(label), expected);
}

TEST(FxLabelPainting, ThickShadowDrawsFourCopiesThenTheRaisedHighlight) {
  TFxLabel label(0, 0, 60, 20, "ab", false);
  label.setShadowStyle(ssRaisedThickShadow);
  std::vector<Drawn> drawn = paintTexts(label);
  ASSERT_EQ(drawn.size(), 6u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(drawn[i], (Drawn{i + 1, i + 1, clBtnShadow, "ab", 0}));
  EXPECT_EQ(drawn[4], (Drawn{-1, -1, clBtnHighlight, "ab", 0}));
  EXPECT_EQ(drawn[5], (Drawn{0, 0, clWindowText, "ab", 0}));
}

TEST(FxLabelPainting, DisabledLabelIsEngravedWhateverItsStyle) {
  TFxLabel label(0, 0, 60, 20, "ab", false);
  label.setShadowStyle(ssThickShadow);
  label.setOffsetX(3);
  label.setEnabled(false);
  std::vector<Drawn> expected = {{4, 1, clBtnHighlight, "ab", 0}, {3, 0, clBtnShadow, "ab", 0}};
  EXPECT_EQ(paintTexts(label), expected);
}

TEST(FxLabelPainting, BackgroundUnlessTransparent) {
  TFxLabel label(0, 0, 30, 20, "ab", false);
  label.setColor(clYellow);
  MemoryCanvas canvas(30, 20, clBlack);
  label.paint(canvas);
  EXPECT_EQ(canvas.at(29, 19), resolveColor(clYellow));
  label.setTransparent(true);
  MemoryCanvas under(30, 20, clBlack);
  label.paint(under);
  EXPECT_EQ(under.at(29, 19), resolveColor(clBlack));
}

TEST(FxLabelPainting, AlignmentInBothDirections) {
  TFxLabel label(0, 0, 100, 50, "abcd", false);  // 24 by 13
  label.setAlignment(taCenter);
  label.setVerticalAlignment(vaCenter);
  EXPECT_EQ(paintTexts(label).at(0), (Drawn{38, 18, clWindowText, "abcd", 0}));
  label.setAlignment(taRightJustify);
  label.setLayout(tlBottom);
  EXPECT_EQ(label.VerticalAlignment(), vaBottom);
  label.setOffsetY(-2);
  EXPECT_EQ(paintTexts(label).at(0), (Drawn{76, 35, clWindowText, "abcd", 0}));
}

TEST(FxLabelPainting, WordWrapTabsAndAccelerators) {
  TFxLabel label(0, 0, 60, 60, "one &two three\tx", false);
  label.setWordWrap(true);
  std::vector<Drawn> drawn = paintTexts(label);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0], (Drawn{0, 0, clWindowText, "one two", 0}));
  EXPECT_EQ(drawn[1], (Drawn{0, kLineH, clWindowText, "three   x", 0}));
  label.setCaption("a && b");
  EXPECT_EQ(label.shownText(), "a & b");
  label.setShowAccelChar(false);
  EXPECT_EQ(label.shownText(), "a && b");
}

TEST(FxLabelPainting, RotatedTextStartsFromTheRightCornerOfItsBox) {
  // "abcd" is 24 by 13; a 60 by 60 label, aligned left and top.
  struct Case {
    int angle, x, y;
  };
  const Case cases[] = {{90, 0, 24}, {180, 24, 13}, {270, 13, 0}, {45, 0, 16}, {315, 9, 0}};
  for (const Case& c : cases) {
    TFxLabel label(0, 0, 60, 60, "abcd", false);
    label.setAngle(c.angle);
    std::vector<Drawn> drawn = paintTexts(label);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0], (Drawn{c.x, c.y, clWindowText, "abcd", c.angle})) << c.angle;
  }
  // Centred in a wider label: the box of 13 by 24 moves to the middle.
  TFxLabel label(0, 0, 61, 60, "abcd", false);
  label.setAngle(90);
  label.setAlignment(taCenter);
  EXPECT_EQ(paintTexts(label).at(0), (Drawn{24, 24, clWindowText, "abcd", 90}));
}

}  // namespace
}  // namespace widgets::fx
