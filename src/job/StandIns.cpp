// The stand-ins for the parts of the job that later modules provide: they refuse the job with
// a clear message before anything is written.
#include "job/SplitJob.h"

namespace job {

namespace {

class UnavailableExeMerger final : public ExeMergerSupport {
 public:
  void checkAvailable() const override {
    throw EJobRefused(
        "The .EXE merger is not available in this build; choose \"Create .BAT file merger\"");
  }
  std::int64_t mergerImageSize() const override { return 0; }
  std::int64_t unzipLibrarySize() const override { return 0; }
  void unpackMergerImage(const std::string&, const std::string&) override { checkAvailable(); }
};

class UnavailableCompression final : public CompressionStage {
 public:
  void checkAvailable() const override {
    throw EJobRefused(
        "Compression is not available in this build; clear \"Compress data\" to split the "
        "file as it is");
  }
  void compress(SplitJobHost&, ProgressView&, const std::string&, const std::string&) override {
    checkAvailable();
  }
};

}  // namespace

ExeMergerSupport& SplitJobHost::exeMergerSupport() {
  static UnavailableExeMerger standIn;
  return standIn;
}

CompressionStage& SplitJobHost::compressionStage() {
  static UnavailableCompression standIn;
  return standIn;
}

}  // namespace job
