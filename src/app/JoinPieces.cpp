// Joining from the main window: File, "Join pieces...", and a file given on the command line.
#include "app/JoinWindow.h"
#include "app/MainWindow.h"
#include "platform/Paths.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

void TForm1::Joinpieces1Click() {
  if (!OpenDialog2.execute()) return;
  openJoinWindow(OpenDialog2.FileName());
}

void TForm1::openFile(const std::string& path) {
  if (app::isSetMember(path) &&
      ui::dialogs().confirm(ui::Application::instance().title(),
                            "\"" + platform::fileNameOf(path) +
                                "\" belongs to a set of pieces. Join the set instead of "
                                "splitting this file?")) {
    OpenDialog2.setFileName(path);
    openJoinWindow(path);
    return;
  }
  OpenDialog1.setFileName(path);
  chooseInputFile(path);
}

void TForm1::openJoinWindow(const std::string& member) {
  // A window that is merging stays until its merge is over.
  if (m_joinForm && !m_joinForm->enabled()) return;
  std::unique_ptr<merger::TForm1> form = app::makeJoinForm(member);
  m_joinForm = std::move(form);
  m_joinForm->setOwner(this);
  // Fennock goes on after a merge: only the merger's window goes.
  m_joinForm->onMerged = [this] { m_joinForm->hide(); };
  if (ui::Application::instance().onScreen()) m_joinForm->show();
}
