// A group box: a captioned frame that holds controls; its children are placed relative to it.
#pragma once

#include <string>

#include "NativeWidgets.h"
#include "ui/Container.h"
#include "ui/Control.h"

namespace ui {

class GroupBox : public NativeGroupBox, public Control, public Container {
 public:
  GroupBox(Container& parent, const Rect& bounds, const std::string& caption,
           int tabOrder = kNoTabOrder);
  ~GroupBox() override;

  std::string caption() const { return widgetCaption(*this); }
  void setCaption(const std::string& caption) { setWidgetCaption(*this, caption); }

  void setBounds(const Rect& bounds) override;
  bool tabStop() const override { return false; }
  Container* asContainer() override { return this; }

  NativeGroup& group() override { return *this; }
  Form& form() override { return container().form(); }
  int originX() const override { return x(); }
  int originY() const override { return y(); }

  // The back end's part (fltk/ or win32/GroupBoxFrame.cpp): the frame's drawing and keys.
  int handle(int event) override;

 protected:
  void draw() override;
};

}  // namespace ui
