// Form layout: geometry relative to the parent, label sizing and the windows' tab order.
#include <gtest/gtest.h>

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/MainMenu.h"
#include "ui/RadioButton.h"
#include "ui/TextMeasure.h"

TEST(FormLayout, ChildGeometryIsRelativeToItsParentAndBelowTheMenu) {
  ui::Form form("Layout", 191, 112, 458, 309, true);
  EXPECT_EQ(form.clientWidth(), 458);
  EXPECT_EQ(form.clientHeight(), 309);
  EXPECT_EQ(form.x(), 191);
  EXPECT_EQ(form.y(), 112);
  ui::GroupBox box(form, {8, 88, 217, 81}, "Output files");
  ui::Edit edit(box, {112, 24, 41, 21}, "", 2);
  EXPECT_EQ(box.bounds(), (ui::Rect{8, 88, 217, 81}));
  EXPECT_EQ(edit.bounds(), (ui::Rect{112, 24, 41, 21}));
  EXPECT_EQ(edit.x(), 8 + 112);
  EXPECT_EQ(edit.y(), ui::kMenuBarHeight + 88 + 24);
  box.setBounds({10, 90, 217, 81});  // moving a group box carries its children
  EXPECT_EQ(edit.bounds(), (ui::Rect{112, 24, 41, 21}));
}

TEST(FormLayout, AutoSizedLabelTakesTheWidthOfItsCaption) {
  ui::FixedTextMeasure measure(5);
  ui::setTextMeasure(&measure);
  ui::Form form("Labels", 0, 0, 300, 100, false);
  ui::Label sized(form, {16, 24, 55, 13}, "abc");
  ui::Label fixed(form, {16, 48, 55, 13}, "abc", false);
  EXPECT_EQ(sized.w(), 15);
  EXPECT_EQ(fixed.w(), 55);
  sized.setCaption("abcdef");
  EXPECT_EQ(sized.w(), 30);
  EXPECT_EQ(sized.caption(), "abcdef");
  ui::setTextMeasure(nullptr);
}

TEST(FormTabOrder, WalksGroupsByTabOrderAndSkipsWhatCannotTakeFocus) {
  ui::Form form("Tabs", 0, 0, 400, 300, false);
  // Created out of order on purpose: the tab order, not creation, decides.
  ui::GroupBox second(form, {0, 100, 200, 80}, "second", 1);
  ui::GroupBox first(form, {0, 0, 200, 80}, "first", 0);
  ui::Button last(form, {250, 250, 75, 25}, "last", 2);
  ui::CheckBox c2(second, {0, 40, 100, 17}, "c2", false, 1);
  ui::CheckBox c1(second, {0, 20, 100, 17}, "c1", false, 0);
  ui::RadioButton r1(first, {0, 20, 100, 17}, "r1", false, 0);
  ui::RadioButton r2(first, {0, 40, 100, 17}, "r2", true, 1);
  ui::Label label(first, {0, 60, 50, 13}, "label");

  std::vector<ui::Control*> expected{&r2, &c1, &c2, &last};
  EXPECT_EQ(form.tabSequence(), expected);

  c1.setEnabled(false);
  last.setVisible(false);
  r1.setChecked(true);
  expected = {&r1, &c2};
  EXPECT_EQ(form.tabSequence(), expected);
  EXPECT_EQ(form.nextTabStop(&c2), &r1);  // wraps around
  EXPECT_EQ(form.nextTabStop(&r1, true), &c2);
  EXPECT_EQ(form.nextTabStop(&label), &r1);

  second.setEnabled(false);
  expected = {&r1};
  EXPECT_EQ(form.tabSequence(), expected);
}
