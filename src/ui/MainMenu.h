// A form's main menu bar. Entries with children open a submenu; a top-level entry without
// children runs its handler at once, as a menu-bar command. From the keyboard, Alt with an
// entry's access key chooses it on the bar, the access key alone within an open menu, and F10
// opens the first menu.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "NativeWidgets.h"

namespace ui {

class Form;
class MainMenu;

class MenuItem {
 public:
  const std::string& caption() const { return m_caption; }
  MenuItem* parentItem() const { return m_parent; }
  const std::vector<MenuItem*>& items() const { return m_children; }
  bool isSubmenu() const { return !m_children.empty(); }

  bool enabled() const { return m_enabled; }
  void setEnabled(bool enabled);

  // A check entry shows a mark and turns it over each time it is chosen, before onClick runs.
  // Setting the mark by program runs nothing.
  bool checkable() const { return m_checkable; }
  bool checked() const { return m_checked; }
  void setChecked(bool checked);
  // A radio entry belongs to the run of radio entries around it in its menu: choosing it, or
  // checking it by program, marks it and clears the others of the run. Choosing it again leaves
  // it marked.
  bool radio() const { return m_radio; }

  // Chooses the entry as a user would: runs onClick unless it or its menu is disabled.
  void click();

  std::function<void()> onClick;

 private:
  friend class MainMenu;
  MenuItem(MainMenu& menu, MenuItem* parent, std::string caption, char accessKey);

  // The radio run of this entry: the adjacent radio entries of its menu.
  std::vector<MenuItem*> radioRun();
  void markRadio();

  MainMenu& m_menu;
  MenuItem* m_parent;
  std::string m_caption;
  std::string m_menuText;  // the caption as menus read it: the access key marked with "&"
  std::vector<MenuItem*> m_children;
  bool m_enabled = true;
  bool m_checkable = false;
  bool m_checked = false;
  bool m_radio = false;
  bool m_dividerAfter = false;
};

class MainMenu : public NativeMenuBar {
 public:
  explicit MainMenu(Form& form);

  // Adds an entry at the end of the bar (parent nullptr) or of a submenu; `accessKey` is a
  // letter of the caption (either case), or 0.
  MenuItem* add(MenuItem* parent, const std::string& caption, char accessKey = 0);
  // Adds a check entry to a submenu, unchecked.
  MenuItem* addCheckItem(MenuItem* parent, const std::string& caption, char accessKey = 0);
  // Adds a radio entry to a submenu, unmarked; a divider ends a run of them.
  MenuItem* addRadioItem(MenuItem* parent, const std::string& caption, char accessKey = 0);
  // A line after the submenu's last entry so far.
  void addDivider(MenuItem* parent);
  const std::vector<MenuItem*>& items() const { return m_topLevel; }

  // Rebuilds the native menu from the entries; call after adding. This, the constructor and
  // the keys are the back end's part (fltk/ or win32/MenuBar.cpp).
  void rebuild();

  int handle(int event) override;

 private:
  static void chosen(NativeWidget* widget, void* item);
  void appendTo(NativeMenuArray& out, const std::vector<MenuItem*>& entries);

  std::vector<std::unique_ptr<MenuItem>> m_all;
  std::vector<MenuItem*> m_topLevel;
  NativeMenuArray m_array{};
};

}  // namespace ui
