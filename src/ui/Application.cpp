// The application object.
#include "ui/Application.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>
#include <stdexcept>

#include "ui/Dialogs.h"
#include "ui/InputGate.h"
#include "ui/TextMeasure.h"

namespace ui {

Application& Application::instance() {
  static Application application;
  return application;
}

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
  static ScreenDialogs screenDialogs;
  static FltkTextMeasure screenMeasure;
  setDialogs(&screenDialogs);
  setTextMeasure(&screenMeasure);
  m_onScreen = true;
  return true;
}

void Application::adoptForm(std::unique_ptr<Form> form) {
  form->setMainForm(m_forms.empty());
  m_forms.push_back(std::move(form));
}

int Application::run() {
  if (Form* main = mainForm()) main->show();
  return Fl::run();
}

void Application::processMessages() { Fl::check(); }

void Application::terminate(int status) {
  destroyForms();
  std::exit(status);
}

void Application::destroyForms() {
  // The last created goes first, as the forms were made in dependence order.
  while (!m_forms.empty()) m_forms.pop_back();
}

std::string Application::errorText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return std::string(e.what()) + ".";
  } catch (...) {
    return "Unknown error.";
  }
}

void Application::handleException(std::exception_ptr error) {
  dialogs().message(MessageKind::Error, m_title, errorText(error));
}

}  // namespace ui
