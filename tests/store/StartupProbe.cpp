// Does what the program does at start-up with its stores, then waits to be told how to end:
// "exit" ends through exit(0) like the Exit menu entries, "return" destroys the window first.
// Prints the three temporary files' paths, one per line, once they exist.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "payloads/MainWindowDescription.h"

namespace {

// Stands for the main window: it owns the three stores.
struct Window {
  store::TFileSource PackLib{"PackLib"};
  store::TFileSource UnpackLib{"UnpackLib"};
  store::TFileSource SFX{"SFX"};

  Window() {
    store::TFileSource* stores[] = {&PackLib, &UnpackLib, &SFX};
    payloads::loadMainWindowStores(stores);
  }
};

}  // namespace

int main() {
  // Like the program's main window, created on the heap and never destroyed before exit().
  auto* window = new Window;
  std::cout << window->PackLib.FileName() << '\n'
            << window->UnpackLib.FileName() << '\n'
            << window->SFX.FileName() << std::endl;
  std::string how;
  std::getline(std::cin, how);
  if (how == "exit") std::exit(0);
  delete window;
  return 0;
}
