// Does what the program does at start-up with its stores, then waits to be told how to end:
// "exit" ends through exit(0) like the Exit menu entries, "return" destroys the window first.
// Prints the temporary files' paths, one per line, once they exist: three, and two more in a
// build that carries the Windows merger.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "payloads/MainWindowDescription.h"

namespace {

// Stands for the main window: it owns the stores.
struct Window {
  store::TFileSource PackLib{"PackLib"};
  store::TFileSource UnpackLib{"UnpackLib"};
  store::TFileSource SFX{"SFX"};
  store::TFileSource WindowsUnpackLib{"WindowsUnpackLib"};
  store::TFileSource WindowsSFX{"WindowsSFX"};
  store::TFileSource* stores[5] = {&PackLib, &UnpackLib, &SFX, &WindowsUnpackLib, &WindowsSFX};

  Window() { payloads::loadMainWindowStores(stores); }
};

}  // namespace

int main() {
  // Like the program's main window, created on the heap and never destroyed before exit().
  auto* window = new Window;
  for (const store::TFileSource* source : window->stores)
    if (!source->FileName().empty()) std::cout << source->FileName() << '\n';
  std::cout.flush();
  std::string how;
  std::getline(std::cin, how);
  if (how == "exit") std::exit(0);
  delete window;
  return 0;
}
