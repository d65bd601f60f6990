// A drop-down list. Its change handler runs when the user picks an item; selecting an item by
// program runs nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

inline constexpr int kNoItem = -1;

class ComboBox : public NativeChoice, public Control {
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

  // The back end's part (fltk/ or win32/ComboList.cpp): the list and its keys.
  int handle(int event) override;

 private:
  // Opens the list below the field and takes the user's pick (FLTK, whose list would cover
  // the field).
  void dropDown();

  std::vector<std::string> m_items;
};

}  // namespace ui
