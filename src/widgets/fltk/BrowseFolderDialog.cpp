// FLTK's folder chooser has no window of its own to reach: no extra control, no operations.
#include "widgets/BrowseFolder.h"

namespace widgets {

void TBrowseFolder::createCustomButton(void*) {}

void TBrowseFolder::applyCustomButtonState() {}

void TBrowseFolder::SetSelection(void*, const std::string&) {}

void TBrowseFolder::enableOKButton(void*, bool) {}

}  // namespace widgets
