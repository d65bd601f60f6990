// The menu bar as the system's own: an HMENU on the form, rebuilt from the entries on every
// change. The system opens it with the mouse, Alt and an access key, and F10.
#include "ui/Form.h"
#include "ui/Geometry.h"
#include "ui/MainMenu.h"

namespace ui {

MainMenu::MainMenu(Form& form) : NativeMenuBar(0, 0, form.w(), kMenuBarHeight) {
  // Held by the form for its enabled state; the bar itself is no window.
  form.insert(*this, 0);
  callback(chosen);
}

void MainMenu::appendTo(NativeMenuArray& out, const std::vector<MenuItem*>& entries) {
  for (MenuItem* item : entries) {
    if (item->isSubmenu()) {
      NativeHandle submenu = addSubmenu(out, item->m_menuText, item->m_enabled);
      appendTo(submenu, item->m_children);
      if (item->m_dividerAfter) NativeMenuBar::addDivider(out);
      continue;
    }
    addCommand(out, item->m_menuText, item,
               {item->m_enabled, item->m_checked, item->m_radio, item->m_dividerAfter});
  }
}

void MainMenu::rebuild() {
  m_array = beginMenu();
  appendTo(m_array, m_topLevel);
  install();
  m_array = nullptr;
}

int MainMenu::handle(int event) { return NativeMenuBar::handle(event); }

void MainMenu::chosen(NativeWidget*, void* data) {
  // The system offers only enabled entries; click() turns the mark over and runs the handler.
  static_cast<MenuItem*>(data)->click();
}

}  // namespace ui
