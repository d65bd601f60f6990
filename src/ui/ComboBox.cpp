// Drop-down lists: what the user's pick does, whatever shows the list.
#include "ui/ComboBox.h"

#include "ui/Events.h"

namespace ui {

std::string ComboBox::text() const {
  int index = itemIndex();
  return index == kNoItem ? std::string() : m_items[std::size_t(index)];
}

void ComboBox::pick(int index) {
  if (!reachable() || index < 0 || index >= int(m_items.size())) return;
  runEvent([&] {
    setItemIndex(index);
    if (onChange) onChange();
  });
}

}  // namespace ui
