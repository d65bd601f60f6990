// Forms: window setup, the Windows tab order and closing.
#include "ui/Form.h"

#include <FL/Fl.H>

#include <algorithm>

#include "ui/Control.h"

namespace ui {

namespace {

// FLTK adds every new widget to its "current group", which may be a group that no longer
// exists; forms and controls are placed explicitly, so no current group may linger.
int withoutCurrentGroup(int value) {
  Fl_Group::current(nullptr);
  return value;
}

void collectTabStops(Container& container, std::vector<Control*>& out) {
  for (Control* control : container.controls()) {
    if (!control->reachable()) continue;
    if (Container* inner = control->asContainer())
      collectTabStops(*inner, out);
    else if (control->tabStop())
      out.push_back(control);
  }
}

}  // namespace

Form::Form(const std::string& caption, int left, int top, int clientWidth, int clientHeight,
           bool withMenu)
    : Fl_Double_Window(withoutCurrentGroup(left), top, clientWidth,
                       clientHeight + (withMenu ? kMenuBarHeight : 0)),
      m_withMenu(withMenu) {
  end();  // children are placed explicitly, never through FLTK's current group
  Fl_Group::current(nullptr);
  copy_label(caption.c_str());
  labelfont(FL_HELVETICA);
  labelsize(kFontSize);
  // Single fixed border: the size cannot change.
  size_range(w(), h(), w(), h());
  callback(closeCallback);
}

Form::~Form() {
  // Children go while this form (their container) is whole.
  clear();
}

std::string Form::caption() const { return label() ? label() : ""; }

void Form::setCaption(const std::string& caption) { copy_label(caption.c_str()); }

void Form::setEnabled(bool enabled) {
  if (enabled == this->enabled()) return;
  if (enabled)
    activate();
  else
    deactivate();
}

std::vector<Control*> Form::tabSequence() {
  std::vector<Control*> stops;
  collectTabStops(*this, stops);
  return stops;
}

Control* Form::nextTabStop(Control* from, bool backwards) {
  std::vector<Control*> stops = tabSequence();
  if (stops.empty()) return nullptr;
  auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) return backwards ? stops.back() : stops.front();
  std::size_t i = std::size_t(at - stops.begin());
  std::size_t n = stops.size();
  return stops[backwards ? (i + n - 1) % n : (i + 1) % n];
}

Control* Form::focusedControl() {
  Fl_Widget* focus = Fl::focus();
  // Any control, stop or not, may hold the focus after a click.
  std::vector<Container*> pending{this};
  while (!pending.empty()) {
    Container* c = pending.back();
    pending.pop_back();
    for (Control* control : c->controls()) {
      // A group box holds the focus only through one of its controls.
      if (Container* inner = control->asContainer()) {
        pending.push_back(inner);
        continue;
      }
      for (Fl_Widget* w = focus; w; w = w->parent())
        if (w == &control->widget()) return control;
    }
  }
  return nullptr;
}

void Form::close() {
  hide();
  if (!m_isMain) return;
  // The main form's close ends the program: every other window goes too, so the loop ends.
  while (Fl::first_window()) Fl::first_window()->hide();
}

void Form::setBorderIcons(BorderIcons icons) {
  m_hints.icons = icons;
  m_hasHints = true;
}

void Form::setOwner(Fl_Window* owner) {
  m_hints.owner = owner;
  m_hasHints = true;
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

void Form::closeCallback(Fl_Widget* widget, void*) {
  // Escape does not close a window; the close box and the system menu do.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  static_cast<Form*>(widget)->close();
}

}  // namespace ui
