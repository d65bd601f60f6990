// The Help menu: help index, license, support page and the About box.
// FIXME: stand-ins until the About box exists; the documents open through the desktop.
#include "app/MainWindow.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

void TForm1::License1Click() {
  platform::openDocument(platform::joinPath(platform::currentFolder(), "index.htm"));
}

void TForm1::Help2Click() {
  platform::openDocument(platform::joinPath(platform::currentFolder(), "license.txt"));
}

void TForm1::Support1Click() {
  platform::openDocument(platform::joinPath(platform::currentFolder(), "manual/insup.htm"));
}

void TForm1::AbouFennock1Click() {
  ui::dialogs().message(ui::MessageKind::Information, ui::Application::instance().title(),
                        kApplicationTitle);
}
