// Main menus: the entries are kept as a tree and handed to FLTK as a static menu array, so
// captions are never read as FLTK paths.
#include "ui/MainMenu.h"

#include "ui/Events.h"
#include "ui/Form.h"
#include "ui/Geometry.h"

namespace ui {

void MenuItem::setEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  m_menu.rebuild();
}

void MenuItem::click() {
  if (!m_menu.active_r() || isSubmenu()) return;
  for (const MenuItem* item = this; item; item = item->m_parent)
    if (!item->m_enabled) return;
  runEvent(onClick);
}

MainMenu::MainMenu(Form& form) : Fl_Menu_Bar(0, 0, form.w(), kMenuBarHeight) {
  form.insert(*this, 0);
  box(FL_FLAT_BOX);
  textfont(FL_HELVETICA);
  textsize(kFontSize);
}

MenuItem* MainMenu::add(MenuItem* parent, const std::string& caption) {
  m_all.push_back(std::unique_ptr<MenuItem>(new MenuItem(*this, parent, caption)));
  MenuItem* item = m_all.back().get();
  (parent ? parent->m_children : m_topLevel).push_back(item);
  rebuild();
  return item;
}

void MainMenu::appendTo(std::vector<Fl_Menu_Item>& out, const std::vector<MenuItem*>& entries) {
  for (MenuItem* item : entries) {
    Fl_Menu_Item entry{};
    entry.text = item->m_caption.c_str();
    entry.callback_ = chosen;
    entry.user_data_ = item;
    entry.labelfont_ = FL_HELVETICA;
    entry.labelsize_ = kFontSize;
    if (!item->m_enabled) entry.flags |= FL_MENU_INACTIVE;
    if (item->isSubmenu()) {
      entry.flags |= FL_SUBMENU;
      entry.callback_ = nullptr;
      out.push_back(entry);
      appendTo(out, item->m_children);
      out.push_back(Fl_Menu_Item{});  // end of the submenu
    } else {
      out.push_back(entry);
    }
  }
}

void MainMenu::rebuild() {
  std::vector<Fl_Menu_Item> array;
  appendTo(array, m_topLevel);
  array.push_back(Fl_Menu_Item{});
  m_array = std::move(array);
  menu(m_array.data());
  redraw();
}

void MainMenu::chosen(Fl_Widget*, void* item) { runEvent(static_cast<MenuItem*>(item)->onClick); }

}  // namespace ui
