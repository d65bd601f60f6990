// The hyperlink label and picture: colour states, mouse rules, targets, and the hand cursors.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <FL/Fl_RGB_Image.H>
#endif

#include "platform/Shell.h"
#include "widgets/FxUrlImage.h"
#include "widgets/FxUrlLabel.h"
#include "widgets/HandCursors.h"

namespace widgets::fx {
namespace {

constexpr int kLeft = 1;  // FLTK's left mouse button
constexpr int kRight = 3;

// Records what would have been opened instead of starting xdg-open.
class RecordedOpens {
 public:
  RecordedOpens() {
    m_previous = platform::setDocumentOpener([this](const std::string& t) { opened.push_back(t); });
  }
  ~RecordedOpens() { platform::setDocumentOpener(m_previous); }
  std::vector<std::string> opened;

 private:
  platform::DocumentOpener m_previous;
};

TEST(FxUrlLabel, NewLinkIsBlueUnderlinedWithTheHand) {
  TFxUrlLabel link(0, 0, 104, 13, "https://fennock.example/");
  EXPECT_EQ(link.Font().color, clBlue);
  EXPECT_TRUE(link.Font().underline);
  EXPECT_EQ(link.Cursor(), 15000);
  EXPECT_EQ(link.UnvisitedColor(), 0x00FF0000u);
  EXPECT_EQ(link.ActivatedColor(), 0x000000FFu);
  EXPECT_EQ(link.VisitedColor(), 0x00800000u);
  EXPECT_EQ(link.HoveredColor(), 0x00FFFFFFu);
  EXPECT_FALSE(link.CanHover());
}

TEST(FxUrlLabel, PressAndReleaseInsideOpensTheTargetAndStaysVisited) {
  RecordedOpens opens;
  TFxUrlLabel link(0, 0, 100, 13, "Fennock home", false);
  link.setURL("https://fennock.example/");
  link.mouseDown(kLeft, 5, 5);
  EXPECT_EQ(link.Font().color, clRed);
  EXPECT_TRUE(link.pressed());
  link.mouseUp(kLeft, 100, 13);  // the right and bottom edges still count as inside
  EXPECT_EQ(opens.opened, std::vector<std::string>{"https://fennock.example/"});
  EXPECT_EQ(link.Font().color, clNavy);
  EXPECT_TRUE(link.visited());
  EXPECT_FALSE(link.pressed());
  EXPECT_EQ(link.UnvisitedColor(), clBlue);  // the red of the press was not taken for a colour
  link.mouseLeave();
  EXPECT_EQ(link.Font().color, clNavy);
}

TEST(FxUrlLabel, ReleaseOutsideOpensNothingAndRestoresTheColour) {
  RecordedOpens opens;
  TFxUrlLabel link(0, 0, 100, 13, "x", false);
  link.setURL("https://fennock.example/");
  for (auto [x, y] : {std::pair{101, 5}, {-1, 5}, {5, 14}, {5, -1}}) {
    link.mouseDown(kLeft, 5, 5);
    link.mouseUp(kLeft, x, y);
    EXPECT_EQ(link.Font().color, clBlue) << x << "," << y;
    EXPECT_FALSE(link.pressed());
  }
  EXPECT_TRUE(opens.opened.empty());
  EXPECT_FALSE(link.visited());
}

TEST(FxUrlLabel, OnlyTheLeftButtonCounts) {
  RecordedOpens opens;
  TFxUrlLabel link(0, 0, 100, 13, "x", false);
  link.mouseDown(kRight, 5, 5);
  EXPECT_EQ(link.Font().color, clBlue);
  link.mouseUp(kRight, 5, 5);
  link.mouseUp(kLeft, 5, 5);  // a release without a press opens nothing
  EXPECT_TRUE(opens.opened.empty());
}

TEST(FxUrlLabel, EmptyUrlOpensTheCaption) {
  RecordedOpens opens;
  TFxUrlLabel link(0, 0, 100, 13, "https://fennock.example/docs", false);
  link.mouseDown(kLeft, 1, 1);
  link.mouseUp(kLeft, 1, 1);
  EXPECT_EQ(opens.opened, std::vector<std::string>{"https://fennock.example/docs"});
}

TEST(FxUrlLabel, HoveringUnderlinesOnlyUnderTheMouse) {
  RecordedOpens opens;
  TFxUrlLabel link(0, 0, 100, 13, "x", false);
  link.setCanHover(true);
  EXPECT_FALSE(link.Font().underline);
  link.mouseEnter();
  EXPECT_TRUE(link.Font().underline);
  EXPECT_EQ(link.Font().color, clWhite);
  link.mouseDown(kLeft, 1, 1);
  link.mouseLeave();  // dragged out while pressed
  EXPECT_EQ(link.Font().color, clBlue);
  EXPECT_FALSE(link.Font().underline);
  link.mouseEnter();  // and back in
  EXPECT_EQ(link.Font().color, clRed);
  link.mouseUp(kLeft, 1, 1);
  EXPECT_EQ(link.Font().color, clWhite);
  link.mouseLeave();
  EXPECT_EQ(link.Font().color, clNavy);
  link.setCanHover(false);
  EXPECT_TRUE(link.Font().underline);
}

TEST(FxUrlLabel, FontColourAndColourSettersFollowTheVisitedState) {
  TFxUrlLabel link(0, 0, 100, 13, "x", false);
  link.setFontColor(clGreen);
  EXPECT_EQ(link.UnvisitedColor(), clGreen);  // a font change sets the current state's colour
  link.setVisitedColor(clYellow);
  EXPECT_EQ(link.Font().color, clGreen);  // not visited: only stored
  link.setUnvisitedColor(clRed);
  EXPECT_EQ(link.Font().color, clRed);
  RecordedOpens opens;
  link.mouseDown(kLeft, 1, 1);
  link.mouseUp(kLeft, 1, 1);
  EXPECT_EQ(link.Font().color, clYellow);
  link.setUnvisitedColor(clBlue);
  EXPECT_EQ(link.Font().color, clYellow);  // visited: only stored
  link.setVisitedColor(clWhite);
  EXPECT_EQ(link.Font().color, clWhite);
}

TEST(FxUrlImage, ClickRunsTheHandlerThenOpensTheUrl) {
  RecordedOpens opens;
  TFxUrlImage image(0, 0, 33, 33);
  EXPECT_EQ(image.Cursor(), 15000);
  std::vector<std::string> order;
  image.OnClick = [&] { order.push_back("click:" + std::to_string(opens.opened.size())); };
  image.click();  // no URL: nothing opened
  image.setURL("https://fennock.example/");
  image.click();
  EXPECT_EQ(order, (std::vector<std::string>{"click:0", "click:0"}));
  EXPECT_EQ(opens.opened, std::vector<std::string>{"https://fennock.example/"});
}

TEST(HandCursors, FiveCursorsInstalledUnderTheirNumbers) {
  EXPECT_EQ(findCursor(crHandPoint), nullptr) << "installed before start-up";
  installHandCursors();
  installHandCursors();  // a second call changes nothing
  const char* names[] = {"FX_HANDPOINT", "FX_SMALLHANDPOINT", "FX_GRABHAND", "FX_GRABHANDARROW",
                         "FX_DRAGHAND"};
  for (int i = 0; i < 5; ++i) {
    const CursorEntry* entry = findCursor(15000 + i);
    ASSERT_NE(entry, nullptr) << i;
    CursorArt art = handCursorArt(names[i]);
#ifndef _WIN32
    // FLTK's cursor is an RGBA image of the art's size; Windows' is a handle with nothing to read.
    EXPECT_EQ(entry->image->w(), art.image.width());
    EXPECT_EQ(entry->image->d(), 4);
#endif
    // The hot spot lies on a drawn pixel of the picture.
    EXPECT_FALSE(art.image.transparentAt(art.hotX, art.hotY)) << names[i];
    EXPECT_LE(art.image.width(), 32);
    EXPECT_LE(art.image.height(), 32);
  }
  EXPECT_EQ(findCursor(15005), nullptr);
  EXPECT_EQ(findCursor(crDefault), nullptr);
  EXPECT_THROW(handCursorArt("FX_FOOT"), std::out_of_range);
}

}  // namespace
}  // namespace widgets::fx
