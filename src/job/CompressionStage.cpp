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

namespace {

// The archiver reads wildcards in the last part of a spec; a file whose own name holds "*", "?"
// or "[" is named by a pattern that matches only that name.
std::string literalFileSpec(const std::string& path) {
  const std::string name = platform::fileNameOf(path);
  if (name.find_first_of("*?[") == std::string::npos) return path;
  std::string escaped;
  for (char c : name) {
    if (c == '*' || c == '?' || c == '[' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return platform::joinPath(platform::parentFolder(path), escaped);
}

}  // namespace

void ZipCompressionStage::compress(SplitJobHost& host, ProgressView& view,
                                   const std::string& inputPath, const std::string& archivePath) {
  view.compressionStarted();
  std::string failure;
  {
    // Code is never written where others can write or where a search order would find it:
    // the library lives in a folder only this process can use, loaded by its full path.
    platform::PrivateTempDir work("fennock-packlib");
    Packer1.InputFile = host.packLibStorePath();
    Packer1.OutputFile = work.file(PACKLIB_FILE_NAME);
    Packer1.Decompress();

    // The library's own reason for a failure; the message box shows only the component's.
    struct Restore {
      zip::TArchiver& zip;
      decltype(zip.OnMessage) handler = zip.OnMessage;
      ~Restore() {
        zip.OnMessage = handler;
        zip.setLiteralSpecs(false);
      }
    } restore{Zip};
    Zip.OnMessage = [&](zip::TArchiver& zip, int32_t code, const std::string& message) {
      if (code != 0 && !message.empty()) failure = message;
      if (restore.handler) restore.handler(zip, code, message);
    };
    Zip.setDLLDirectory(work.path());
    Zip.setArchiveFileName(archivePath);
    // The input is one file named by its own name, whatever characters the name holds.
    const std::string spec = literalFileSpec(inputPath);
    zip::AddOpts options;
    if (spec != inputPath && platform::fileNameOf(inputPath).front() == '.')
      options.include(zip::AddOpt::AddHiddenFiles);
    Zip.setAddOptions(options);
    Zip.setLiteralSpecs(true);
    Zip.SpecList().push_back(spec);
    Zip.Add();
    const bool added = Zip.AddedCount() >= 1;
    // Whatever the archiver may have left must not be cut as if it held the input.
    if (!added) platform::deleteFile(archivePath);

    platform::deleteFile(Packer1.OutputFile);
    Zip.setDLLDirectory({});
    if (!added)
      throw EJobRefused(failure.empty() ? "The file \"" + inputPath + "\" could not be compressed"
                                        : failure + ": \"" + inputPath + "\"");
  }
  view.compressionFinished();
}

}  // namespace job
