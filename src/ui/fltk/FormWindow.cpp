// Forms as FLTK windows: setup, focus, the Tab key and closing.
#include <FL/Fl.H>

#include "ui/Control.h"
#include "ui/Form.h"

namespace ui {

namespace {

int withoutCurrentGroup(int value) {
  forgetCurrentGroup();
  return value;
}

}  // namespace

Form::Form(const std::string& caption, int left, int top, int clientWidth, int clientHeight,
           bool withMenu)
    : Fl_Double_Window(withoutCurrentGroup(left), top, clientWidth,
                       clientHeight + (withMenu ? kMenuBarHeight : 0)),
      m_withMenu(withMenu) {
  end();  // children are placed explicitly, never through FLTK's current group
  forgetCurrentGroup();
  copy_label(caption.c_str());
  labelfont(kNativeFont);
  labelsize(kFontSize);
  // Single fixed border: the size cannot change.
  size_range(w(), h(), w(), h());
  callback(closeCallback);
}

Form::~Form() {
  // Children go while this form (their container) is whole.
  clear();
}

void Form::setClientHeight(int height) {
  const int total = height + menuHeight();
  size_range(w(), total, w(), total);
  size(w(), total);
}

bool holdsFocus(const NativeWidget& widget) {
  for (const Fl_Widget* w = Fl::focus(); w; w = w->parent())
    if (w == &widget) return true;
  return false;
}

void Form::close() {
  hide();
  if (!m_isMain) return;
  // The main form's close ends the program: every other window goes too, so the loop ends.
  while (Fl::first_window()) Fl::first_window()->hide();
}

void Form::show() {
  Fl_Double_Window::show();
  if (m_hasHints) applyWindowHints(*this, m_hints);
}

int Form::handle(int event) {
  // Tab walks the whole form in the windows' order rather than FLTK's per-group order.
  if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab &&
      !(Fl::event_state() & (FL_CTRL | FL_ALT))) {
    if (Control* next = nextTabStop(focusedControl(), Fl::event_shift() != 0)) {
      next->widget().take_focus();
      return 1;
    }
  }
  return Fl_Double_Window::handle(event);
}

void Form::showNonModal() {
  set_non_modal();
  show();
}

void Form::runModal(Control* focus) {
  set_modal();
  show();
  if (focus) focus->widget().take_focus();
  while (shown()) Fl::wait();
}

void Form::setShownState(bool shown) {
  if (shown)
    set_visible();
  else
    clear_visible();
}

void Form::centerOnScreen(int frameWidth, int captionHeight) {
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_xywh(sx, sy, sw, sh, 0);
  const int outerWidth = w() + 2 * frameWidth;
  const int outerHeight = h() + 2 * frameWidth + captionHeight;
  position(sx + (sw - outerWidth) / 2 + frameWidth,
           sy + (sh - outerHeight) / 2 + frameWidth + captionHeight);
}

void Form::closeCallback(Fl_Widget* widget, void*) {
  auto* form = static_cast<Form*>(widget);
  if (form->onClose) return form->onClose();
  // Escape does not close a window; the close box and the system menu do.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  form->close();
}

}  // namespace ui
