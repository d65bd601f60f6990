// Message boxes on a real display: the buttons each kind offers, and the answer a key gives.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/MessageBox.h"

namespace {

using Icon = ui::MessageBox::Icon;
using Buttons = ui::MessageBox::Buttons;

// Presses `key` in the box once it is up, as the keyboard would deliver it.
void pressWhenShown(ui::MessageBox& box, int key) {
  struct Press {
    ui::MessageBox* box;
    int key;
  };
  static Press press;
  press = {&box, key};
  Fl::add_timeout(0.2, [](void*) {
    Fl::e_keysym = press.key;
    Fl::e_state = 0;
    Fl::e_length = 0;
    Fl::e_text = const_cast<char*>("");
    Fl::handle(FL_KEYBOARD, press.box);
  });
}

}  // namespace

TEST(MessageBox, OffersOkOrYesAndNoAndEnterPressesTheFocusedButton) {
  if (!ui::Application::instance().initializeScreen()) GTEST_SKIP() << "no display";
  struct Case {
    Icon icon;
    Buttons buttons;
    std::vector<std::string> captions;
  };
  for (const Case& c :
       {Case{Icon::Error, Buttons::Ok, {"OK"}}, Case{Icon::Information, Buttons::Ok, {"OK"}},
        Case{Icon::Question, Buttons::YesNo, {"Yes", "No"}}}) {
    ui::MessageBox box("Fennock! 1.0", "A message.", c.icon, c.buttons);
    EXPECT_EQ(box.buttonCaptions(), c.captions);
    EXPECT_STREQ(box.defaultButton().label(), c.captions.front().c_str());
  }

  // With no owner the box stands in the middle of the screen.
  ui::MessageBox question("Fennock! 1.0", "Replace it?", Icon::Question, Buttons::YesNo);
  question.centreOn(nullptr);
  int sx, sy, sw, sh;
  Fl::screen_work_area(sx, sy, sw, sh, 0);
  EXPECT_NEAR(question.x() + question.w() / 2, sx + sw / 2, 1);
  EXPECT_NEAR(question.y() + question.h() / 2, sy + sh / 2, 1);

  pressWhenShown(question, FL_Enter);
  EXPECT_TRUE(question.run(nullptr));  // Yes has the focus first
  ui::MessageBox again("Fennock! 1.0", "Replace it?", Icon::Question, Buttons::YesNo);
  pressWhenShown(again, FL_Escape);
  Fl::add_timeout(
      0.6,
      [](void* box) {
        // Escape does not answer a question; Tab to No and Enter does.
        auto* b = static_cast<ui::MessageBox*>(box);
        EXPECT_TRUE(b->shown());
        Fl::focus(b->child(b->children() - 1));
        Fl::e_keysym = FL_Enter;
        Fl::handle(FL_KEYBOARD, b);
      },
      &again);
  EXPECT_FALSE(again.run(nullptr));
}
