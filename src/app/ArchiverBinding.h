// The archiver component's ties to the program: its messages in the program's message boxes,
// and pending window messages processed in its callbacks when a display is up.
#pragma once

#include <memory>

#include "zip/Archiver.h"

namespace app {

class WindowArchiverHost final : public zip::ArchiverHost {
 public:
  // A plain message box captioned with the application title (stderr in the terminal).
  void showMessage(const std::string& text) override;
  // Handles pending messages on screen, so that the dialog repaints and the LED's timer runs;
  // nothing in the terminal.
  void processMessages() override;
  // The password dialog on screen; in the terminal no password, as the default host gives.
  std::string askPassword(const std::string& title, const std::string& prompt,
                          const std::string& okCaption, const std::string& cancelCaption) override;
};

std::unique_ptr<zip::ArchiverHost> makeArchiverHost();

}  // namespace app
