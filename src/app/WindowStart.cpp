// Start-up of the windows: the main window, the progress dialog and the About box, and the loop.
#include <cstdio>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "platform/Paths.h"
#include "progress/Form2.h"
#include "ui/Application.h"
#include "ui/Events.h"
#include "widgets/HandCursors.h"

namespace app {

// The main window; `file`, when given, is opened as the window opens.
int runWindows(const std::string& file) {
  initializeApplication();
  ui::Application& application = ui::Application::instance();
  if (!application.initializeScreen()) {
    std::fprintf(stderr,
                 "%s: No display is available, so the main window cannot be shown. "
                 "Run \"fennock split FILE\" to split in the terminal, or \"fennock --help\".\n",
                 kApplicationTitle);
    return 1;
  }
  // The cursors come before any form; the first form created is the main window.
  widgets::installHandCursors();
  TForm1& form1 = application.createForm<TForm1>();
  job::TForm2& form2 = application.createForm<job::TForm2>(form1);
  form2.setOwner(&form1);  // never behind the window whose job it shows
  form1.setProgressView(&form2);
  application.createForm<TForm3>(form1);  // the About box, hidden until the Help menu shows it
  if (!file.empty()) {
    form1.show();
    ui::runEvent([&] { form1.openFile(platform::absolutePath(file)); });
  }
  int status = application.run();
  application.destroyForms();
  return status;
}

}  // namespace app
