// The open-file dialog component.
#include "ui/OpenDialog.h"

#include "ui/Dialogs.h"

namespace ui {

bool OpenDialog::execute() {
  auto chosen = dialogs().openFile(m_fileName);
  if (!chosen) return false;
  m_fileName = *chosen;
  return true;
}

}  // namespace ui
