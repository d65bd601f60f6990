// Drop-down lists on Fl_Choice, whose own menu handling picks items on screen.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

#include "ui/ComboBox.h"
#include "ui/Events.h"

namespace ui {

namespace {

// Fl_Menu_::add reads "/" as a submenu and "&" as a shortcut mark; items are plain text.
std::string menuLabel(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '/' || c == '\\') out += '\\';
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

}  // namespace

ComboBox::ComboBox(Container& parent, const Rect& bounds, const std::vector<std::string>& items,
                   int tabOrder)
    : Fl_Choice(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  textfont(FL_HELVETICA);
  textsize(kFontSize);
  down_box(FL_BORDER_BOX);
  setItems(items);
  callback([](Fl_Widget* w, void*) { runEvent(static_cast<ComboBox*>(w)->onChange); });
}

void ComboBox::setItems(const std::vector<std::string>& items) {
  clear();
  m_items = items;
  for (const std::string& item : m_items) add(menuLabel(item).c_str());
  setItemIndex(kNoItem);
}

int ComboBox::itemIndex() const { return mvalue() ? value() : kNoItem; }

void ComboBox::setItemIndex(int index) {
  if (index < 0 || index >= int(m_items.size()))
    Fl_Choice::value(static_cast<const Fl_Menu_Item*>(nullptr));
  else
    Fl_Choice::value(index);
  redraw();
}

int ComboBox::handle(int event) {
  // FLTK opens its list over the field, the chosen item on top of it; a drop-down list opens
  // below its field. Everything else is FLTK's handling.
  const bool opens =
      event == FL_PUSH || (event == FL_KEYBOARD && Fl::event_key() == ' ' &&
                           !(Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)));
  if (!opens || menu() == nullptr || menu()->text == nullptr) return Fl_Choice::handle(event);
  if (Fl::visible_focus()) Fl::focus(this);
  dropDown();
  return 1;
}

void ComboBox::dropDown() {
  // The list is white, as the field's own list box is.
  Fl_Color face = color();
  color(FL_BACKGROUND2_COLOR);
  // With no item to line up, FLTK places the list right under the field (above it only where
  // the screen ends).
  const Fl_Menu_Item* chosen = menu()->pulldown(x(), y(), w(), h(), nullptr, this);
  color(face);
  if (chosen == nullptr || chosen->submenu()) return;
  if (chosen != mvalue()) redraw();
  picked(chosen);
}

}  // namespace ui
