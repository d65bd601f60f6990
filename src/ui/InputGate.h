// Keeps input away from disabled windows. FLTK consults a window's deactivated state only
// when drawing: clicks, keys and shortcuts still reach the widgets of a deactivated window, so
// every event from the display passes this gate first.
#pragma once

class Fl_Widget;

namespace ui {

// Whether `widget` sits in a top-level window that is disabled (and so takes no input).
bool inDisabledWindow(const Fl_Widget* widget);

// Installs the gate as FLTK's event dispatch; once is enough, later calls change nothing.
void installInputGate();

}  // namespace ui
