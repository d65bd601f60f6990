// The main window built without a display: its controls as the window description gives them,
// FormCreate, the tab order, the menu and the Exit entries.
#include <gtest/gtest.h>

#include <clocale>

#include "app/MainWindow.h"
#include "app/Program.h"
#include "platform/Numbers.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace {

struct MainWindow : ::testing::Test {
  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  int started = (app::initializeApplication(), 0);
  TForm1 form;
};

void expectControl(const ui::Control& control, ui::Rect bounds, bool enabled) {
  EXPECT_EQ(control.bounds(), bounds);
  EXPECT_EQ(control.enabled(), enabled);
  EXPECT_TRUE(control.visible());
}

// Labels size themselves to their caption, so only their place and height are fixed.
void expectLabel(const ui::Label& label, int left, int top, const std::string& caption) {
  EXPECT_EQ(label.bounds().left, left);
  EXPECT_EQ(label.bounds().top, top);
  EXPECT_EQ(label.bounds().height, 13);
  EXPECT_EQ(label.caption(), caption);
}

}  // namespace

TEST_F(MainWindow, WindowDescription) {
  EXPECT_EQ(form.caption(), "Fennock! 1.0");
  EXPECT_EQ(form.x(), 191);
  EXPECT_EQ(form.y(), 112);
  EXPECT_EQ(form.clientWidth(), 458);
  EXPECT_EQ(form.clientHeight(), 309);
  EXPECT_TRUE(form.enabled());
}

TEST_F(MainWindow, InputGroup) {
  EXPECT_EQ(&form.GroupBox1->container(), &form);
  EXPECT_EQ(form.GroupBox1->caption(), "Input files");
  expectControl(*form.GroupBox1, {8, 0, 441, 80}, true);
  expectLabel(*form.Label4, 16, 24, "File to split: ");
  EXPECT_EQ(form.FileLabel1->bounds(), (ui::Rect{104, 24, 241, 17}));
  EXPECT_EQ(form.FileLabel1->FileName(), "None");
  expectControl(*form.Button1, {352, 16, 75, 25}, true);
  EXPECT_EQ(form.Button1->caption(), "Change");
  expectLabel(*form.Label5, 16, 48, "Destination folder:");
  EXPECT_EQ(form.FileLabel2->bounds(), (ui::Rect{104, 48, 241, 17}));
  EXPECT_EQ(form.FileLabel2->FileName(), "???");
  expectControl(*form.Button2, {352, 48, 75, 25}, false);
  EXPECT_EQ(form.Button2->caption(), "Change");
  for (ui::Control* c :
       {(ui::Control*)form.Label4, (ui::Control*)form.FileLabel1, (ui::Control*)form.Button1,
        (ui::Control*)form.Label5, (ui::Control*)form.FileLabel2, (ui::Control*)form.Button2})
    EXPECT_EQ(&c->container(), form.GroupBox1);
}

TEST_F(MainWindow, OutputGroup) {
  EXPECT_EQ(form.GroupBox2->caption(), "Output files");
  expectControl(*form.GroupBox2, {8, 88, 217, 81}, true);
  expectControl(*form.RadioButton1, {8, 24, 105, 17}, true);
  EXPECT_EQ(form.RadioButton1->caption(), "Size");
  EXPECT_TRUE(form.RadioButton1->checked());
  expectControl(*form.RadioButton2, {8, 48, 105, 17}, true);
  EXPECT_EQ(form.RadioButton2->caption(), "Number of files");
  EXPECT_FALSE(form.RadioButton2->checked());
  expectControl(*form.NumEdit1, {112, 24, 41, 21}, true);
  EXPECT_EQ(form.NumEdit1->maxLength(), 5);
  expectControl(*form.ComboBox1, {152, 24, 57, 21}, true);
  EXPECT_EQ(form.ComboBox1->items(), (std::vector<std::string>{"bytes", "Kbytes", "Mbytes"}));
  expectControl(*form.NumEdit2, {112, 48, 97, 21}, false);
  EXPECT_EQ(form.NumEdit2->maxLength(), 5);
  EXPECT_EQ(form.NumEdit2->text(), "");
}

TEST_F(MainWindow, OptionsMergerStatisticsAndSplitButton) {
  EXPECT_EQ(form.GroupBox3->caption(), "Options");
  expectControl(*form.GroupBox3, {8, 176, 217, 100}, true);
  expectControl(*form.CheckBox1, {16, 24, 177, 17}, false);
  EXPECT_EQ(form.CheckBox1->caption(), "Compress data");
  EXPECT_TRUE(form.CheckBox1->checked());
  expectControl(*form.CheckBox2, {16, 48, 193, 17}, true);
  EXPECT_EQ(form.CheckBox2->caption(), "Delete Input file after split");
  EXPECT_FALSE(form.CheckBox2->checked());
  expectControl(*form.CheckBox3, {16, 72, 177, 17}, true);
  EXPECT_EQ(form.CheckBox3->caption(), "Browse destination folder");
  EXPECT_TRUE(form.CheckBox3->checked());

  EXPECT_EQ(form.GroupBox5->caption(), "Choose merger");
  expectControl(*form.GroupBox5, {232, 88, 217, 81}, true);
  expectControl(*form.RadioButton3, {8, 24, 161, 17}, false);
  EXPECT_EQ(form.RadioButton3->caption(), "Create .BAT file merger");
  EXPECT_FALSE(form.RadioButton3->checked());
  expectControl(*form.RadioButton4, {8, 48, 161, 17}, true);
  EXPECT_EQ(form.RadioButton4->caption(), "Create .EXE file merger");
  EXPECT_TRUE(form.RadioButton4->checked());

  EXPECT_EQ(form.GroupBox4->caption(), "Statistics");
  expectControl(*form.GroupBox4, {232, 176, 217, 100}, true);
  expectLabel(*form.Label1, 16, 24, "Input file size: ???");
  EXPECT_EQ(form.Label3->bounds().top, 72);

  expectControl(*form.Button3, {192, 280, 75, 25}, false);
  EXPECT_EQ(form.Button3->caption(), "Fennock!");
}

TEST_F(MainWindow, FormCreateSetsSizeWithTheLocaleSeparatorAndSelectsMbytes) {
  EXPECT_EQ(form.NumEdit1->text(), "1" + platform::decimalSeparator() + "38");
  EXPECT_EQ(form.ComboBox1->itemIndex(), 2);
  EXPECT_EQ(form.ComboBox1->text(), "Mbytes");
}

TEST(MainWindowLocale, FormCreateUsesACommaWhereTheLocaleDoes) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale";
  ui::ScriptedDialogs answers(false);
  ui::ScopedDialogs scoped(answers);
  TForm1 form;
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(form.NumEdit1->text(), "1,38");
}

TEST_F(MainWindow, TabFromTheInputButtonVisitsGroupsInTabOrder) {
  std::vector<ui::Control*> expected{form.Button1,      form.CheckBox2,    form.CheckBox3,
                                     form.RadioButton4, form.RadioButton1, form.NumEdit1,
                                     form.ComboBox1};
  EXPECT_EQ(form.tabSequence(), expected);
  EXPECT_EQ(form.nextTabStop(form.Button1), form.CheckBox2);
  EXPECT_EQ(form.nextTabStop(form.ComboBox1), form.Button1);

  // With every control enabled: input group, options, split button, merger, output group.
  form.Button2->setEnabled(true);
  form.CheckBox1->setEnabled(true);
  form.Button3->setEnabled(true);
  expected = {form.Button1, form.Button2,      form.CheckBox1,    form.CheckBox2, form.CheckBox3,
              form.Button3, form.RadioButton4, form.RadioButton1, form.NumEdit1,  form.ComboBox1};
  EXPECT_EQ(form.tabSequence(), expected);
}

TEST_F(MainWindow, MenuEntries) {
  auto captions = [](const std::vector<ui::MenuItem*>& items) {
    std::vector<std::string> out;
    for (auto* item : items) out.push_back(item->caption());
    return out;
  };
  EXPECT_EQ(captions(form.MainMenu1->items()),
            (std::vector<std::string>{"File", "Options", "Help", "Exit"}));
  EXPECT_EQ(captions(form.File1->items()),
            (std::vector<std::string>{"Input file", "Join pieces...", "Exit"}));
  const bool windows = TForm1::hasMerger(job::MergerSystem::Windows);
  EXPECT_EQ(captions(form.Options1->items()),
            (std::vector<std::string>{
                "Write checksum file (.sha256)", "Also write a shell-script merger (.sh)",
                windows ? "Merger for Windows" : "Merger for Windows (not in this build)",
                "Merger for Linux"}));
  for (const ui::MenuItem* item : {form.Checksumfile1, form.Shellmerger1}) {
    EXPECT_TRUE(item->checkable());
    EXPECT_FALSE(item->checked()) << "off as the window starts with no settings";
  }
  // The mergers for this system by default; the other only where the build carries it.
  EXPECT_TRUE(form.Mergerforwindows1->radio() && form.Mergerforlinux1->radio());
  EXPECT_TRUE(form.Mergerforlinux1->checked());
  EXPECT_FALSE(form.Mergerforwindows1->checked());
  EXPECT_EQ(form.Mergerforwindows1->enabled(), windows);
  EXPECT_EQ(captions(form.Help1->items()),
            (std::vector<std::string>{"Help index", "License", "Support", "About Fennock!"}));
  EXPECT_FALSE(form.Exit2->isSubmenu());
  EXPECT_EQ(form.Exit2->parentItem(), nullptr);
}

using MainWindowDeathTest = MainWindow;

TEST_F(MainWindowDeathTest, BothExitEntriesEndTheProgramWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(form.Exit2->click(), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(form.Exit1->click(), ::testing::ExitedWithCode(0), "");
}
