// The FLTK widgets that the controls of this back end are: each control is one of them.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>

namespace ui {

using NativeWidget = Fl_Widget;
using NativeGroup = Fl_Group;
using NativeTopLevel = Fl_Window;
using NativeWindow = Fl_Double_Window;
using NativeButton = Fl_Button;
using NativeCheckButton = Fl_Check_Button;
using NativeBox = Fl_Box;

// Labels paint their whole area themselves.
inline void makeOpaque(NativeBox& box) { box.box(FL_FLAT_BOX); }

// "MS Sans Serif" is drawn as Helvetica.
inline constexpr int kNativeFont = FL_HELVETICA;

// FLTK adds every new widget to its "current group", which may be a group that no longer
// exists; controls are placed explicitly, so none may linger.
inline void forgetCurrentGroup() { Fl_Group::current(nullptr); }

// Whether the keyboard focus is in `widget` (on FLTK also in a widget inside it).
bool holdsFocus(const NativeWidget& widget);

}  // namespace ui
