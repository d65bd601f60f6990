// The archiver's password prompt: its layout, what a user's typing and buttons give back, and
// its modal loop on a virtual display.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/ArchiverBinding.h"
#include "app/PasswordDialog.h"
#include "app/Program.h"
#include "platform/Paths.h"
#include "support/Programs.h"
#include "ui/Application.h"
#include "zip/ArchiverTypes.h"

namespace {

using app::TPasswordDlg;

struct PasswordDialog : ::testing::Test {
  PasswordDialog() { app::initializeApplication(); }
  TPasswordDlg dialog{"Password", "Enter password:", "OK", "Cancel"};
};

TEST_F(PasswordDialog, WindowDescription) {
  EXPECT_EQ(dialog.caption(), "Password");
  // 344 x 137 with the dialog frame (3 on each side) and the caption (19) drawn around it.
  EXPECT_EQ(dialog.clientWidth(), 338);
  EXPECT_EQ(dialog.clientHeight(), 112);

  EXPECT_EQ(dialog.Label1.bounds(), (ui::Rect{20, 8, 297, 18}));
  EXPECT_FALSE(dialog.Label1.autoSize());
  EXPECT_EQ(dialog.Label1.caption(), "Enter password:");

  EXPECT_EQ(dialog.Edit1.bounds().left, 20);
  EXPECT_EQ(dialog.Edit1.bounds().top, 40);
  EXPECT_EQ(dialog.Edit1.bounds().width, 297);
  EXPECT_EQ(dialog.Edit1.input_type(), FL_SECRET_INPUT) << "typed characters are masked";
  EXPECT_EQ(dialog.Edit1.maxLength(), 80);
  // Below the edit, above the buttons.
  EXPECT_LE(dialog.Edit1.bounds().top + dialog.Edit1.bounds().height, 72);

  EXPECT_EQ(dialog.OKBtn.bounds(), (ui::Rect{44, 72, 90, 28}));
  EXPECT_EQ(dialog.OKBtn.caption(), "OK");
  EXPECT_EQ(dialog.CancelBtn.bounds(), (ui::Rect{205, 72, 90, 28}));
  EXPECT_EQ(dialog.CancelBtn.caption(), "Cancel");
  EXPECT_EQ(dialog.OKBtn.kind(), TPasswordDlg::KindButton::Kind::OK);
  EXPECT_EQ(dialog.CancelBtn.kind(), TPasswordDlg::KindButton::Kind::Cancel);
  EXPECT_LE(dialog.CancelBtn.bounds().left + dialog.CancelBtn.bounds().width, dialog.clientWidth());
  EXPECT_LE(dialog.OKBtn.bounds().top + dialog.OKBtn.bounds().height, dialog.clientHeight());

  // Arial -12 bold throughout.
  EXPECT_EQ(dialog.Label1.labelfont(), FL_HELVETICA_BOLD);
  EXPECT_EQ(dialog.Label1.labelsize(), 12);
  EXPECT_EQ(dialog.Edit1.textfont(), FL_HELVETICA_BOLD);
  EXPECT_EQ(dialog.OKBtn.labelsize(), 12);

  EXPECT_EQ(dialog.tabSequence(),
            (std::vector<ui::Control*>{&dialog.Edit1, &dialog.OKBtn, &dialog.CancelBtn}));
}

TEST_F(PasswordDialog, OkGivesTheTypedTextAndCancelNothing) {
  dialog.Edit1.type("s3cret pass");
  EXPECT_EQ(dialog.result(), "") << "nothing is accepted before OK";
  dialog.OKBtn.click();
  EXPECT_TRUE(dialog.accepted());
  EXPECT_EQ(dialog.result(), "s3cret pass");

  TPasswordDlg cancelled("Password", "Enter password:", "OK", "Cancel");
  cancelled.Edit1.type("s3cret");
  cancelled.CancelBtn.click();
  EXPECT_FALSE(cancelled.accepted());
  EXPECT_EQ(cancelled.result(), "");

  // The close box is a cancel too.
  TPasswordDlg closed("Password", "Enter password:", "OK", "Cancel");
  closed.Edit1.type("s3cret");
  closed.do_callback();
  EXPECT_EQ(closed.result(), "");

  // OK on an empty edit is accepted, with an empty password (the archiver takes it as none).
  TPasswordDlg empty("Password", "Enter password:", "OK", "Cancel");
  empty.OKBtn.click();
  EXPECT_TRUE(empty.accepted());
  EXPECT_EQ(empty.result(), "");
}

TEST_F(PasswordDialog, EnterInTheEditIsOkAndEscapeIsCancel) {
  dialog.Edit1.type("abc\r");
  EXPECT_TRUE(dialog.accepted());
  EXPECT_EQ(dialog.result(), "abc") << "Enter is not part of the password";

  TPasswordDlg escaped("Password", "Enter password:", "OK", "Cancel");
  escaped.Edit1.type("abc\x1b");
  EXPECT_FALSE(escaped.accepted());
  EXPECT_EQ(escaped.result(), "");
}

TEST_F(PasswordDialog, AtMostEightyCharactersAreTaken) {
  const std::string typed(100, 'k');
  dialog.Edit1.type(typed + "\b" + "z");
  dialog.OKBtn.click();
  // The 80th character can be replaced after a backspace, but never exceeded.
  EXPECT_EQ(dialog.result(), std::string(79, 'k') + "z");
}

TEST_F(PasswordDialog, WithoutADisplayNothingIsAskedAndNothingBlocks) {
  ASSERT_FALSE(ui::Application::instance().onScreen());
  EXPECT_EQ(dialog.execute(), "");
  EXPECT_EQ(app::askPasswordInDialog("Password", "Enter password:", "OK", "Cancel"), "");
  // The archiver's host keeps the terminal's answer: no password.
  std::unique_ptr<zip::ArchiverHost> host = app::makeArchiverHost();
  EXPECT_EQ(host->askPassword("Password", "Enter password:", "OK", "Cancel"), "");
}

// Delivers a key as FLTK does: to the focused widget and its parents, then as a shortcut.
void pressKey(int key, const char* text) {
  Fl::e_keysym = key;
  Fl::e_state = 0;
  Fl::e_length = 1;
  Fl::e_text = const_cast<char*>(text);
  Fl::handle(FL_KEYBOARD, Fl::first_window());
}

struct ScreenCheck {
  TPasswordDlg* dialog;
  bool shownModal = false;
  bool editFocused = false;
  int x = 0;
  int y = 0;
};

// The modal loop needs a display: the test runs itself again on a private one, and that run,
// which finds the marker variable, opens the dialogs.
constexpr char kOnScreenMarker[] = "FENNOCK_PASSWORD_DIALOG_ON_SCREEN";

void onScreenBody() {
  app::initializeApplication();
  ASSERT_TRUE(ui::Application::instance().initializeScreen());
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_xywh(sx, sy, sw, sh, 0);

  TPasswordDlg dialog("Password", "Enter password:", "OK", "Cancel");
  ScreenCheck check{&dialog};
  Fl::add_timeout(
      0.3,
      [](void* data) {
        auto* c = static_cast<ScreenCheck*>(data);
        c->shownModal = c->dialog->shown() && Fl::modal() == c->dialog;
        c->editFocused = Fl::focus() == &c->dialog->Edit1;
        c->x = c->dialog->x();
        c->y = c->dialog->y();
        c->dialog->Edit1.type("typed on screen");
        pressKey(FL_Enter, "\r");
      },
      &check);
  EXPECT_EQ(dialog.execute(), "typed on screen");
  EXPECT_TRUE(check.shownModal);
  EXPECT_TRUE(check.editFocused) << "the password can be typed at once";
  EXPECT_EQ(check.x, sx + (sw - 344) / 2 + 3);
  EXPECT_EQ(check.y, sy + (sh - 137) / 2 + 22);
  EXPECT_FALSE(dialog.shown());

  // Tab to Cancel and Enter: the focused button is pressed, not the default one.
  TPasswordDlg second("Password", "Enter password:", "OK", "Cancel");
  check = ScreenCheck{&second};
  Fl::add_timeout(
      0.3,
      [](void* data) {
        auto* c = static_cast<ScreenCheck*>(data);
        c->dialog->Edit1.type("never used");
        c->dialog->CancelBtn.take_focus();
        pressKey(FL_Enter, "\r");
      },
      &check);
  EXPECT_EQ(second.execute(), "");
  EXPECT_FALSE(second.accepted());
}

TEST(PasswordDialogOnScreen, ModalLoopEndsWithTheTypedTextOnEnterAndNothingOnCancel) {
  if (std::getenv(kOnScreenMarker) != nullptr) return onScreenBody();
  if (!testing_support::haveProgram("Xvfb")) GTEST_SKIP() << "no Xvfb";
  // The shared launcher gives the run a private display that is ready for clients. Under the
  // leak checker the X font libraries' process-long caches are not our leaks.
  const std::string source = __FILE__;
  const std::string tests = source.substr(0, source.rfind("/app/"));
  const std::string suppressions = tests + "/gui/LeakSuppressions.txt";
  const std::string launcher = tests + "/support/with-xvfb";
  const std::vector<std::string> args{platform::executablePath(),
                                      "--gtest_filter=PasswordDialogOnScreen.*"};
  const std::vector<std::string> env{
      std::string(kOnScreenMarker) + "=1",
      "LSAN_OPTIONS=suppressions=" + suppressions + ":print_suppressions=0"};
  // A virtual server under load now and then refuses a client all the same; such a start is
  // retried.
  int status = -1;
  for (int attempt = 0; attempt < 3 && status != 0; ++attempt)
    status = testing_support::runProgram(launcher, args, {}, {}, env).status;
  EXPECT_EQ(status, 0) << "the run on the virtual display failed; run it by hand: " << env[0] << " "
                       << launcher << " " << args[0] << " " << args[1];
}

}  // namespace
