// Runs one split job through a fake main window, for timing without the terminal front end:
// split_driver INPUT DEST SIZE UNIT
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "job/FakeJobHost.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: split_driver INPUT DEST SIZE UNIT(0 bytes, 1 Kbytes, 2 Mbytes)\n");
    return 2;
  }
  testing_support::FakeJobHost host;
  testing_support::FakeProgressView view;
  host.input = argv[1];
  host.dest = argv[2];
  host.size = argv[3];
  host.unit = std::atoi(argv[4]);
  try {
    job::runSplitJob(host, view);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Fennock! 1.0: %s.\n", e.what());
    return 1;
  }
  return 0;
}
