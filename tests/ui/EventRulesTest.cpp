// The windows' event rules on the standard controls, driven without a display.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/MainMenu.h"
#include "ui/OpenDialog.h"
#include "ui/RadioButton.h"

namespace {

struct Fixture : ::testing::Test {
  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  ui::Form form{"Test", 0, 0, 300, 200, false};
  ui::GroupBox box{form, {8, 8, 200, 100}, "Box"};
  int calls = 0;
};

using EditRules = Fixture;
using CheckBoxRules = Fixture;
using RadioRules = Fixture;
using ComboRules = Fixture;
using ErrorHandler = Fixture;

}  // namespace

TEST_F(EditRules, SettingADifferentTextRunsTheChangeHandlerOnce) {
  ui::Edit edit(box, {0, 0, 50, 21}, "", 0);
  edit.onChange = [&] { ++calls; };
  edit.setText("1.38");
  EXPECT_EQ(calls, 1);
  edit.setText("1.38");
  EXPECT_EQ(calls, 1);
  edit.setText("");
  EXPECT_EQ(calls, 2);
}

TEST_F(EditRules, TypingRunsTheHandlerPerCharacterAndKeepsToTheLimit) {
  ui::Edit edit(box, {0, 0, 50, 21}, "", 0);
  edit.setMaxLength(5);
  edit.onChange = [&] { ++calls; };
  edit.type("1234567");
  EXPECT_EQ(edit.text(), "12345");
  EXPECT_EQ(calls, 5);
  edit.type("\b");
  EXPECT_EQ(edit.text(), "1234");
  // The program's text is not limited.
  edit.setText("1234567");
  EXPECT_EQ(edit.text(), "1234567");
}

TEST_F(EditRules, KeyHookCanRejectACharacter) {
  struct DigitsOnly : ui::Edit {
    using ui::Edit::Edit;
    void keyPress(char& key) override {
      if (key != ui::kBackspaceChar && (key < '0' || key > '9')) key = ui::kRejectedChar;
    }
  } edit(box, {0, 0, 50, 21}, "", 0);
  edit.type("1a-2");
  EXPECT_EQ(edit.text(), "12");
}

TEST_F(EditRules, DisabledEditTakesNoTyping) {
  ui::Edit edit(box, {0, 0, 50, 21}, "", 0);
  edit.setEnabled(false);
  edit.type("1");
  EXPECT_EQ(edit.text(), "");
  box.setEnabled(false);
  edit.setEnabled(true);
  edit.type("1");
  EXPECT_EQ(edit.text(), "");
}

TEST_F(CheckBoxRules, ProgramRunsClickOnlyWhenTheStateChanges) {
  ui::CheckBox check(box, {0, 0, 100, 17}, "Compress", true, 0);
  check.onClick = [&] { ++calls; };
  check.setChecked(true);
  EXPECT_EQ(calls, 0);
  check.setChecked(false);
  EXPECT_EQ(calls, 1);
  check.click();
  EXPECT_TRUE(check.checked());
  EXPECT_EQ(calls, 2);
  check.setEnabled(false);
  check.click();
  EXPECT_TRUE(check.checked());
  EXPECT_EQ(calls, 2);
}

TEST_F(CheckBoxRules, HandlerErrorReachesTheProgramsCaller) {
  ui::CheckBox check(box, {0, 0, 100, 17}, "Compress", true, 0);
  check.onClick = [] { throw std::runtime_error("boom"); };
  EXPECT_THROW(check.setChecked(false), std::runtime_error);
  EXPECT_FALSE(check.checked());
}

TEST_F(RadioRules, RadioButtonsOfOneParentAreExclusive) {
  ui::RadioButton a(box, {0, 0, 100, 17}, "A", true, 0);
  ui::RadioButton b(box, {0, 20, 100, 17}, "B", false, 1);
  ui::RadioButton other(form, {0, 150, 100, 17}, "Elsewhere", true, 1);
  b.onClick = [&] { ++calls; };
  b.setChecked(true);
  EXPECT_FALSE(a.checked());
  EXPECT_TRUE(b.checked());
  EXPECT_TRUE(other.checked());  // another parent is another group
  EXPECT_EQ(calls, 1);
  b.setChecked(true);
  b.click();
  EXPECT_EQ(calls, 1);  // already checked: no click
  a.click();
  EXPECT_FALSE(b.checked());
}

TEST_F(ComboRules, ProgramSelectionRunsNothingUserPickRunsChange) {
  ui::ComboBox combo(box, {0, 0, 60, 21}, {"bytes", "Kbytes", "Mbytes", "a/b&c"}, 0);
  combo.onChange = [&] { ++calls; };
  EXPECT_EQ(combo.itemIndex(), ui::kNoItem);
  EXPECT_EQ(combo.text(), "");
  combo.setItemIndex(2);
  EXPECT_EQ(combo.text(), "Mbytes");
  EXPECT_EQ(calls, 0);
  combo.pick(0);
  EXPECT_EQ(combo.itemIndex(), 0);
  EXPECT_EQ(calls, 1);
  combo.setItemIndex(3);
  EXPECT_EQ(combo.text(), "a/b&c");  // items are plain text, not menu paths
  combo.setItemIndex(-1);
  EXPECT_EQ(combo.itemIndex(), ui::kNoItem);
}

TEST_F(ErrorHandler, UserEventErrorIsShownWithTitleAndPeriod) {
  ui::Application::instance().setTitle("Fennock! 1.0");
  ui::Button button(box, {0, 0, 75, 25}, "Go", 0);
  bool after = false;
  button.onClick = [&] {
    throw std::runtime_error("'1-' is not a valid floating point value");
    after = true;
  };
  button.click();
  EXPECT_FALSE(after);
  ASSERT_EQ(answers.messages().size(), 1u);
  EXPECT_EQ(answers.messages()[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(answers.messages()[0].caption, "Fennock! 1.0");
  EXPECT_EQ(answers.messages()[0].text, "'1-' is not a valid floating point value.");
}

TEST_F(ErrorHandler, DisabledButtonOrFormIgnoresClicks) {
  ui::Button button(box, {0, 0, 75, 25}, "Go", 0);
  button.onClick = [&] { ++calls; };
  button.setEnabled(false);
  button.click();
  button.setEnabled(true);
  form.setEnabled(false);
  button.click();
  EXPECT_EQ(calls, 0);
  form.setEnabled(true);
  button.click();
  EXPECT_EQ(calls, 1);
}

TEST(MainMenuRules, CommandAndSubmenuEntries) {
  ui::Form form("Menu", 0, 0, 300, 200, true);
  ui::MainMenu menu(form);
  int opened = 0, exited = 0;
  ui::MenuItem* file = menu.add(nullptr, "File");
  ui::MenuItem* open = menu.add(file, "Input file");
  ui::MenuItem* exit = menu.add(nullptr, "Exit");
  open->onClick = [&] { ++opened; };
  exit->onClick = [&] { ++exited; };
  file->click();  // a submenu runs nothing
  exit->click();
  open->click();
  file->setEnabled(false);
  open->click();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(exited, 1);
  // The bar is FLTK's: the top-level command is an entry without a submenu.
  const Fl_Menu_Item* item = menu.find_item("Exit");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->submenu());
}

TEST(MainMenuRules, CheckEntriesTurnOverWhenChosenByUserOrFltkButNotWhenSet) {
  ui::Form form("Menu", 0, 0, 300, 200, true);
  ui::MainMenu menu(form);
  ui::MenuItem* options = menu.add(nullptr, "Options");
  ui::MenuItem* check = menu.addCheckItem(options, "Write checksum file");
  std::vector<bool> seen;  // the state each click handler found
  check->onClick = [&] { seen.push_back(check->checked()); };
  auto fltkEntry = [&] { return menu.find_item("Options/Write checksum file"); };
  ASSERT_NE(fltkEntry(), nullptr);
  EXPECT_TRUE(fltkEntry()->checkbox());
  EXPECT_FALSE(fltkEntry()->value());

  check->click();
  EXPECT_TRUE(fltkEntry()->value()) << "the mark shows";
  menu.picked(fltkEntry());  // as FLTK's own menu window reports a choice
  EXPECT_FALSE(check->checked());
  check->setChecked(true);
  EXPECT_TRUE(fltkEntry()->value());
  options->setEnabled(false);
  check->click();
  EXPECT_TRUE(check->checked());
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(MainMenuRules, RadioEntriesMarkOneOfTheirRunWhicheverWayTheyAreChosen) {
  ui::Form form("Menu", 0, 0, 300, 200, true);
  ui::MainMenu menu(form);
  ui::MenuItem* options = menu.add(nullptr, "Options");
  ui::MenuItem* check = menu.addCheckItem(options, "Check");
  ui::MenuItem* a = menu.addRadioItem(options, "A");
  ui::MenuItem* b = menu.addRadioItem(options, "B");
  menu.addDivider(options);
  ui::MenuItem* c = menu.addRadioItem(options, "C");  // a run of its own, after the divider
  int clicks = 0;
  b->onClick = [&] { ++clicks; };
  a->setChecked(true);
  c->setChecked(true);
  check->setChecked(true);
  const auto marks = [&] {
    return std::vector<bool>{check->checked(), a->checked(), b->checked(), c->checked()};
  };
  EXPECT_EQ(marks(), (std::vector<bool>{true, true, false, true}));
  b->click();
  b->click();  // chosen again, it stays marked
  EXPECT_EQ(marks(), (std::vector<bool>{true, false, true, true}));
  EXPECT_EQ(clicks, 2);
  const Fl_Menu_Item* fltkA = menu.find_item("Options/A");
  ASSERT_NE(fltkA, nullptr);
  EXPECT_TRUE(fltkA->radio());
  EXPECT_FALSE(fltkA->value());
  EXPECT_TRUE(menu.find_item("Options/B")->flags & FL_MENU_DIVIDER);
  menu.picked(fltkA);
  EXPECT_EQ(marks(), (std::vector<bool>{true, true, false, true}));
}

TEST(MainMenuRules, AccessKeyMarksTheFirstLetterOfEitherCaseAndAmpersandsStayText) {
  ui::Form form("Menu", 0, 0, 300, 200, true);
  ui::MainMenu menu(form);
  struct Case {
    const char* caption;
    char accessKey;
    const char* menuText;  // as FLTK reads it
  };
  const Case cases[] = {
      {"Exit", 'x', "E&xit"},
      {"Help", 'h', "&Help"},
      {"fix & File", 'F', "&fix && File"},
      {"A & B", 0, "A && B"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(menu.add(nullptr, c.caption, c.accessKey)->caption(), c.caption);
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_STREQ(menu.menu()[i].text, cases[i].menuText);
}

TEST(OpenDialogRules, StartsFromThePreviousChoiceAndKeepsItOnCancel) {
  ui::ScriptedDialogs answers(false);
  ui::ScopedDialogs scoped(answers);
  ui::OpenDialog dialog;
  answers.queueOpenFile("/data/a.bin");
  answers.queueOpenFile(std::nullopt);
  EXPECT_TRUE(dialog.execute());
  EXPECT_FALSE(dialog.execute());
  EXPECT_EQ(dialog.FileName(), "/data/a.bin");
  ASSERT_EQ(answers.openedWith().size(), 2u);
  EXPECT_EQ(answers.openedWith()[0], "");
  EXPECT_EQ(answers.openedWith()[1], "/data/a.bin");
}
