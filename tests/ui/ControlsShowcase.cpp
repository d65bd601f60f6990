// A form with every Win32 control of the main window, the folder browser's button and a
// blinking lamp, shown until it is closed: for looking at the back end on a screen.
#include <windows.h>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/MainMenu.h"
#include "ui/RadioButton.h"
#include "widgets/BrowseFolder.h"
#include "widgets/FxLabel.h"
#include "widgets/FxUrlLabel.h"
#include "widgets/HandCursors.h"
#include "widgets/Led.h"
#include "widgets/NumEdit.h"

int main() {
  widgets::installHandCursors();
  ui::Application& app = ui::Application::instance();
  app.initializeScreen();
  ui::ScreenDialogs screen;
  ui::ScopedDialogs dialogs(screen);
  ui::Form form("Controls", 40, 40, 360, 220, true);
  form.setMainForm(true);
  ui::MainMenu menu(form);
  ui::MenuItem* file = menu.add(nullptr, "File", 'F');
  ui::MenuItem* exit = menu.add(file, "Exit", 'x');
  ui::MenuItem* options = menu.add(nullptr, "Options", 'O');
  menu.addCheckItem(options, "Checksum file", 'C')->setChecked(true);
  menu.addDivider(options);
  menu.addRadioItem(options, "Merger for Windows", 'W')->setChecked(true);
  menu.addRadioItem(options, "Merger for Linux", 'L');
  exit->onClick = [&] { form.close(); };

  ui::GroupBox sizes(form, {8, 4, 170, 100}, "Piece size", 0);
  ui::RadioButton bySize(sizes, {8, 18, 120, 17}, "Size of pieces", true, 0);
  ui::RadioButton byCount(sizes, {8, 38, 120, 17}, "Number of pieces", false, 1);
  widgets::TNumEdit size(sizes, {8, 62, 80, 21}, "1.44", 2);
  ui::ComboBox unit(sizes, {94, 62, 68, 21}, {"bytes", "Kbytes", "Mbytes"}, 3);
  unit.setItemIndex(2);
  ui::GroupBox merger(form, {186, 4, 166, 60}, "Merger", 1);
  ui::RadioButton exe(merger, {8, 18, 100, 17}, ".EXE", true, 0);
  ui::RadioButton bat(merger, {8, 36, 100, 17}, ".BAT", false, 1);
  ui::CheckBox compress(form, {186, 72, 160, 17}, "Compress", true, 2);
  ui::Label label(form, {8, 112, 60, 13}, "Destination:");
  widgets::TBrowseFolder browser;
  browser.setShowPathInStatusArea(true);
  ui::Button browse(form, {8, 130, 75, 25}, "Browse...", 3);
  browse.onClick = [&] {
    if (browser.Execute()) label.setCaption(browser.Directory());
  };
  ui::Button split(form, {186, 130, 75, 25}, "Split", 4);
  widgets::TLED lamp(300, 160, 17, 17);
  form.insert(lamp, form.children());
  lamp.setColor(widgets::Green);
  lamp.setBlinking(true);
  form.show();
  widgets::fx::TFxLabel turned(320, 60, 30, 120, "Turned text", false);
  form.insert(turned, form.children());
  turned.setAngle(90);
  widgets::fx::TFxUrlLabel link(8, 200, 200, 15, "https://fennock.example/");
  form.insert(link, form.children());
  link.setURL("https://fennock.example/");
  return app.run();
}
