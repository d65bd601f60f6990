// What the compressed-job tests share: shell runs, the peers that verify our archives (Python's
// zipfile and 7-Zip), and the search for working files that must not outlive a job.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

inline std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `command` in a shell; its exit status, and its output in `output` when given.
inline int runShell(const std::string& command, std::string* output = nullptr) {
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  int status = ::pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool havePeer(const char* program) {
  return runShell(std::string("command -v ") + program + " >/dev/null") == 0;
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
  std::string output;
  int status = runShell("python3 -c " + shellQuote(script) + " " + shellQuote(archive) + " " +
                            shellQuote(entryName) + " " + shellQuote(expectedPath),
                        &output);
  EXPECT_EQ(status, 0) << output;
}

inline void expectSevenZipTests(const std::string& archive) {
  if (!havePeer("7z")) GTEST_SKIP() << "7z is not installed";
  std::string output;
  EXPECT_EQ(runShell("7z t -bd " + shellQuote(archive), &output), 0) << output;
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
