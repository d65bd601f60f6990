// The FLTK widgets that the controls of this back end are: each control is one of them.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Round_Button.H>

#include <vector>

namespace ui {

using NativeWidget = Fl_Widget;
using NativeGroup = Fl_Group;
using NativeTopLevel = Fl_Window;
using NativeWindow = Fl_Double_Window;
using NativeButton = Fl_Button;
using NativeCheckButton = Fl_Check_Button;
using NativeBox = Fl_Box;
using NativeInput = Fl_Input;
using NativeChoice = Fl_Choice;
using NativeGroupBox = Fl_Group;
using NativeMenuBar = Fl_Menu_Bar;
// The menu array handed to FLTK.
using NativeMenuArray = std::vector<Fl_Menu_Item>;

class NativeRadioButton : public Fl_Round_Button {
 public:
  NativeRadioButton(int x, int y, int w, int h) : Fl_Round_Button(x, y, w, h) {
    type(FL_RADIO_BUTTON);
  }
};

// Edits draw "MS Sans Serif" as Helvetica and call back on every change.
inline void setupNativeInput(Fl_Input& input, int size) {
  input.textfont(FL_HELVETICA);
  input.textsize(size);
  input.when(FL_WHEN_CHANGED);
}

// A group's children were moved: FLTK's resize must start from the new places.
inline void childrenMoved(Fl_Group& group) { group.init_sizes(); }

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
