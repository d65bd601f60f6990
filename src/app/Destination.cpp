// Choosing the destination folder with the "Change" button beside "Destination folder:".
#include "app/MainWindow.h"

void TForm1::Button2Click() {
  // The picker preselects the folder it returned last time, not the current destination;
  // cancelling leaves the destination as it is.
  if (BrowseFolder1.Execute()) FileLabel2->setFileName(BrowseFolder1.Directory());
}
