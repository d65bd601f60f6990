// The merger's window without a display: its description, its destination and how a failed
// merge gives the window back.
#include <gtest/gtest.h>

#include "merger/MergerForm.h"
#include "support/ScratchDir.h"
#include "ui/Dialogs.h"

using testing_support::ScratchDir;

namespace {

constexpr merger::MergerLayout kLayout{100, 0};

ui::Rect boundsOf(const ui::Control& control) { return control.bounds(); }

}  // namespace

TEST(MergerForm, BuiltAsItsDescriptionSays) {
  merger::TForm1 form("/Some/Where/Data.exe", kLayout);
  EXPECT_EQ(form.caption(), "Fennock!SFX");
  EXPECT_EQ(form.x(), 286);
  EXPECT_EQ(form.y(), 206);
  EXPECT_EQ(form.clientWidth(), 268);
  EXPECT_EQ(form.clientHeight(), 100);
  EXPECT_EQ(boundsOf(form.FileLabel1), (ui::Rect{8, 8, 177, 17}));
  EXPECT_EQ(boundsOf(form.Button1), (ui::Rect{192, 0, 75, 25}));
  EXPECT_EQ(boundsOf(form.CheckBox1), (ui::Rect{16, 32, 177, 17}));
  EXPECT_EQ(boundsOf(form.Button2), (ui::Rect{192, 32, 75, 25}));
  EXPECT_EQ(boundsOf(form.CheckBox2), (ui::Rect{16, 48, 97, 17}));
  EXPECT_EQ(form.Button1.caption(), "Destination");
  EXPECT_EQ(form.CheckBox1.caption(), "Delete partial files when merged");
  EXPECT_EQ(form.Button2.caption(), "Merge");
  EXPECT_EQ(form.CheckBox2.caption(), "Unzip");
  EXPECT_FALSE(form.CheckBox1.checked());
  EXPECT_TRUE(form.CheckBox2.checked());
  EXPECT_FALSE(form.GaugeBar1.visible());
  EXPECT_TRUE(form.GaugeBar1.Percentage());
  EXPECT_EQ(form.GaugeBar1.BackgroundColor(), widgets::clBtnFace);
  const std::vector<ui::Control*> tabs = form.tabSequence();
  const std::vector<ui::Control*> expected = {&form.Button1, &form.CheckBox1, &form.Button2,
                                              &form.CheckBox2};
  EXPECT_EQ(tabs, expected);
}

TEST(MergerForm, DestinationStartsAtTheMergersFolderWithItsCase) {
  merger::TForm1 form("/Some/Where/Data.exe", kLayout);
  EXPECT_EQ(form.FileLabel1.FileName(), "/Some/Where/");
}

TEST(MergerForm, DestinationButtonTakesAChoiceAndKeepsItOnCancel) {
  ScratchDir dir;
  ui::ScriptedDialogs answers(false);
  ui::ScopedDialogs scoped(answers);
  merger::TForm1 form(dir.file("m.exe"), kLayout);
  answers.queueFolder(dir.path());
  form.Button1.click();
  EXPECT_EQ(form.FileLabel1.FileName(), dir.path() + "/");
  form.Button1.click();  // nothing queued: the user cancels
  EXPECT_EQ(form.FileLabel1.FileName(), dir.path() + "/");
}

TEST(MergerForm, FailedMergeGivesTheWindowBack) {
  ScratchDir dir;
  ui::ScriptedDialogs answers(false);
  ui::ScopedDialogs scoped(answers);
  merger::TForm1 form(dir.write("m.exe", "too short to hold a record"), kLayout);
  form.Button2.click();  // the default error handler shows the failure
  ASSERT_EQ(answers.errorCount(), 1);
  EXPECT_EQ(answers.messages()[0].caption, "");  // the test never titled the application
  EXPECT_NE(answers.messages()[0].text.find("holds no merge data"), std::string::npos);
  EXPECT_TRUE(form.enabled());
  EXPECT_FALSE(form.GaugeBar1.visible());
  EXPECT_EQ(form.clientHeight(), 100);
}
