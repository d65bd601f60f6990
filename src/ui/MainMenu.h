// A form's main menu bar. Entries with children open a submenu; a top-level entry without
// children runs its handler at once, as a menu-bar command.
#pragma once

#include <FL/Fl_Menu_Bar.H>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

  // Chooses the entry as a user would: runs onClick unless it or its menu is disabled.
  void click();

  std::function<void()> onClick;

 private:
  friend class MainMenu;
  MenuItem(MainMenu& menu, MenuItem* parent, std::string caption)
      : m_menu(menu), m_parent(parent), m_caption(std::move(caption)) {}

  MainMenu& m_menu;
  MenuItem* m_parent;
  std::string m_caption;
  std::vector<MenuItem*> m_children;
  bool m_enabled = true;
};

class MainMenu : public Fl_Menu_Bar {
 public:
  explicit MainMenu(Form& form);

  // Adds an entry at the end of the bar (parent nullptr) or of a submenu.
  MenuItem* add(MenuItem* parent, const std::string& caption);
  const std::vector<MenuItem*>& items() const { return m_topLevel; }

  // Rebuilds FLTK's menu array from the entries; call after adding.
  void rebuild();

 private:
  static void chosen(Fl_Widget* widget, void* item);
  void appendTo(std::vector<Fl_Menu_Item>& out, const std::vector<MenuItem*>& entries);

  std::vector<std::unique_ptr<MenuItem>> m_all;
  std::vector<MenuItem*> m_topLevel;
  std::vector<Fl_Menu_Item> m_array;
};

}  // namespace ui
