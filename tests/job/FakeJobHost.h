// A main window and a progress view for driving the split job without a window: settings are
// plain fields, and every call the job makes is recorded in order.
#pragma once

#include <string>
#include <vector>

#include "job/Chrono.h"
#include "job/SplitJob.h"
#include "job/Statistics.h"
#include "platform/File.h"

namespace testing_support {

class FakeJobHost : public job::SplitJobHost {
 public:
  std::string input, dest;
  bool count = false;
  std::string size = "1", countValue = "3";
  int unit = 2;
  bool compressOn = false, deleteOn = false, openDestOn = false, exeOn = false;

  bool splitButtonEnabled = true;
  bool mainWindowEnabled = true;
  int resets = 0;
  job::TChrono chronoInstance;
  job::ExeMergerSupport* exeSupport = nullptr;  // nullptr: the built-in stand-in
  job::CompressionStage* compression = nullptr;

  std::string inputPath() const override { return input; }
  std::string destFolder() const override { return dest; }
  bool countMode() const override { return count; }
  std::string sizeText() const override { return size; }
  int unitIndex() const override { return unit; }
  std::string countText() const override { return countValue; }
  bool compress() const override { return compressOn; }
  bool deleteInput() const override { return deleteOn; }
  bool openDestination() const override { return openDestOn; }
  bool exeMerger() const override { return exeOn; }
  void disableSplitButton() override { splitButtonEnabled = false; }
  void setMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  void resetFileChoice() override { ++resets; }
  job::TChrono& chrono() override { return chronoInstance; }
  std::string mergerImageStorePath() const override { return "sfx-store"; }
  std::string unpackLibStorePath() const override { return unpackLibStore; }
  std::string packLibStorePath() const override { return "packlib-store"; }
  job::ExeMergerSupport& exeMergerSupport() override {
    return exeSupport ? *exeSupport : SplitJobHost::exeMergerSupport();
  }
  job::CompressionStage& compressionStage() override {
    return compression ? *compression : SplitJobHost::compressionStage();
  }

  std::string unpackLibStore;
};

class FakeProgressView : public job::ProgressView {
 public:
  std::vector<std::string> calls;
  std::vector<int> positions;
  job::JobStatistics stats;
  bool okEnabled = false, failed = false, statisticsShown = false;

  void show() override { calls.push_back("show"); }
  void setOkEnabled(bool enabled) override {
    okEnabled = enabled;
    calls.push_back(enabled ? "ok-on" : "ok-off");
  }
  void setProgressPosition(int position) override {
    positions.push_back(position);
    calls.push_back("pos");
  }
  void showProgressBar() override { calls.push_back("bar"); }
  void compressionStarted() override { calls.push_back("compress-start"); }
  void compressionFinished() override { calls.push_back("compress-end"); }
  void showStatisticsGroup() override {
    statisticsShown = true;
    calls.push_back("group");
  }
  void setStatistics(const job::JobStatistics& s) override {
    stats = s;
    calls.push_back("stats");
  }
  void jobFailed() override {
    failed = true;
    calls.push_back("failed");
  }
};

// A merger program stand-in for tests: the "packed" image is any file, copied as it is.
class FakeExeMerger : public job::ExeMergerSupport {
 public:
  std::string imageBytes;
  std::int64_t unzipSize = 0;
  void checkAvailable() const override {}
  std::int64_t mergerImageSize() const override { return std::int64_t(imageBytes.size()); }
  std::int64_t unzipLibrarySize() const override { return unzipSize; }
  void unpackMergerImage(const std::string&, const std::string& outputPath) override {
    platform::File out = platform::File::create(outputPath);
    out.write(imageBytes.data(), imageBytes.size());
    out.close();
  }
};

}  // namespace testing_support
