// Fennock's entry point.
#include <clocale>

#include "app/Program.h"
#include "platform/Paths.h"
#include "platform/SignalCleanup.h"
#include "store/TemporaryFile.h"

int main(int argc, char** argv) {
  // Before the stores write their files: an interrupted run leaves nothing behind, and what a
  // killed one left is removed now.
  platform::SignalCleanupHandlers cleanup;
  store::removeLeftoversOfEndedRuns();
  // Numbers are read and shown with the user's decimal separator.
  std::setlocale(LC_ALL, "");
  return app::runProgram(platform::programArguments(argc, argv));
}
