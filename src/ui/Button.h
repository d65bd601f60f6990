// A push button; its click handler runs on a user's click, Enter or Space (or click()).
#pragma once

#include <functional>
#include <string>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

class Button : public NativeButton, public Control {
 public:
  Button(Container& parent, const Rect& bounds, const std::string& caption, int tabOrder);

  std::string caption() const { return widgetCaption(*this); }
  void setCaption(const std::string& caption) { setWidgetCaption(*this, caption); }

  // A glyph beside the caption that tells the standard kinds apart whatever their captions say.
  enum class Glyph { Plain, Check, Cross };
  void setGlyph(Glyph glyph);
  Glyph glyph() const { return m_glyph; }
  // The dialog's default button: Enter presses it wherever the focus is, but on another button,
  // which presses itself.
  void setDefault();

  // Clicks the button as a user would: nothing happens unless it is reachable.
  void click();

  std::function<void()> onClick;

  // Enter and Space press the button that has the focus.
  int handle(int event) override;

 protected:
  // A button with a glyph is drawn here on FLTK; the system draws its own buttons.
  void draw() override;

 private:
  Glyph m_glyph = Glyph::Plain;
};

}  // namespace ui
