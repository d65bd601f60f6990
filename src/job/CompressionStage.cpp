// The compressed job's first stage: unpack the archiver library, add the input to the
// temporary archive, remove the library again.
#include "job/CompressionStage.h"

#include "platform/Paths.h"

namespace job {

ZipCompressionStage::ZipCompressionStage(std::unique_ptr<zip::ArchiverHost> archiverHost)
    : m_archiverHost(std::move(archiverHost)) {
  // The main window's description: level 9, no add options, messages shown to the user, and
  // the eleven already-compressed suffixes stored as they are (the component's defaults).
  Zip.setAddCompLevel(9);
  Zip.setAddOptions({});
  Zip.setVerbose(false);
  Zip.setTrace(false);
  Zip.setUnattended(false);
  if (m_archiverHost) {
    Zip.setHost(m_archiverHost.get());
    Packer1.OnProcessMessages = [host = m_archiverHost.get()] { host->processMessages(); };
  }
}

void ZipCompressionStage::compress(SplitJobHost& host, ProgressView& view,
                                   const std::string& inputPath, const std::string& archivePath) {
  view.compressionStarted();
  {
    // Code is never written where others can write or where a search order would find it:
    // the library lives in a folder only this process can use, loaded by its full path.
    platform::PrivateTempDir work("fennock-packlib");
    Packer1.InputFile = host.packLibStorePath();
    Packer1.OutputFile = work.file(PACKLIB_FILE_NAME);
    Packer1.Decompress();

    Zip.setDLLDirectory(work.path());
    Zip.setArchiveFileName(archivePath);
    Zip.setAddOptions({});
    Zip.SpecList().push_back(inputPath);
    Zip.Add();
    // The archiver has shown why it wrote nothing. Whatever it may have left must not be cut
    // as if it held the input: the job then ends when it finds no archive.
    if (Zip.AddedCount() < 1) platform::deleteFile(archivePath);

    platform::deleteFile(Packer1.OutputFile);
    Zip.setDLLDirectory({});
  }
  view.compressionFinished();
}

}  // namespace job
