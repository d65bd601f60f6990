// The compressed job's first stage: the input packed into a temporary ZIP archive by the
// archiver library, which exists on disk only while it runs, in a folder of its own.
#pragma once

#include <memory>
#include <string>

#include "codec/Packer.h"
#include "job/SplitJob.h"
#include "zip/Archiver.h"

namespace job {

class ZipCompressionStage final : public CompressionStage {
 public:
  // `archiverHost` shows the archiver's messages and processes pending window messages while
  // it runs (which is what makes the LED blink); null keeps the archiver's default host.
  explicit ZipCompressionStage(std::unique_ptr<zip::ArchiverHost> archiverHost = nullptr);

  void checkAvailable() const override {}
  void compress(SplitJobHost& host, ProgressView& view, const std::string& inputPath,
                const std::string& archivePath) override;

  // The main window's components that the stage drives, with the window's settings.
  zip::TArchiver Zip;
  codec::TPacker Packer1;

 private:
  std::unique_ptr<zip::ArchiverHost> m_archiverHost;
};

}  // namespace job
