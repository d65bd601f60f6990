// The FLTK widgets that the controls of this back end are: each control is one of them.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_RGB_Image.H>
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

// Painted widgets draw on what their parent drew.
inline void paintsItself(Fl_Widget& widget) { widget.box(FL_NO_BOX); }

// The pointer events of painted widgets and the state of the event being handled.
inline constexpr int kEventPush = FL_PUSH;
inline constexpr int kEventRelease = FL_RELEASE;
inline constexpr int kEventDrag = FL_DRAG;
inline constexpr int kEventMove = FL_MOVE;
inline constexpr int kEventEnter = FL_ENTER;
inline constexpr int kEventLeave = FL_LEAVE;
inline constexpr int kLeftButton = FL_LEFT_MOUSE;
inline constexpr unsigned char kDamageUser = FL_DAMAGE_USER1;
inline constexpr unsigned char kDamageAll = FL_DAMAGE_ALL;
// What a cursor is made of: an RGBA image.
using NativeCursorImage = Fl_RGB_Image;
inline int eventButton() { return Fl::event_button(); }
// Non-zero when the push being handled is the second of a double click.
inline int eventClicks() { return Fl::event_clicks(); }
// In window coordinates.
inline int eventX() { return Fl::event_x(); }
inline int eventY() { return Fl::event_y(); }
inline bool eventInside(const Fl_Widget& widget) { return Fl::event_inside(&widget) != 0; }

// One-shot timers; repeatTimeout inside the handler keeps the rhythm.
using TimeoutHandler = void (*)(void*);
inline void addTimeout(double seconds, TimeoutHandler handler, void* data) {
  Fl::add_timeout(seconds, handler, data);
}
inline void repeatTimeout(double seconds, TimeoutHandler handler, void* data) {
  Fl::repeat_timeout(seconds, handler, data);
}
inline void removeTimeout(TimeoutHandler handler, void* data) { Fl::remove_timeout(handler, data); }

// A group's children were moved: FLTK's resize must start from the new places.
inline void childrenMoved(Fl_Group& group) { group.init_sizes(); }

// Labels paint their whole area themselves.
inline void makeOpaque(NativeBox& box) { box.box(FL_FLAT_BOX); }

// "MS Sans Serif" is drawn as Helvetica.
inline constexpr int kNativeFont = FL_HELVETICA;
// "Arial", bold, as Helvetica bold.
inline constexpr int kNativeBoldFont = FL_HELVETICA_BOLD;

// FLTK adds every new widget to its "current group", which may be a group that no longer
// exists; controls are placed explicitly, so none may linger.
inline void forgetCurrentGroup() { Fl_Group::current(nullptr); }

// Whether the keyboard focus is in `widget` (on FLTK also in a widget inside it).
bool holdsFocus(const NativeWidget& widget);

}  // namespace ui
