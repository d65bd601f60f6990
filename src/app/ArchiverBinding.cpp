// The archiver component's ties to the program's dialogs and message processing.
#include "app/ArchiverBinding.h"

#include "app/PasswordDialog.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace app {

void WindowArchiverHost::showMessage(const std::string& text) {
  ui::dialogs().message(ui::MessageKind::Information, ui::Application::instance().title(), text);
}

void WindowArchiverHost::processMessages() {
  ui::Application& application = ui::Application::instance();
  if (application.onScreen()) application.processMessages();
}

std::string WindowArchiverHost::askPassword(const std::string& title, const std::string& prompt,
                                            const std::string& okCaption,
                                            const std::string& cancelCaption) {
  if (!ui::Application::instance().onScreen())
    return zip::ArchiverHost::askPassword(title, prompt, okCaption, cancelCaption);
  return askPasswordInDialog(title, prompt, okCaption, cancelCaption);
}

std::unique_ptr<zip::ArchiverHost> makeArchiverHost() {
  return std::make_unique<WindowArchiverHost>();
}

}  // namespace app
