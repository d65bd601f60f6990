// The custom controls on the system's windows: the lamp's ticks and the bar's mouse arrive as
// window messages, and the folder browser is checked and answered from inside the shell's dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Utf16.h"
#include "support/ScratchDir.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "widgets/BrowseFolder.h"
#include "widgets/GaugeBar.h"
#include "widgets/Led.h"

using namespace widgets;

namespace {

struct Panel : ui::Form {
  Panel() : ui::Form("Panel", 10, 10, 300, 120, false), Bar(10, 10, 200, 20), Lamp(10, 50) {
    add(Bar);
    add(Lamp);
  }
  TGaugeBar Bar;
  TLED Lamp;
};

HWND hwndOf(const ui::NativeWidget& widget) { return static_cast<HWND>(widget.hwnd()); }

void pumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    ui::Application::instance().processMessages();
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

#define SKIP_WITHOUT_WINDOWS(form) \
  if (!(form).hwnd()) GTEST_SKIP() << "Wine made no window: no display"

std::wstring textOf(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return text;
}

}  // namespace

TEST(Win32Led, TimerTicksAlternateThePhaseAndStoppingPaintsTheState) {
  Panel panel;
  SKIP_WITHOUT_WINDOWS(panel);
  panel.show();
  pumpFor(50);
  ASSERT_EQ(panel.Lamp.shownImage(), "LED_RED");  // the first paint
  panel.Lamp.setBlinkInterval(30);
  panel.Lamp.setBlinking(true);
  std::vector<std::string_view> seen;
  const DWORD start = GetTickCount();
  while (seen.size() < 3 && GetTickCount() - start < 5000) {
    pumpFor(5);
    if (panel.Lamp.shownImage() != (seen.empty() ? "LED_RED" : seen.back()))
      seen.push_back(panel.Lamp.shownImage());
  }
  EXPECT_EQ(seen, (std::vector<std::string_view>{"LED_RED_DARK", "LED_RED", "LED_RED_DARK"}));
  panel.Lamp.setBlinking(false);
  pumpFor(50);  // the repaint comes as WM_PAINT and shows the State image, lit
  EXPECT_EQ(panel.Lamp.shownImage(), "LED_RED");
  EXPECT_FALSE(panel.Lamp.timerRunning());
}

// Posted to the bar's own window, so that the system's dispatch and the painted window's
// procedure carry them to the handlers; coordinates come back relative to the bar.
TEST(Win32GaugeBar, MouseMessagesReachTheHandlers) {
  Panel panel;
  SKIP_WITHOUT_WINDOWS(panel);
  panel.show();
  std::vector<std::string> events;
  auto record = [&](const char* name) {
    return [&events, name](int button, int x, int y) {
      events.push_back(std::string(name) + " " + std::to_string(button) + " " + std::to_string(x) +
                       "," + std::to_string(y));
    };
  };
  panel.Bar.OnMouseDown = record("down");
  panel.Bar.OnMouseMove = record("move");
  panel.Bar.OnMouseUp = record("up");
  panel.Bar.OnClick = [&] { events.push_back("click"); };
  panel.Bar.OnDblClick = [&] { events.push_back("double"); };
  const HWND bar = hwndOf(panel.Bar);
  const struct {
    UINT message;
    int x, y;
  } sent[] = {
      {WM_LBUTTONDOWN, 20, 5},  {WM_MOUSEMOVE, 250, 7},  // dragged out: the bar keeps the mouse
      {WM_LBUTTONUP, 250, 7},                            // released outside: no click
      {WM_RBUTTONDOWN, 3, 4},   {WM_RBUTTONUP, 3, 4},
      {WM_LBUTTONDBLCLK, 6, 6}, {WM_LBUTTONUP, 6, 6},
  };
  for (const auto& m : sent) {
    PostMessageW(bar, m.message, m.message == WM_MOUSEMOVE ? MK_LBUTTON : 0, MAKELPARAM(m.x, m.y));
    ui::Application::instance().processMessages();
  }
  EXPECT_EQ(events, (std::vector<std::string>{"down 1 20,5", "move 1 250,7", "up 1 250,7",
                                              "down 3 3,4", "up 3 3,4", "click", "down 1 6,6",
                                              "double", "up 1 6,6", "click"}));
  EXPECT_EQ(GetCapture(), nullptr);  // every release lets the mouse go
}

namespace {

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Answers the shell's folder dialog from a timer that the dialog's own message loop runs: reads
// its texts until `awaited` is among them (or for a while when empty), then presses a button.
struct DialogDriver {
  static DialogDriver*& current() {
    static DialogDriver* driver = nullptr;
    return driver;
  }
  DialogDriver(UINT press, std::string awaitedText)
      : button(press), awaited(std::move(awaitedText)) {
    current() = this;
    timer = SetTimer(nullptr, 0, 50, tick);
  }
  ~DialogDriver() {
    KillTimer(nullptr, timer);
    current() = nullptr;
  }

  static BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  static BOOL CALLBACK collect(HWND child, LPARAM self) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    std::wstring text = textOf(child);
    auto* driver = reinterpret_cast<DialogDriver*>(self);
    if (std::wstring(name) == L"Static" && !text.empty())
      driver->statics.push_back(platform::fromUtf16(text.c_str(), text.size()));
    return TRUE;
  }
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* driver = current();
    if (!driver || driver->answered) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    driver->statics.clear();
    EnumChildWindows(dialog, collect, reinterpret_cast<LPARAM>(driver));
    // The status line follows the preselection a few messages later; 5 s at most.
    const bool seen = !driver->awaited.empty() && contains(driver->statics, driver->awaited);
    if (!seen && ++driver->ticks < (driver->awaited.empty() ? 10 : 100)) return;
    driver->answered = true;
    driver->okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != 0;
    if (driver->beforePress) driver->beforePress(dialog);
    PostMessageW(dialog, WM_COMMAND, driver->button, 0);
  }

  UINT button;
  std::string awaited;
  UINT_PTR timer = 0;
  int ticks = 0;
  bool answered = false;
  bool okEnabled = false;
  std::vector<std::string> statics;
  std::function<void(HWND)> beforePress;
};

}  // namespace

TEST(Win32BrowseFolder, ShellDialogShowsTitleShortPathAndExtraCheckBoxAndRaisesTheEvents) {
  ui::Form probe("Probe", 0, 0, 10, 10, false);
  SKIP_WITHOUT_WINDOWS(probe);
  ui::ScreenDialogs screen;
  ui::ScopedDialogs scope(screen);
  testing_support::ScratchDir dir;
  const std::string folder = dir.file("one\\two");
  std::filesystem::create_directories(folder);
  TBrowseFolder browse;
  browse.setTitle("Destination folder");
  browse.setShowPathInStatusArea(true);
  browse.setDirectory(folder);
  // Wine's first folder dialog in a process comes up before its tree takes a selection, so the
  // preselection is checked in the second one.
  {
    DialogDriver cancel(IDCANCEL, "");
    EXPECT_FALSE(browse.Execute());
    ASSERT_TRUE(cancel.answered);
    EXPECT_TRUE(contains(cancel.statics, "Destination folder"));
  }
  EXPECT_EQ(browse.Directory(), folder);
  // The scratch folder lies deep enough that the status line must shorten it.
  const std::string status = shortenStatusPath(folder, kStatusPathLimit, '\\');
  ASSERT_LT(status.size(), folder.size());
  {
    DialogDriver ok(IDOK, status);
    EXPECT_TRUE(browse.Execute());
    EXPECT_TRUE(ok.okEnabled);
    EXPECT_TRUE(contains(ok.statics, status)) << testing::PrintToString(ok.statics);
  }
  EXPECT_EQ(browse.Directory(), folder);

  // The third run drives the extra check box and the events: the initialisation moves the
  // selection on from the preselection to a sibling, which is then confirmed.
  const std::string sibling = dir.file("one\\three");
  std::filesystem::create_directories(sibling);
  browse.setCustomButtonVisible(true);
  browse.setCustomButtonType(btCheckBox);
  browse.setCustomButtonCaption("Keep copies");
  browse.setCustomButtonWidth(0);
  browse.setSyncCustomButton(true);
  std::vector<HWND> initialized;
  std::vector<std::string> selected;
  int clicks = 0;
  browse.OnInitialized = [&](TBrowseFolder& sender, void* dialog) {
    initialized.push_back(static_cast<HWND>(dialog));
    sender.SetSelection(dialog, sibling);
  };
  browse.OnSelectionChanged = [&](TBrowseFolder&, void*, const void* item,
                                  const std::string& path) {
    EXPECT_NE(item, nullptr);
    selected.push_back(path);
  };
  browse.OnCustomButtonClick = [&](TBrowseFolder&, void*) { ++clicks; };
  const std::string siblingStatus = shortenStatusPath(sibling, kStatusPathLimit, '\\');
  {
    DialogDriver ok(IDOK, siblingStatus);
    ok.beforePress = [&](HWND dialog) {
      ASSERT_EQ(initialized, std::vector<HWND>{dialog});
      HWND extra = GetDlgItem(dialog, 255);
      ASSERT_NE(extra, nullptr);
      EXPECT_EQ(textOf(extra), L"Keep copies");
      RECT place{};
      GetWindowRect(extra, &place);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
      EXPECT_EQ((std::vector<LONG>{place.left, place.top, place.right - place.left,
                                   place.bottom - place.top}),
                (std::vector<LONG>{12, 270, 75, 23}));
      SendMessageW(extra, BM_CLICK, 0, 0);
      EXPECT_EQ(clicks, 1);
      browse.EnableOK(dialog, false);
      EXPECT_FALSE(IsWindowEnabled(extra));
      EXPECT_FALSE(browse.CustomButtonEnabled());
      browse.EnableOK(dialog, true);
      EXPECT_TRUE(IsWindowEnabled(extra));
    };
    EXPECT_TRUE(browse.Execute());
    EXPECT_TRUE(ok.okEnabled);
    EXPECT_TRUE(contains(ok.statics, siblingStatus)) << testing::PrintToString(ok.statics);
  }
  ASSERT_FALSE(selected.empty());
  EXPECT_EQ(selected.back(), sibling);
  EXPECT_TRUE(browse.CustomButtonChecked());  // the click checked it; OK kept the state
  EXPECT_EQ(browse.Directory(), sibling);
}
