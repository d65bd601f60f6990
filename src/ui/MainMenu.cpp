// Main menus: the entries are kept as a tree and handed to FLTK as a static menu array, so
// captions are never read as FLTK paths.
#include "ui/MainMenu.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cctype>

#include "ui/Events.h"
#include "ui/Form.h"
#include "ui/Geometry.h"

namespace ui {

namespace {

// FLTK underlines the letter after "&" and shows "&&" as "&".
std::string markedText(const std::string& caption, char accessKey) {
  std::string text;
  bool marked = accessKey == 0;
  const int key = std::tolower(static_cast<unsigned char>(accessKey));
  for (char c : caption) {
    if (c == '&') text += '&';
    if (!marked && std::tolower(static_cast<unsigned char>(c)) == key) {
      text += '&';
      marked = true;
    }
    text += c;
  }
  return text;
}

}  // namespace

MenuItem::MenuItem(MainMenu& menu, MenuItem* parent, std::string caption, char accessKey)
    : m_menu(menu),
      m_parent(parent),
      m_caption(std::move(caption)),
      m_menuText(markedText(m_caption, accessKey)) {}

void MenuItem::setEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  m_menu.rebuild();
}

void MenuItem::setChecked(bool checked) {
  if (checked == m_checked) return;
  if (m_radio && checked) return markRadio();
  m_checked = checked;
  m_menu.rebuild();
}

std::vector<MenuItem*> MenuItem::radioRun() {
  const std::vector<MenuItem*>& siblings = m_parent ? m_parent->m_children : m_menu.items();
  std::vector<MenuItem*> run;
  const auto endOfRun = [&] {
    if (std::find(run.begin(), run.end(), this) != run.end()) return true;
    run.clear();
    return false;
  };
  for (MenuItem* item : siblings) {
    if (!item->m_radio) {
      if (endOfRun()) break;
      continue;
    }
    run.push_back(item);
    if (item->m_dividerAfter && endOfRun()) break;
  }
  return run;
}

void MenuItem::markRadio() {
  for (MenuItem* item : radioRun()) item->m_checked = item == this;
  m_menu.rebuild();
}

void MenuItem::click() {
  if (!m_menu.active_r() || isSubmenu()) return;
  for (const MenuItem* item = this; item; item = item->m_parent)
    if (!item->m_enabled) return;
  if (m_radio)
    markRadio();
  else if (m_checkable)
    setChecked(!m_checked);
  runEvent(onClick);
}

MainMenu::MainMenu(Form& form) : Fl_Menu_Bar(0, 0, form.w(), kMenuBarHeight) {
  form.insert(*this, 0);
  box(FL_FLAT_BOX);
  textfont(FL_HELVETICA);
  textsize(kFontSize);
}

MenuItem* MainMenu::add(MenuItem* parent, const std::string& caption, char accessKey) {
  m_all.push_back(std::unique_ptr<MenuItem>(new MenuItem(*this, parent, caption, accessKey)));
  MenuItem* item = m_all.back().get();
  (parent ? parent->m_children : m_topLevel).push_back(item);
  rebuild();
  return item;
}

MenuItem* MainMenu::addCheckItem(MenuItem* parent, const std::string& caption, char accessKey) {
  MenuItem* item = add(parent, caption, accessKey);
  item->m_checkable = true;
  rebuild();
  return item;
}

MenuItem* MainMenu::addRadioItem(MenuItem* parent, const std::string& caption, char accessKey) {
  MenuItem* item = add(parent, caption, accessKey);
  item->m_radio = true;
  rebuild();
  return item;
}

void MainMenu::addDivider(MenuItem* parent) {
  const std::vector<MenuItem*>& entries = parent ? parent->m_children : m_topLevel;
  if (entries.empty()) return;
  entries.back()->m_dividerAfter = true;
  rebuild();
}

void MainMenu::appendTo(std::vector<Fl_Menu_Item>& out, const std::vector<MenuItem*>& entries) {
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

void MainMenu::chosen(Fl_Widget* widget, void* data) {
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
