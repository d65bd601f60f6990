// The Tab key on the main window with a real display: FLTK's focus moves in the windows' order.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/Program.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace {

// Delivers Tab as FLTK does: to the focused control first, then up through its parents.
void pressTab(bool shift) {
  Fl::e_keysym = FL_Tab;
  Fl::e_state = shift ? FL_SHIFT : 0;
  Fl::e_length = 1;
  Fl::e_text = const_cast<char*>("\t");
  for (Fl_Widget* w = Fl::focus(); w; w = w->parent())
    if (w->handle(FL_KEYBOARD)) return;
}

}  // namespace

TEST(TabKey, FromTheInputButtonThroughInputOptionsSplitMergerAndOutputGroups) {
  app::initializeApplication();
  if (!ui::Application::instance().initializeScreen()) GTEST_SKIP() << "no display";
  ui::ScriptedDialogs answers(false);
  ui::ScopedDialogs scoped(answers);
  TForm1 form;
  form.show();
  Fl::check();
  form.Button3->setEnabled(true);

  Fl::focus(form.Button1);
  std::vector<Fl_Widget*> visited;
  for (int i = 0; i < 8; ++i) {
    pressTab(false);
    visited.push_back(Fl::focus());
  }
  std::vector<Fl_Widget*> expected{form.CheckBox2,    form.CheckBox3,    form.Button3,
                                   form.RadioButton4, form.RadioButton1, form.NumEdit1,
                                   form.ComboBox1,    form.Button1};
  EXPECT_EQ(visited, expected);

  pressTab(true);
  EXPECT_EQ(Fl::focus(), form.ComboBox1);

  // Count mode: the checked radio button is the group's stop and the count edit follows.
  form.RadioButton2->click();
  Fl::focus(form.RadioButton4);
  visited.clear();
  for (int i = 0; i < 3; ++i) {
    pressTab(false);
    visited.push_back(Fl::focus());
  }
  expected = {form.RadioButton2, form.NumEdit2, form.Button1};
  EXPECT_EQ(visited, expected);
  form.hide();
}
