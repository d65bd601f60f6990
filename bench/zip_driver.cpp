// Bench driver: one Add of the given file into the given archive through TArchiver and PackLib.
#include <cstdio>
#include <string>

#include "zip/Archiver.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zip_driver PACKLIB_FOLDER ARCHIVE INPUT\n");
    return 2;
  }
  zip::TArchiver archiver;
  archiver.setUnattended(true);
  archiver.setDLLDirectory(argv[1]);
  archiver.setArchiveFileName(argv[2]);
  archiver.SpecList().push_back(argv[3]);
  archiver.Add();
  if (archiver.AddedCount() != 1) {
    std::fprintf(stderr, "Add failed: %s\n", archiver.LastMessage().c_str());
    return 1;
  }
  return 0;
}
