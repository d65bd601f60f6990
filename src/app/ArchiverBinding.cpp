// The archiver component's ties to the program's dialogs and message processing.
#include "app/ArchiverBinding.h"

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

std::unique_ptr<zip::ArchiverHost> makeArchiverHost() {
  return std::make_unique<WindowArchiverHost>();
}

}  // namespace app
