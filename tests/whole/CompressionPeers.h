// What the compressed-job tests share: shell commands, the peers that verify our archives (Python's
// zipfile and 7-Zip), and the search for working files that must not outlive a job.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Programs.h"

namespace testing_support {

inline std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Python's zipfile: the archive holds exactly `entryName`, every CRC checks out, and the entry's
// bytes equal `expectedPath` (compared in blocks, so big entries need no memory).
inline void expectZipfileAgrees(const std::string& archive, const std::string& entryName,
                                const std::string& expectedPath) {
  const std::string script =
      "import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "assert z.namelist() == [sys.argv[2]], z.namelist()\n"
      "bad = z.testzip()\n"
      "assert bad is None, bad\n"
      "with z.open(sys.argv[2]) as a, open(sys.argv[3], 'rb') as b:\n"
      "    while True:\n"
      "        x, y = a.read(1 << 20), b.read(1 << 20)\n"
      "        assert x == y, 'content differs'\n"
      "        if not x: break\n";
  const ProgramRun run = runProgram("python3", {"-c", script, archive, entryName, expectedPath});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
}

inline void expectSevenZipTests(const std::string& archive) {
  if (!haveProgram("7z")) GTEST_SKIP() << "7z is not installed";
  const ProgramRun run = runProgram("7z", {"t", "-bd", archive});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
}

// Files in `folders` (not below them) whose names contain one of `words`: the working files of
// a compressed job that must be gone when it ends.
inline std::vector<std::string> leftoverWorkingFiles(const std::vector<std::string>& folders,
                                                     const std::vector<std::string>& words = {
                                                         "PackLib", "ztmp", "unpacklib",
                                                         "UnpackLib", "fennock-packlib", "scriptmp",
                                                         "Sfx.exe"}) {
  std::vector<std::string> found;
  for (const std::string& folder : folders) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
      const std::string name = entry.path().filename().string();
      for (const std::string& word : words)
        if (name.find(word) != std::string::npos) found.push_back(entry.path().string());
    }
  }
  return found;
}

}  // namespace testing_support
