// A single-line edit. Its change handler runs whenever the text changes: by typing, and when
// the program sets a different text.
#pragma once

#include <functional>
#include <string>

#include "NativeWidgets.h"
#include "ui/Control.h"

namespace ui {

// Typed characters handed to Edit::keyPress; a key replaced by kRejectedChar is not inserted.
inline constexpr char kRejectedChar = 15;
inline constexpr char kBackspaceChar = 8;
inline constexpr char kEnterChar = 13;
inline constexpr char kEscapeChar = 27;

class Edit : public NativeInput, public Control {
 public:
  Edit(Container& parent, const Rect& bounds, const std::string& text, int tabOrder);

  std::string text() const { return value() ? value() : ""; }
  // Runs onChange when the text differs; an exception of the handler reaches the caller.
  void setText(const std::string& text);

  // The most characters a user can type; 0 for no limit. The program's setText is not limited.
  int maxLength() const { return m_maxLength; }
  void setMaxLength(int maxLength);

  // Shows `mask` in place of every character (0 shows the text); a masked text cannot be copied
  // out of the edit.
  void setPasswordChar(char mask);
  char passwordChar() const { return m_passwordChar; }

  // Types `characters` one by one as a user would, each through keyPress and the length limit;
  // nothing happens unless the edit is reachable. Backspace, Enter and Escape may be included.
  void type(const std::string& characters);

  std::function<void()> onChange;

  // Typed keys reach keyPress here (fltk/ or win32/EditKeys.cpp).
  int handle(int event) override;

 protected:
  // Sees every typed character before the edit inserts it and may replace it; kRejectedChar
  // refuses it. Ctrl+letter arrives as its control code (Ctrl+V as 22). A character of several
  // bytes (typed on a display) arrives as its first byte, 0x80 or above; any change refuses it.
  virtual void keyPress(char& key) { (void)key; }
  // A masked edit draws its mask characters itself (fltk/EditDraw.cpp); the system's edit
  // masks by itself.
  void draw() override;

 private:
  // Hands the mask to the native edit.
  void applyPasswordChar();
  // One typed character after keyPress; true when the edit used it.
  bool typeChar(char key);

  int m_maxLength = 0;
  char m_passwordChar = 0;
  int m_maskScroll = 0;  // pixels of the masked text scrolled out on the left
};

}  // namespace ui
