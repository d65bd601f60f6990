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

void Form::showNonModal() { show(); }

void Form::setShownState(bool shown) { setVisibleState(shown); }

void Form::centerOnScreen(int, int) {
  // The whole window, its frame included, as the system sizes it.
  RECT outer{0, 0, w(), h()};
  if (hwnd()) GetWindowRect(static_cast<HWND>(hwnd()), &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  position((GetSystemMetrics(SM_CXSCREEN) - width) / 2,
           (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

// Tab and Enter are the dialog manager's (the message loop); Escape comes here from it.
int Form::handle(int event) {
  if (event == kEventEscape) {
    if (onClose) onClose();
    return 1;
  }
  return NativeWindow::handle(event);
}

void Form::closeCallback(NativeWidget* widget, void*) {
  auto* form = static_cast<Form*>(widget);
  if (form->onClose) return form->onClose();
  form->close();
}

}  // namespace ui
