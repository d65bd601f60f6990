// Splitting with the build's real payloads, as the main window would, for tests that run the
// merger file that comes out.
#pragma once

#include <clocale>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "PayloadSizes.h"
#include "job/FakeJobHost.h"
#include "job/MergerHead.h"
#include "job/ScriptRecord.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

namespace testing_support::payload_split {

using testing_support::FakeJobHost;
using testing_support::FakeProgressView;
using testing_support::randomBytes;
using testing_support::ScratchDir;

inline constexpr std::int64_t kHead =
    payloads::MergerImageSize + std::int64_t(job::kScriptRecordSize);
inline const std::string kPayloads = FENNOCK_PAYLOAD_DIR;

// A main window whose stores are the build's packed payloads.
class PayloadHost : public FakeJobHost {
 public:
  PayloadHost() {
    exeOn = true;
    exeSupport = &m_exe;
    unpackLibStore = platform::joinPath(kPayloads, "UnpackLib.dat");
  }
  std::string mergerImageStorePath() const override {
    return platform::joinPath(kPayloads, "Sfx.dat");
  }

 private:
  job::PayloadExeMerger m_exe{payloads::MergerImageSize, payloads::UnzipLibrarySize};
};

struct Split {
  job::JobStatistics stats;
  std::vector<std::string> files;  // the merger file, then pieces 2 .. PieceCount
};

// Splits `data` as `name` into `dir` with the .EXE merger: size mode when `count` is empty.
inline Split splitExe(const ScratchDir& dir, const std::string& name, const std::string& data,
                      const std::string& size, int unit, const std::string& count = {}) {
  PayloadHost host;
  FakeProgressView view;
  host.input = dir.write(name, data);
  host.dest = dir.path();
  host.size = size;
  host.unit = unit;
  host.count = !count.empty();
  host.countValue = count;
  job::runSplitJob(host, view);
  platform::deleteFile(host.input);
  Split split;
  split.stats = view.stats;
  const std::string base = name.substr(0, name.find('.'));
  split.files.push_back(dir.file(base + ".exe"));
  for (std::int64_t i = 2; i <= view.stats.pieceCount; ++i)
    split.files.push_back(dir.file(base + std::to_string(i) + ".frg"));
  return split;
}

// Copies the files into `to`, optionally renaming "base" to "newBase" in their names.
inline std::vector<std::string> carry(const std::vector<std::string>& files, const std::string& to,
                                      const std::string& base = {},
                                      const std::string& newBase = {}) {
  std::vector<std::string> carried;
  for (const auto& file : files) {
    std::string name = platform::fileNameOf(file);
    if (!base.empty()) name = newBase + name.substr(base.size());
    const std::string target = platform::joinPath(to, name);
    std::filesystem::copy_file(file, target);
    carried.push_back(target);
  }
  return carried;
}

}  // namespace testing_support::payload_split
