// A form: a top-level window with a fixed client area below its optional main menu, built
// from its window description in code. It can be built and driven without a display.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "NativeWidgets.h"
#include "ui/Container.h"
#include "ui/WindowHints.h"

namespace ui {

class MainMenu;

// Height of the menu bar above the client area.
inline constexpr int kMenuBarHeight = 20;

class Form : public NativeWindow, public Container {
 public:
  // `left`, `top`: screen position; `clientWidth` x `clientHeight`: the client area, which the
  // menu bar (when the form has one) does not count.
  Form(const std::string& caption, int left, int top, int clientWidth, int clientHeight,
       bool withMenu);
  ~Form() override;

  std::string caption() const;
  void setCaption(const std::string& caption);

  // Disabling a form refuses all input to it (and greys it).
  bool enabled() const { return active() != 0; }
  void setEnabled(bool enabled);

  int clientWidth() const { return w(); }
  int clientHeight() const { return h() - menuHeight(); }
  // The fixed client height changes only by program (the merger grows while it merges).
  void setClientHeight(int height);
  int menuHeight() const { return m_withMenu ? kMenuBarHeight : 0; }

  // The controls Tab visits, in order: reachable tab stops, group boxes entered in place.
  std::vector<Control*> tabSequence();
  // The control that Tab moves to from `from` (the first one when `from` is not a stop).
  Control* nextTabStop(Control* from, bool backwards = false);
  // The control that holds the keyboard focus, if any.
  Control* focusedControl();

  // Hides the form; the main form's close ends the message loop.
  void close();
  void setMainForm(bool isMain) { m_isMain = isMain; }

  // What the window manager is asked for on every show; a form that sets neither keeps what
  // the back end asks for by default.
  void setBorderIcons(BorderIcons icons);
  // The window this form is a dialog of, kept below it.
  void setOwner(NativeTopLevel* owner);
  // The native show, then the window hints.
  void show() override;
  // Shows the form above its owner, which the caller disables, without a loop of its own.
  void showNonModal();
  // Shows the form modally and handles events until it hides: meanwhile the program's other
  // windows take no input. `focus` takes the keyboard first.
  void runModal(Control* focus);
  // Marks the form shown or hidden without showing anything, for forms driven without a
  // display.
  void setShownState(bool shown);
  // Places the form so that its whole window is centred on the screen: on FLTK the window
  // manager's frame is `frameWidth` on each side and `captionHeight` above the client area; the
  // system knows its own.
  void centerOnScreen(int frameWidth = 0, int captionHeight = 0);

  // What the close box and Escape do instead of hiding the form (a dialog's cancel). A form
  // without one hides on its close box and ignores Escape.
  std::function<void()> onClose;

  NativeGroup& group() override { return *this; }
  Form& form() override { return *this; }
  int originX() const override { return 0; }
  int originY() const override { return menuHeight(); }

  int handle(int event) override;

 private:
  static void closeCallback(NativeWidget* widget, void*);

  bool m_withMenu;
  bool m_isMain = false;
  bool m_hasHints = false;
  WindowHints m_hints;
};

}  // namespace ui
