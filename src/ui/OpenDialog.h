// The open-file dialog component: remembers the last chosen name and starts from it.
#pragma once

#include <string>

namespace ui {

class OpenDialog {
 public:
  // Shows the dialog through the installed dialogs; true when a file was chosen (FileName()).
  bool execute();

  const std::string& FileName() const { return m_fileName; }
  void setFileName(const std::string& fileName) { m_fileName = fileName; }

 private:
  std::string m_fileName;
};

}  // namespace ui
