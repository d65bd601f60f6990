// A drop-down list. Its change handler runs when the user picks an item; selecting an item by
// program runs nothing.
#pragma once

#include <FL/Fl_Choice.H>

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

inline constexpr int kNoItem = -1;

class ComboBox : public Fl_Choice, public Control {
 public:
  ComboBox(Container& parent, const Rect& bounds, const std::vector<std::string>& items,
           int tabOrder);

  const std::vector<std::string>& items() const { return m_items; }
  void setItems(const std::vector<std::string>& items);

  // The selected index, kNoItem when none is selected.
  int itemIndex() const;
  void setItemIndex(int index);
  // The selected item's text, empty when none is selected.
  std::string text() const;

  // Picks an item as the user would: runs onChange; nothing happens unless it is reachable.
  void pick(int index);

  std::function<void()> onChange;

  int handle(int event) override;

 private:
  // Opens the list below the field and takes the user's pick.
  void dropDown();

  std::vector<std::string> m_items;
};

}  // namespace ui
