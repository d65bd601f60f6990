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

  // A word-wrapped label breaks its caption at word boundaries to its width; a centred one
  // centres each line.
  enum class Alignment { Left, Center };
  void setTextLayout(Alignment alignment, bool wordWrap);
  Alignment alignment() const { return m_alignment; }
  bool wordWrap() const { return m_wordWrap; }

 protected:
  // The text that is drawn; a label shows its caption.
  virtual const std::string& shownText() const { return m_caption; }
  void draw() override;

 private:
  void fitToCaption();
  void repaintParentArea();
  // Hands the layout to the native label (win32/) or repaints (fltk/).
  void applyTextLayout();

  std::string m_caption;
  bool m_autoSize;
  Alignment m_alignment = Alignment::Left;
  bool m_wordWrap = false;
};

}  // namespace ui
