// The application on FLTK: the display, the message loop.
#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>

#include "ui/Application.h"
#include "ui/InputGate.h"

namespace ui {

bool Application::initializeScreen() {
  if (m_onScreen) return true;
  // fl_open_display() ends the process when it fails, so the display is tried first.
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  Display* probe = XOpenDisplay(name);
  if (probe == nullptr) return false;
  XCloseDisplay(probe);
  fl_open_display();
  installInputGate();
  // The windows' button face colour.
  Fl::background(0xD4, 0xD0, 0xC8);
  // Helvetica in its narrow cut keeps the widths of the window descriptions' texts, so labels
  // placed side by side do not run into each other. Without it the usual sans face is used.
  Fl::set_font(FL_HELVETICA, " Nimbus Sans Narrow");
  useScreen();
  return true;
}

void Application::attachTerminal() {}

int Application::run() {
  if (Form* main = mainForm()) main->show();
  return Fl::run();
}

void Application::processMessages() { Fl::check(); }

}  // namespace ui
