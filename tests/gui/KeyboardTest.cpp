// The keyboard on the shown windows: real key presses from the X server (xdotool) reach the
// forms, which are read back afterwards.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/PasswordDialog.h"
#include "app/Program.h"
#include "support/Programs.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace {

// Lets the program handle what the display has sent it.
void pump() {
  for (int i = 0; i < 15; ++i) Fl::wait(0.01);
}

// Runs `tool` with `args` on our display; its exit status.
int onDisplay(const std::string& tool, const std::vector<std::string>& args) {
  return testing_support::runProgram(tool, args, {}, testing_support::ourDisplay()).status;
}

// Runs xdotool with `args` and then handles the events it caused.
void xdo(const std::vector<std::string>& args) {
  ASSERT_EQ(onDisplay("xdotool", args), 0) << args.front();
  pump();
}

// Puts the mouse at `x`, `y` of `window`; there is no window manager to move it.
void pointAt(const Fl_Window& window, int x, int y) {
  xdo({"mousemove", std::to_string(window.x() + x), std::to_string(window.y() + y)});
}

class Keyboard : public ::testing::Test {
 protected:
  // The screen comes first: it installs the on-screen dialogs, which each test replaces.
  static void SetUpTestSuite() {
    app::initializeApplication();
    s_onScreen = ui::Application::instance().initializeScreen();
  }

  void SetUp() override {
    if (!testing_support::haveProgram("xdotool")) GTEST_SKIP() << "no xdotool";
    if (!s_onScreen) GTEST_SKIP() << "no display";
    form.show();
    pump();
    // Without a window manager the keys go to the window under the mouse: an empty place.
    pointAt(form, 4, 325);
  }

  static inline bool s_onScreen = false;
  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  TForm1 form;
};

TEST_F(Keyboard, EnterAndSpacePressTheFocusedButtonWhichKeepsTheFocus) {
  form.Button1->take_focus();
  xdo({"key", "Return"});
  EXPECT_EQ(answers.openedWith().size(), 1u) << "Enter on \"Change\" opens the chooser";
  xdo({"key", "space"});
  EXPECT_EQ(answers.openedWith().size(), 2u);
  EXPECT_EQ(Fl::focus(), form.Button1);
}

TEST_F(Keyboard, MenuBarOpensWithAltAndItsLetterOrF10AndEntriesGoByTheirLetter) {
  TForm3 about(form);
  int exits = 0;
  form.Exit1->onClick = [&] { exits += 1; };
  form.Exit2->onClick = [&] { exits += 10; };
  // An open menu runs a loop of its own: what happens in it is seen from a timer.
  static std::string shot;
  shot = testing::TempDir() + "keyboard-menu.png";
  static bool menuOpen = false;
  Fl::add_timeout(0.3, [](void*) {
    menuOpen = Fl::grab() != nullptr;
    ASSERT_EQ(onDisplay("import", {"-window", "root", shot}), 0);
    ASSERT_EQ(onDisplay("xdotool", {"key", "x"}), 0);
  });
  xdo({"key", "alt+f"});
  pump();
  EXPECT_TRUE(menuOpen) << "Alt+F opens the File menu";
  EXPECT_EQ(exits, 1) << "its \"Exit\" goes by x";

  menuOpen = false;
  Fl::add_timeout(0.3, [](void*) {
    menuOpen = Fl::grab() != nullptr;
    ASSERT_EQ(onDisplay("xdotool", {"key", "x"}), 0);
  });
  xdo({"key", "F10"});
  pump();
  EXPECT_TRUE(menuOpen) << "F10 opens the first menu";
  EXPECT_EQ(exits, 2);

  xdo({"key", "alt+x"});
  EXPECT_EQ(exits, 12) << "Alt+X chooses the Exit on the bar";

  Fl::add_timeout(0.3, [](void*) { ASSERT_EQ(onDisplay("xdotool", {"key", "a"}), 0); });
  xdo({"key", "alt+h"});
  pump();
  EXPECT_TRUE(about.aboutVisible()) << "Alt+H, A opens the About box";
  about.Button1Click();
}

TEST_F(Keyboard, ArrowsMoveAndCheckWithinARadioGroupAndTabLeavesIt) {
  form.RadioButton1->take_focus();
  xdo({"key", "Down"});
  EXPECT_TRUE(form.RadioButton2->checked());
  EXPECT_EQ(Fl::focus(), form.RadioButton2);
  EXPECT_TRUE(form.NumEdit2->enabled()) << "its click handler ran";
  xdo({"key", "Right"});
  EXPECT_TRUE(form.RadioButton1->checked()) << "the arrows wrap around within the group";
  xdo({"key", "Left"});
  EXPECT_TRUE(form.RadioButton2->checked());
  xdo({"key", "Tab"});
  EXPECT_EQ(Fl::focus(), form.NumEdit2);

  // The merger group has one enabled button: the arrows stay on it.
  form.RadioButton4->take_focus();
  xdo({"key", "Up"});
  EXPECT_EQ(Fl::focus(), form.RadioButton4);
  xdo({"key", "Down"});
  EXPECT_EQ(Fl::focus(), form.RadioButton4);
  EXPECT_TRUE(form.RadioButton4->checked());
}

// A layout with "é" on a key of its own, as xdotool cannot type what the keyboard lacks.
class FrenchLayout {
 public:
  FrenchLayout() : m_set(onDisplay("setxkbmap", {"-layout", "fr"}) == 0) { pump(); }
  ~FrenchLayout() {
    if (m_set) onDisplay("setxkbmap", {"-layout", "us"});
  }
  bool set() const { return m_set; }

 private:
  bool m_set;
};

TEST_F(Keyboard, DeleteAndBackspaceEditAndNumericFieldsRefuseEveryLetter) {
  FrenchLayout french;
  if (!french.set()) GTEST_SKIP() << "no setxkbmap";
  form.NumEdit1->setText("123");
  form.NumEdit1->take_focus();
  xdo({"key", "End", "BackSpace", "Home", "Delete"});
  EXPECT_EQ(form.NumEdit1->text(), "2");
  xdo({"type", "--delay", "50", "aZé4"});
  EXPECT_EQ(form.NumEdit1->text(), "42");

  // The password edit takes any character, but Delete deletes there too.
  app::TPasswordDlg dialog("Password", "Enter password:", "OK", "Cancel");
  dialog.show();
  pump();
  pointAt(dialog, 4, 4);
  dialog.Edit1.take_focus();
  xdo({"type", "--delay", "50", "abé"});
  xdo({"key", "Home", "Delete"});
  EXPECT_EQ(dialog.Edit1.text(), "bé");
  dialog.hide();
}

}  // namespace
