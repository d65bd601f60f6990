// The About box: its window description, how it takes the main window's input while shown and
// gives it back, and its links to the product's web site.
#include <gtest/gtest.h>

#include "app/HelpMenu.h"
#include "app/HelpMenuSupport.h"
#include "widgets/HandCursors.h"

namespace {

using help_testing::WindowsFixture;
using AboutBox = WindowsFixture;

constexpr int kLeftButton = 1;

TEST_F(AboutBox, WindowDescription) {
  EXPECT_EQ(Form3, &form3);
  EXPECT_EQ(form3.caption(), "About Fennock!");
  EXPECT_EQ(form3.x(), 321);
  EXPECT_EQ(form3.y(), 223);
  EXPECT_EQ(form3.clientWidth(), 186);
  EXPECT_EQ(form3.clientHeight(), 114);
  EXPECT_FALSE(form3.aboutVisible());

  EXPECT_EQ(form3.Label1.bounds(), (ui::Rect{16, 8, 101, 49}));
  EXPECT_FALSE(form3.Label1.autoSize());
  EXPECT_EQ(form3.Label1.caption().rfind("Fennock! 1.0\n", 0), 0u);

  EXPECT_EQ(form3.FxUrlImage1.x(), 136);
  EXPECT_EQ(form3.FxUrlImage1.y(), 24);
  EXPECT_EQ(form3.FxUrlImage1.w(), 33);
  EXPECT_EQ(form3.FxUrlImage1.h(), 33);
  EXPECT_EQ(form3.FxUrlImage1.URL(), kProductWebAddress);
  EXPECT_EQ(form3.FxUrlImage1.Cursor(), widgets::crHandPoint);

  EXPECT_EQ(form3.FxUrlLabel1.x(), 16);
  EXPECT_EQ(form3.FxUrlLabel1.y(), 64);
  EXPECT_EQ(form3.FxUrlLabel1.Caption(), kProductWebCaption);
  EXPECT_EQ(form3.FxUrlLabel1.URL(), kProductWebAddress);
  EXPECT_EQ(form3.FxUrlLabel1.Font().color, widgets::clBlue);
  EXPECT_TRUE(form3.FxUrlLabel1.Font().underline);
  // The link must fit in the box beside the picture.
  EXPECT_LE(form3.FxUrlLabel1.x() + form3.FxUrlLabel1.w(), form3.FxUrlImage1.x());

  EXPECT_EQ(form3.Button1.bounds(), (ui::Rect{56, 88, 75, 17}));
  EXPECT_EQ(form3.Button1.caption(), "OK");
  EXPECT_EQ(form3.Button1.tabOrder(), 0);
  EXPECT_EQ(form3.tabSequence(), std::vector<ui::Control*>{&form3.Button1});
}

TEST_F(AboutBox, PictureIsDrawnOnTheFormsBackground) {
  const widgets::RgbaImage& picture = form3.FxUrlImage1.Picture();
  ASSERT_EQ(picture.width(), 33);
  ASSERT_EQ(picture.height(), 33);
  // Corners are clear so that the form shows through; the page itself is opaque.
  EXPECT_TRUE(picture.transparentAt(0, 0));
  EXPECT_TRUE(picture.transparentAt(32, 32));
  EXPECT_FALSE(picture.transparentAt(16, 16));
  EXPECT_FALSE(picture.opaque());
}

TEST_F(AboutBox, ShownBoxTakesTheMainWindowsInputUntilOk) {
  form1.AbouFennock1->click();
  EXPECT_TRUE(form3.aboutVisible());
  EXPECT_FALSE(form1.enabled());

  // While the box is shown the main window's menu refuses every entry: the box cannot be
  // asked for twice, and no document opens.
  form1.Help2->click();
  form1.License1->click();
  EXPECT_TRUE(opens.opened.empty());
  form1.Button1->click();
  EXPECT_TRUE(answers.openedWith().empty());

  form3.Button1.click();
  EXPECT_FALSE(form3.aboutVisible());
  EXPECT_TRUE(form1.enabled());
  form1.Help2->click();
  EXPECT_EQ(opens.opened.size(), 1u);

  // And again: the box is kept, not destroyed, between showings.
  form1.AbouFennock1->click();
  EXPECT_TRUE(form3.aboutVisible());
  EXPECT_FALSE(form1.enabled());
  form3.Button1.click();
  EXPECT_TRUE(form1.enabled());
}

TEST_F(AboutBox, ClosingTheBoxByItsFrameActsAsOk) {
  form1.AbouFennock1->click();
  form3.do_callback();  // the desktop's close button or Escape
  EXPECT_FALSE(form3.aboutVisible());
  EXPECT_TRUE(form1.enabled());
}

TEST_F(AboutBox, PictureAndLinkOpenTheWebSite) {
  form1.AbouFennock1->click();
  form3.FxUrlImage1.click();
  form3.FxUrlLabel1.mouseDown(kLeftButton, 2, 2);
  form3.FxUrlLabel1.mouseUp(kLeftButton, 2, 2);
  EXPECT_EQ(opens.opened, (std::vector<std::string>{kProductWebAddress, kProductWebAddress}));
  EXPECT_TRUE(form3.FxUrlLabel1.visited());
  // Opening the site does not close the box or give the main window back.
  EXPECT_TRUE(form3.aboutVisible());
  EXPECT_FALSE(form1.enabled());
}

TEST(AboutBoxAbsent, EntryDoesNothingWithoutTheBox) {
  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  app::initializeApplication();
  TForm1 form1;
  { TForm3 gone{form1}; }
  ASSERT_EQ(Form3, nullptr);
  form1.AbouFennock1->click();
  EXPECT_TRUE(form1.enabled());
  EXPECT_TRUE(answers.messages().empty());
}

}  // namespace
