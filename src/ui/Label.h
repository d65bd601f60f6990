// A static text label; auto-sized labels take the width of their caption.
#pragma once

#include <string>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

class Label : public NativeBox, public Control {
 public:
  Label(Container& parent, const Rect& bounds, const std::string& caption, bool autoSize = true);

  const std::string& caption() const { return m_caption; }
  void setCaption(const std::string& caption);

  bool autoSize() const { return m_autoSize; }
  void setAutoSize(bool autoSize);

 protected:
  // The text that is drawn; a label shows its caption.
  virtual const std::string& shownText() const { return m_caption; }
  void draw() override;

 private:
  void fitToCaption();
  void repaintParentArea();

  std::string m_caption;
  bool m_autoSize;
};

}  // namespace ui
