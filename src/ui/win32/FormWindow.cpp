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

// Left to the default, a window that is activated again gives the focus to its frame, where the
// keys reach nothing but the menu: after a dialog that it owned (the progress dialog, the About
// box) the keyboard would seem dead until a click. Like the system's dialogs, the control that
// had the focus last gets it back (disabling the window took it away), or the first tab stop
// when that one was disabled or hidden meanwhile (the split button after a job).
bool NativeWindow::focusOnActivation() {
  const HWND self = static_cast<HWND>(hwnd());
  HWND focus = static_cast<HWND>(m_lastFocus);
  if (!focus || !IsChild(self, focus) || !IsWindowVisible(focus) || !IsWindowEnabled(focus))
    focus = GetNextDlgTabItem(self, nullptr, FALSE);
  if (!focus || !IsChild(self, focus)) return false;
  SetFocus(focus);
  return true;
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
