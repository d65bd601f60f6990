// Choosing the destination folder with the "Change" button of the input group.
// FIXME: stand-in: asks the dialogs for a folder until the folder browser component is used.
#include "app/MainWindow.h"
#include "ui/Dialogs.h"

void TForm1::Button2Click() {
  if (auto folder = ui::dialogs().chooseFolder("", "")) FileLabel2->setFileName(*folder);
}
