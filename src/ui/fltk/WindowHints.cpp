// Window-manager hints through the X properties that window managers read: the Motif hints for
// the frame's functions and decorations, the window type, and WM_TRANSIENT_FOR.
#include "ui/WindowHints.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace ui {

namespace {

// The Motif hints record: five 32-bit items (longs on the client side).
constexpr unsigned long kMwmHintsFunctions = 1UL << 0;
constexpr unsigned long kMwmHintsDecorations = 1UL << 1;
constexpr unsigned long kMwmFuncMove = 1UL << 2;
constexpr unsigned long kMwmFuncMinimize = 1UL << 3;
constexpr unsigned long kMwmFuncClose = 1UL << 5;
constexpr unsigned long kMwmDecorBorder = 1UL << 1;
constexpr unsigned long kMwmDecorTitle = 1UL << 3;
constexpr unsigned long kMwmDecorMenu = 1UL << 4;
constexpr unsigned long kMwmDecorMinimize = 1UL << 5;
constexpr int kMwmHintsItems = 5;

Atom atom(const char* name) { return XInternAtom(fl_display, name, False); }

}  // namespace

void applyWindowHints(Fl_Window& window, const WindowHints& hints) {
  if (!window.shown() || fl_display == nullptr) return;
  Window xid = fl_xid(&window);

  // The title bar always stays (the caption is shown and the window can be moved); the system
  // menu brings the close box, as it does on the windows this program was made for.
  unsigned long functions = kMwmFuncMove;
  unsigned long decorations = kMwmDecorBorder | kMwmDecorTitle;
  if (hints.icons != BorderIcons::NoIcons) {
    functions |= kMwmFuncClose;
    decorations |= kMwmDecorMenu;
  }
  if (hints.icons == BorderIcons::SystemMenuAndMinimize) {
    functions |= kMwmFuncMinimize;
    decorations |= kMwmDecorMinimize;
  }
  long motif[kMwmHintsItems] = {long(kMwmHintsFunctions | kMwmHintsDecorations), long(functions),
                                long(decorations), 0, 0};
  Atom motifAtom = atom("_MOTIF_WM_HINTS");
  XChangeProperty(fl_display, xid, motifAtom, motifAtom, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(motif), kMwmHintsItems);

  Fl_Window* owner = hints.owner;
  if (owner != nullptr && owner->shown())
    XSetTransientForHint(fl_display, xid, fl_xid(owner));
  else
    XDeleteProperty(fl_display, xid, XA_WM_TRANSIENT_FOR);

  Atom type = atom(owner != nullptr ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL");
  XChangeProperty(fl_display, xid, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
  XFlush(fl_display);
}

}  // namespace ui
