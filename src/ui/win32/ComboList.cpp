// Drop-down lists as the system's COMBOBOX, which opens its list and reports the user's pick.
#include "ui/ComboBox.h"
#include "ui/Events.h"

namespace ui {

ComboBox::ComboBox(Container& parent, const Rect& bounds, const std::vector<std::string>& items,
                   int tabOrder)
    : NativeChoice(0, 0, bounds.width, bounds.height), Control(*this, parent, bounds, tabOrder) {
  setItems(items);
  callback([](NativeWidget* w, void*) { runEvent(static_cast<ComboBox*>(w)->onChange); });
}

void ComboBox::setItems(const std::vector<std::string>& items) {
  m_items = items;
  NativeChoice::setItems(m_items);
}

int ComboBox::itemIndex() const { return selected(); }

void ComboBox::setItemIndex(int index) { select(index); }

int ComboBox::handle(int event) { return NativeChoice::handle(event); }

}  // namespace ui
