// Main menus: the entries are kept as a tree, which the back end turns into its menu.
#include "ui/MainMenu.h"

#include <algorithm>
#include <cctype>

#include "ui/Events.h"
#include "ui/Form.h"
#include "ui/Geometry.h"

namespace ui {

namespace {

// Menus underline the letter after "&" and show "&&" as "&".
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

}  // namespace ui
