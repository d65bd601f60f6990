// The Win32 controls of the main window under the system's own input handling: the dialog
// manager's tab order and radio groups, typed keys through the numeric filter, the drop-down
// list's pick, the menu bar's marks, and a disabled form refusing a real click.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/MainMenu.h"
#include "ui/RadioButton.h"
#include "widgets/NumEdit.h"

namespace {

HWND hwndOf(const ui::NativeWidget& widget) { return static_cast<HWND>(widget.hwnd()); }

// Two groups of radio buttons, made out of tab order, with the other kinds of control.
struct Controls : ui::Form {
  Controls()
      : ui::Form("Controls", 40, 40, 320, 160, true),
        Sizes(*this, {8, 4, 150, 90}, "Size", 1),
        Bytes(Sizes, {8, 40, 100, 17}, "Bytes", false, 1),
        Pieces(Sizes, {8, 20, 100, 17}, "Pieces", true, 0),
        Size(Sizes, {8, 62, 60, 21}, "", 2),
        Merger(*this, {166, 4, 150, 60}, "Merger", 3),
        Exe(Merger, {8, 18, 100, 17}, ".EXE", true, 0),
        Bat(Merger, {8, 36, 100, 17}, ".BAT", false, 1),
        Unit(*this, {8, 100, 100, 21}, {"bytes", "Kbytes", "Mbytes"}, 2),
        Split(*this, {166, 100, 75, 25}, "Split", 4),
        Menu(*this) {
    ui::MenuItem* file = Menu.add(nullptr, "File", 'F');
    Exit = Menu.add(file, "Exit", 'x');
    ui::MenuItem* options = Menu.add(nullptr, "Options", 'O');
    Checksum = Menu.addCheckItem(options, "Checksum file", 'C');
    Menu.addDivider(options);
    ForWindows = Menu.addRadioItem(options, "Merger for Windows", 'W');
    ForLinux = Menu.addRadioItem(options, "Merger for Linux", 'L');
    ForWindows->setChecked(true);
  }
  ui::GroupBox Sizes;
  ui::RadioButton Bytes;
  ui::RadioButton Pieces;
  widgets::TNumEdit Size;
  ui::GroupBox Merger;
  ui::RadioButton Exe;
  ui::RadioButton Bat;
  ui::ComboBox Unit;
  ui::Button Split;
  ui::MainMenu Menu;
  ui::MenuItem* Exit;
  ui::MenuItem* Checksum;
  ui::MenuItem* ForWindows;
  ui::MenuItem* ForLinux;
};

std::vector<HWND> tabWalk(const ui::Form& form) {
  std::vector<HWND> walked;
  const HWND top = hwndOf(form);
  HWND first = GetNextDlgTabItem(top, nullptr, FALSE);
  for (HWND at = first; at; at = GetNextDlgTabItem(top, at, FALSE)) {
    walked.push_back(at);
    if (walked.size() > 10 || GetNextDlgTabItem(top, at, FALSE) == first) break;
  }
  return walked;
}

// Posts a message to a control's queue and lets the loop (with its dialog manager) run it.
void post(const ui::NativeWidget& to, UINT message, WPARAM wParam) {
  PostMessageW(hwndOf(to), message, wParam, 0);
  ui::Application::instance().processMessages();
}

void keyDown(const ui::NativeWidget& to, WORD key) {
  SetFocus(hwndOf(to));
  post(to, WM_KEYDOWN, key);
  PostMessageW(hwndOf(to), WM_KEYUP, key, LPARAM(0xC0000001));
  ui::Application::instance().processMessages();
}

#define SKIP_WITHOUT_WINDOWS(form) \
  if (!(form).hwnd()) GTEST_SKIP() << "Wine made no window: no display"

}  // namespace

TEST(Win32Controls, TabStopsAtEachGroupsCheckedRadioAndArrowsMoveWithinTheGroup) {
  Controls form;
  SKIP_WITHOUT_WINDOWS(form);
  form.show();
  int sizeClicks = 0, mergerClicks = 0;
  form.Bytes.onClick = [&] { ++sizeClicks; };
  form.Pieces.onClick = [&] { ++sizeClicks; };
  form.Bat.onClick = [&] { ++mergerClicks; };
  std::vector<HWND> expected = {hwndOf(form.Pieces), hwndOf(form.Size), hwndOf(form.Unit),
                                hwndOf(form.Exe), hwndOf(form.Split)};
  EXPECT_EQ(tabWalk(form), expected);

  // Down from the last button of a group wraps to its first and never leaves the group.
  keyDown(form.Pieces, VK_DOWN);
  EXPECT_TRUE(form.Bytes.checked());
  EXPECT_FALSE(form.Pieces.checked());
  EXPECT_EQ(GetFocus(), hwndOf(form.Bytes));
  keyDown(form.Bytes, VK_DOWN);
  EXPECT_TRUE(form.Pieces.checked());
  EXPECT_EQ(sizeClicks, 2);
  EXPECT_TRUE(form.Exe.checked());
  // A click checks only within the parent.
  SendMessageW(hwndOf(form.Bat), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.Bat.checked() && !form.Exe.checked() && form.Pieces.checked());
  SendMessageW(hwndOf(form.Bat), BM_CLICK, 0, 0);
  EXPECT_EQ(mergerClicks, 1);
  expected[3] = hwndOf(form.Bat);
  EXPECT_EQ(tabWalk(form), expected);

  // A disabled group box takes its controls out of the walk.
  form.Sizes.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(hwndOf(form.Size)));
  EXPECT_EQ(tabWalk(form),
            (std::vector<HWND>{hwndOf(form.Unit), hwndOf(form.Bat), hwndOf(form.Split)}));
}

TEST(Win32Controls, TypedKeysPassTheNumericFilterAndEscapeClears) {
  Controls form;
  SKIP_WITHOUT_WINDOWS(form);
  form.show();
  form.Size.setFloat(false);
  int changes = 0;
  form.Size.onChange = [&] { ++changes; };
  form.Size.setText("7");
  EXPECT_EQ(changes, 1);
  SetFocus(hwndOf(form.Size));
  SendMessageW(hwndOf(form.Size), EM_SETSEL, 1, 1);
  for (wchar_t c : {L'1', L'x', L'.', L'2'}) post(form.Size, WM_CHAR, c);
  EXPECT_EQ(form.Size.text(), "712");
  EXPECT_EQ(changes, 3);
  // Escape comes through the dialog manager, which would otherwise take it.
  keyDown(form.Size, VK_ESCAPE);
  EXPECT_EQ(form.Size.text(), "");
  EXPECT_EQ(changes, 4);
}

TEST(Win32Controls, DropDownListReportsOnlyTheUsersPick) {
  Controls form;
  SKIP_WITHOUT_WINDOWS(form);
  form.show();
  int changes = 0;
  form.Unit.onChange = [&] { ++changes; };
  form.Unit.setItemIndex(1);
  EXPECT_EQ(form.Unit.text(), "Kbytes");
  EXPECT_EQ(changes, 0);
  keyDown(form.Unit, VK_DOWN);
  EXPECT_EQ(form.Unit.itemIndex(), 2);
  EXPECT_EQ(changes, 1);
}

// The form's own procedure, replaced for a test: counts the requests to open the menu bar
// (without opening it, which would wait for the user) and passes the rest on.
WNDPROC formProcedure = nullptr;
int menuRequests = 0;
LRESULT CALLBACK countMenuRequests(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) {
    ++menuRequests;
    return 0;
  }
  return CallWindowProcW(formProcedure, hwnd, message, wParam, lParam);
}

TEST(Win32Menu, F10ReachesTheMenuBarFromEveryKindOfControl) {
  Controls form;
  SKIP_WITHOUT_WINDOWS(form);
  form.show();
  formProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwndOf(form), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countMenuRequests)));
  for (const ui::NativeWidget* control :
       std::vector<const ui::NativeWidget*>{&form.Unit, &form.Size, &form.Exe, &form.Split}) {
    menuRequests = 0;
    SetFocus(hwndOf(*control));
    post(*control, WM_SYSKEYDOWN, VK_F10);
    PostMessageW(hwndOf(*control), WM_SYSKEYUP, VK_F10, LPARAM(0xC0000001));
    ui::Application::instance().processMessages();
    EXPECT_EQ(menuRequests, 1) << "from control " << GetDlgCtrlID(hwndOf(*control));
  }
  SetWindowLongPtrW(hwndOf(form), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProcedure));
}

TEST(Win32Menu, BarLiesOutsideTheClientAreaAndEntriesKeepTheirMarks) {
  Controls form;
  SKIP_WITHOUT_WINDOWS(form);
  RECT client{};
  GetClientRect(hwndOf(form), &client);
  EXPECT_EQ(client.bottom - client.top, 160);
  EXPECT_EQ(client.right - client.left, 320);
  RECT button{};
  GetWindowRect(hwndOf(form.Split), &button);
  MapWindowPoints(nullptr, hwndOf(form), reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.top, 100);

  int exits = 0;
  form.Exit->onClick = [&] { ++exits; };
  const HMENU options = GetSubMenu(GetMenu(hwndOf(form)), 1);
  ASSERT_NE(options, nullptr);
  // Checksum file, the divider, Windows, Linux.
  ASSERT_EQ(GetMenuItemCount(options), 4);
  auto choose = [&](HMENU menu, int position) {
    post(form, WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, position), 0));
  };
  auto marked = [&](int position) {
    return (GetMenuState(GetSubMenu(GetMenu(hwndOf(form)), 1), UINT(position), MF_BYPOSITION) &
            MF_CHECKED) != 0;
  };
  EXPECT_TRUE(marked(2));
  choose(options, 0);
  choose(GetSubMenu(GetMenu(hwndOf(form)), 1), 3);
  EXPECT_TRUE(form.Checksum->checked());
  EXPECT_TRUE(form.ForLinux->checked() && !form.ForWindows->checked());
  EXPECT_TRUE(marked(0) && marked(3) && !marked(2));
  choose(GetSubMenu(GetMenu(hwndOf(form)), 0), 0);
  EXPECT_EQ(exits, 1);
}

TEST(Win32Form, DisabledFormRefusesARealClick) {
  Controls form;
  SKIP_WITHOUT_WINDOWS(form);
  form.show();
  int clicks = 0;
  form.Split.onClick = [&] { ++clicks; };
  auto clickSplit = [&] {
    RECT r{};
    GetWindowRect(hwndOf(form.Split), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {
      Sleep(10);
      ui::Application::instance().processMessages();
    }
  };
  clickSplit();
  if (clicks == 0) GTEST_SKIP() << "this display takes no injected input";
  form.setEnabled(false);
  clickSplit();
  EXPECT_EQ(clicks, 1);
  form.setEnabled(true);
  clickSplit();
  EXPECT_EQ(clicks, 2);
}
