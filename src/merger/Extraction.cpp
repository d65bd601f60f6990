// Extracting the joined archive with the unarchiver library that the merger file carries.
#include "merger/Extraction.h"

#include <vector>

#include "codec/Packer.h"
#include "merger/MergePlan.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "zip/Archiver.h"
#include "zip/UnpackRecords.h"

namespace merger {

namespace {

// The folder that was current before the archiver entered the destination.
class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper() : m_folder(platform::currentFolder()) {}
  ~CurrentFolderKeeper() {
    try {
      platform::setCurrentFolder(m_folder);
    } catch (...) {
      // The folder may have gone meanwhile; staying in the destination is harmless.
    }
  }
  CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
  CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

 private:
  std::string m_folder;
};

void copyLibrary(const std::string& mergerPath, std::int64_t offset, std::int64_t size,
                 const std::string& to) {
  platform::File own = platform::File::openRead(mergerPath);
  own.seek(offset);
  std::vector<char> bytes(static_cast<std::size_t>(size));
  own.readExact(bytes.data(), bytes.size());
  own.close();
  platform::File packed = platform::File::create(to);
  packed.write(bytes.data(), bytes.size());
  packed.close();
}

}  // namespace

void extractArchive(const std::string& mergerPath, std::int64_t libraryOffset,
                    std::int64_t librarySize, const std::string& archivePath,
                    const std::string& destFolder, zip::ArchiverHost* host) {
  // Code is never loaded from the current folder: the library lives in a private folder,
  // removed with it when the extraction is over.
  platform::PrivateTempDir work("fennock-merger");
  const std::string packed = work.file("unpacklib");
  copyLibrary(mergerPath, libraryOffset, librarySize, packed);
  codec::TPacker packer;
  packer.InputFile = packed;
  packer.OutputFile = work.file(UNPACKLIB_FILE_NAME);
  packer.Decompress();
  platform::deleteFile(packed);

  CurrentFolderKeeper keeper;
  zip::TArchiver archiver;
  archiver.setHost(host);
  archiver.setDLLDirectory(work.path());
  archiver.setExtrOptions(zip::ExtrOpts{zip::ExtrOpt::ExtrOverWrite});
  archiver.setExtrBaseDir(destFolder);
  archiver.setArchiveFileName(archivePath);
  const std::size_t expected = archiver.Entries().size() - std::size_t(archiver.DirOnlyCount());
  archiver.Extract();
  if (archiver.ExtractedCount() <= 0 || std::size_t(archiver.ExtractedCount()) < expected)
    throw EMergeError("The joined archive \"" + platform::fileNameOf(archivePath) +
                      "\" could not be extracted whole; it stays in the destination folder");
}

}  // namespace merger
