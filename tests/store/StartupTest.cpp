// Start-up and exit of a program that carries the stores: its temporary files exist
// while it runs and are gone after it ends, and concurrent runs never share one.
#include <dirent.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>

#include "PayloadSizes.h"
#include "platform/Paths.h"
#include "store/ProbeProcess.h"
#include "store/TempFolderOverride.h"
#include "store/TempNames.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"

using testing_support::ProbeProcess;
using testing_support::ScratchDir;

namespace {

std::vector<std::string> temporaryFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* entry = ::readdir(dir))
      if (std::string(entry->d_name).rfind("~fs", 0) == 0) names.push_back(entry->d_name);
    ::closedir(dir);
  }
  return names;
}

// The stores' files in the order of the window's stores; the Windows merger's where the build
// carries it.
std::vector<std::string> packedStoreFiles() {
  std::vector<std::string> packed{"PackLib.dat", "UnpackLib.dat", "Sfx.dat"};
  if (payloads::WindowsMergerImageSize > 0) {
    packed.push_back("WindowsUnpackLib.dat");
    packed.push_back("WindowsSfx.dat");
  }
  return packed;
}
const std::size_t kStores = packedStoreFiles().size();

std::vector<std::string> readStorePaths(ProbeProcess& probe) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < kStores; ++i) paths.push_back(probe.readLine());
  return paths;
}

void expectStoreFiles(const std::vector<std::string>& paths, const ScratchDir& temp) {
  const std::vector<std::string> packed = packedStoreFiles();
  for (std::size_t i = 0; i < kStores; ++i) {
    EXPECT_EQ(platform::parentFolder(paths[i]), temp.path());
    auto name = testing_support::parseTempName(paths[i]);
    ASSERT_TRUE(name.has_value()) << paths[i];
    EXPECT_EQ(name->extension, ".dat");
    EXPECT_EQ(ScratchDir::read(paths[i]),
              ScratchDir::read(platform::joinPath(FENNOCK_PAYLOAD_DIR, packed[i])));
  }
}

}  // namespace

TEST(StoresAtStartup, FilesLiveWhileTheProgramRunsAndGoWhenItEnds) {
  for (const char* how : {"exit", "return"}) {
    SCOPED_TRACE(how);
    ScratchDir temp;
    testing_support::TempFolderOverride redirect(temp.path());
    ProbeProcess probe({STARTUP_PROBE});
    auto paths = readStorePaths(probe);
    expectStoreFiles(paths, temp);
    EXPECT_EQ(temporaryFilesIn(temp.path()).size(), kStores);
    probe.writeLine(how);
    EXPECT_EQ(probe.wait(), 0);
    EXPECT_TRUE(temporaryFilesIn(temp.path()).empty());
  }
}

TEST(StoresAtStartup, ConcurrentRunsNeverShareATemporaryFile) {
  constexpr int kRuns = 6;
  ScratchDir temp;
  testing_support::TempFolderOverride redirect(temp.path());
  std::vector<std::unique_ptr<ProbeProcess>> probes;
  for (int i = 0; i < kRuns; ++i)
    probes.push_back(std::make_unique<ProbeProcess>(std::vector<std::string>{STARTUP_PROBE}));
  std::set<std::string> seen;
  for (auto& probe : probes) {
    auto paths = readStorePaths(*probe);
    expectStoreFiles(paths, temp);
    seen.insert(paths.begin(), paths.end());
  }
  EXPECT_EQ(seen.size(), kStores * kRuns);
  EXPECT_EQ(temporaryFilesIn(temp.path()).size(), kStores * kRuns);
  // One run ending removes only its own files.
  probes.front()->writeLine("exit");
  EXPECT_EQ(probes.front()->wait(), 0);
  EXPECT_EQ(temporaryFilesIn(temp.path()).size(), kStores * (kRuns - 1));
  for (std::size_t i = 1; i < probes.size(); ++i) probes[i]->writeLine("exit");
  for (std::size_t i = 1; i < probes.size(); ++i) EXPECT_EQ(probes[i]->wait(), 0);
  EXPECT_TRUE(temporaryFilesIn(temp.path()).empty());
}

TEST(StoresAtStartup, TheProgramLeavesNoTemporaryFiles) {
  const std::string program = testing_support::fennockProgram();
  if (!platform::fileExists(program)) GTEST_SKIP() << "fennock is not built";
  ScratchDir temp, work;
  testing_support::TempFolderOverride redirect(temp.path());
  std::string input = work.write("data.bin", std::string(1000, 'd'));
  // A terminal split builds the main window, so its stores write their files and remove them.
  ProbeProcess run({program, "split", input, "--size", "400", "--unit", "bytes", "--merger", "bat",
                    "--no-compress", "--dest", work.path()});
  EXPECT_EQ(run.wait(), 0);
  EXPECT_TRUE(platform::fileExists(work.file("data.bat")));
  EXPECT_TRUE(temporaryFilesIn(temp.path()).empty());
}
