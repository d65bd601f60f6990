// The application object: its title, the forms it owns (the first is the main form), the
// message loop and the default error handler.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Form.h"

namespace ui {

class Application {
 public:
  static Application& instance();

  const std::string& title() const { return m_title; }
  void setTitle(const std::string& title) { m_title = title; }

  // Opens the display and switches to on-screen dialogs and text metrics. False (and nothing
  // changed) when no display can be opened.
  bool initializeScreen();
  bool onScreen() const { return m_onScreen; }
  // Sends stdout and stderr to the terminal that started the program, for a front end that
  // answers there. A windowed Win32 program has no console of its own; elsewhere the streams
  // are the terminal's already.
  static void attachTerminal();

  // Creates a form owned by the application; the first one created is the main form.
  template <class T, class... Args>
  T& createForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T& result = *form;
    adoptForm(std::move(form));
    return result;
  }
  Form* mainForm() const { return m_forms.empty() ? nullptr : m_forms.front().get(); }

  // Shows the main form and runs the message loop until it closes; the process's exit status.
  int run();
  // Handles the pending events and returns (the windows' "process messages").
  void processMessages();
  // Ends the program at once with `status`: the forms are destroyed (their components clean
  // up), then the process exits normally. No close handling runs.
  [[noreturn]] void terminate(int status);
  void destroyForms();

  // The default error handler: a message box with the error icon, captioned with the title,
  // whose text is the error's message followed by ".".
  void handleException(std::exception_ptr error);
  // The text that handler shows for `error`.
  static std::string errorText(std::exception_ptr error);

 private:
  Application() = default;
  // On-screen dialogs and text metrics, once the back end has its display.
  void useScreen();
  void adoptForm(std::unique_ptr<Form> form);

  std::string m_title;
  bool m_onScreen = false;
  std::vector<std::unique_ptr<Form>> m_forms;
};

}  // namespace ui
