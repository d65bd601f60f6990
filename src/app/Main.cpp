// Fennock's entry point.
#include <clocale>
#include <string>
#include <vector>

#include "app/Program.h"

int main(int argc, char** argv) {
  // Numbers are read and shown with the user's decimal separator.
  std::setlocale(LC_ALL, "");
  return app::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
