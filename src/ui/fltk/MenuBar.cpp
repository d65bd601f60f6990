// The FLTK menu bar: the entries are handed to FLTK as a static menu array, so captions are
// never read as FLTK paths.
#include <FL/Fl.H>

#include "ui/Events.h"
#include "ui/Form.h"
#include "ui/Geometry.h"
#include "ui/MainMenu.h"

namespace ui {

MainMenu::MainMenu(Form& form) : Fl_Menu_Bar(0, 0, form.w(), kMenuBarHeight) {
  form.insert(*this, 0);
  box(FL_FLAT_BOX);
  textfont(FL_HELVETICA);
  textsize(kFontSize);
}

void MainMenu::appendTo(NativeMenuArray& out, const std::vector<MenuItem*>& entries) {
  for (MenuItem* item : entries) {
    Fl_Menu_Item entry{};
    entry.text = item->m_menuText.c_str();
    entry.callback_ = chosen;
    entry.user_data_ = item;
    entry.labelfont_ = FL_HELVETICA;
    entry.labelsize_ = kFontSize;
    if (!item->m_enabled) entry.flags |= FL_MENU_INACTIVE;
    if (item->m_checkable) entry.flags |= FL_MENU_TOGGLE;
    if (item->m_radio) entry.flags |= FL_MENU_RADIO;
    if (item->m_dividerAfter) entry.flags |= FL_MENU_DIVIDER;
    if (item->m_checked) entry.flags |= FL_MENU_VALUE;
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

int MainMenu::handle(int event) {
  if (event == FL_SHORTCUT && active_r() && menu() && menu()->text) {
    const int modifiers = Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META);
    if (Fl::event_key() == FL_F + 10 && modifiers == 0) {
      picked(menu()->pulldown(x(), y(), w(), h(), menu(), this, nullptr, 1));
      return 1;
    }
    // FLTK opens a submenu by its access key; a command on the bar is chosen the same way.
    if (modifiers == FL_ALT) {
      const Fl_Menu_Item* entry = menu()->find_shortcut(nullptr, true);
      if (entry && !entry->submenu()) {
        picked(entry);
        return 1;
      }
    }
  }
  return Fl_Menu_Bar::handle(event);
}

void MainMenu::chosen(NativeWidget* widget, void* data) {
  auto* item = static_cast<MenuItem*>(data);
  // FLTK has already turned the mark over in its array; the entry follows it.
  if (item->m_radio) {
    item->markRadio();
  } else if (item->m_checkable) {
    const Fl_Menu_Item* picked = static_cast<MainMenu*>(widget)->mvalue();
    if (picked && picked->user_data_ == item) item->m_checked = picked->value() != 0;
  }
  runEvent(item->onClick);
}

}  // namespace ui
