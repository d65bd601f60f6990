// The Win32 back end: the system's tab order follows the window description, and clicks reach
// the handlers through the form's notifications with the check box's state kept by the system.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Form.h"
#include "ui/Label.h"

namespace {

// Made out of tab order, with a label (no tab stop) among them.
struct Sample : ui::Form {
  Sample()
      : ui::Form("Sample", 10, 10, 200, 100, false),
        Later(*this, {0, 0, 75, 25}, "Later", 2),
        Label1(*this, {0, 30, 50, 13}, "Label"),
        Check(*this, {0, 50, 100, 17}, "Check", true, 1),
        First(*this, {100, 0, 75, 25}, "First", 0) {}
  ui::Button Later;
  ui::Label Label1;
  ui::CheckBox Check;
  ui::Button First;
};

HWND hwndOf(const ui::NativeWidget& widget) { return static_cast<HWND>(widget.hwnd()); }

#define SKIP_WITHOUT_WINDOWS(form) \
  if (!(form).hwnd()) GTEST_SKIP() << "Wine made no window: no display"

}  // namespace

TEST(Win32Form, TabWalksTheControlsInTheirTabOrder) {
  Sample form;
  SKIP_WITHOUT_WINDOWS(form);
  const HWND top = hwndOf(form);
  std::vector<HWND> walked;
  HWND at = GetNextDlgTabItem(top, nullptr, FALSE);
  for (int i = 0; i < 4 && at; ++i, at = GetNextDlgTabItem(top, at, FALSE)) walked.push_back(at);
  const std::vector<HWND> expected = {hwndOf(form.First), hwndOf(form.Check), hwndOf(form.Later),
                                      hwndOf(form.First)};
  EXPECT_EQ(walked, expected);
}

TEST(Win32Form, ClicksRunTheHandlersOnce) {
  Sample form;
  SKIP_WITHOUT_WINDOWS(form);
  int clicks = 0, toggles = 0;
  form.First.onClick = [&] { ++clicks; };
  form.Check.onClick = [&] { ++toggles; };
  SendMessageW(hwndOf(form.First), BM_CLICK, 0, 0);
  SendMessageW(hwndOf(form.Check), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(toggles, 1);
  // Checked by the description, unchecked by the click.
  EXPECT_FALSE(form.Check.checked());
  form.Check.setChecked(true);
  EXPECT_EQ(SendMessageW(hwndOf(form.Check), BM_GETCHECK, 0, 0), BST_CHECKED);
}
