// Forms as top-level windows of the system: setup, focus and closing.
#include <windows.h>

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

Form::Form(const std::string& caption, int left, int top, int clientWidth, int clientHeight,
           bool withMenu)
    : NativeWindow(left, top, clientWidth, clientHeight + (withMenu ? kMenuBarHeight : 0)),
      m_withMenu(withMenu) {
  // The system's menu bar lies outside the client area: the frame grows by it instead.
  reserveMenuBar(menuHeight());
  copy_label(caption.c_str());
  labelsize(kFontSize);
  callback(closeCallback);
}

Form::~Form() { clear(); }

void Form::setClientHeight(int height) { size(w(), height + menuHeight()); }

bool holdsFocus(const NativeWidget& widget) {
  return widget.hwnd() && GetFocus() == static_cast<HWND>(widget.hwnd());
}

void Form::close() {
  hide();
  if (m_isMain) PostQuitMessage(0);
}

void Form::show() {
  // The frame is part of the window before it shows.
  if (m_hasHints) applyWindowHints(*this, m_hints);
  NativeWindow::show();
}

// Tab, Enter and Escape are the dialog manager's (the message loop); nothing is left here.
int Form::handle(int event) { return NativeWindow::handle(event); }

void Form::closeCallback(NativeWidget* widget, void*) { static_cast<Form*>(widget)->close(); }

}  // namespace ui
