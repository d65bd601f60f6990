// The application object.
#include "ui/Application.h"

#include <cstdlib>
#include <stdexcept>

#include "ui/Dialogs.h"
#include "ui/TextMeasure.h"

namespace ui {

Application& Application::instance() {
  static Application application;
  return application;
}

void Application::useScreen() {
  static ScreenDialogs screenDialogs;
  static ScreenTextMeasure screenMeasure;
  setDialogs(&screenDialogs);
  setTextMeasure(&screenMeasure);
  m_onScreen = true;
}

void Application::adoptForm(std::unique_ptr<Form> form) {
  form->setMainForm(m_forms.empty());
  m_forms.push_back(std::move(form));
}

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
