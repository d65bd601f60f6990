// Simple path label and numeric edit used by the main window until the custom controls
// replace them; they keep the members' names and the calls the window makes.
#pragma once

#include <string>

#include "ui/Edit.h"
#include "ui/Label.h"

namespace app {

// Holds a full path and shows it unshortened.
class FileLabelStandIn : public ui::Label {
 public:
  FileLabelStandIn(ui::Container& parent, const ui::Rect& bounds, const std::string& fileName)
      : ui::Label(parent, bounds, fileName, false), m_fileName(fileName) {}

  const std::string& FileName() const { return m_fileName; }
  void setFileName(const std::string& fileName) {
    m_fileName = fileName;
    setCaption(fileName);
  }

 private:
  std::string m_fileName;
};

// A plain edit; the key filter comes with the real control.
using NumEditStandIn = ui::Edit;

}  // namespace app
