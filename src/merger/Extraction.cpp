// Extracting the joined archive with the unarchiver library that the merger file carries.
#include "merger/Extraction.h"

#include <optional>
#include <vector>

#include "codec/Packer.h"
#include "merger/MergePlan.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "unpacklib/Extractor.h"
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

// What the library reported about the first entry that it could not extract.
struct ExtractionFailure {
  std::string entry;
  unpack::ErrorCode code = unpack::ErrorCode::kNone;
  std::string reason;  // its message, without the names that it appends
};

// The library appends ": " and the entry's (or the archive's) name to its messages.
std::string withoutSuffix(const std::string& text, const std::string& name) {
  const std::string suffix = ": " + name;
  if (text.size() >= suffix.size() &&
      text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
    return text.substr(0, text.size() - suffix.size());
  return text;
}

[[noreturn]] void reportFailure(const std::optional<ExtractionFailure>& failure,
                                const std::string& lastMessage, const std::string& archivePath) {
  const std::string resend = "; the pieces must be sent again. Nothing was merged";
  if (!failure) {
    if (!lastMessage.empty())
      throw EMergeError("The joined pieces could not be extracted (" +
                        withoutSuffix(lastMessage, archivePath) + ")" + resend);
    throw EMergeError("The joined pieces could not be extracted. Nothing was merged");
  }
  const std::string entry = "\"" + failure->entry + "\"";
  switch (failure->code) {
    case unpack::ErrorCode::kCrc:
    case unpack::ErrorCode::kData:
      throw EMergeError("The file " + entry + " in the joined pieces is damaged (" +
                        failure->reason + ")" + resend);
    case unpack::ErrorCode::kWrite:
      // A failed write names the file that it could not write: "Disk full: "/dest/x"".
      if (failure->reason.find('"') != std::string::npos) throw EMergeError(failure->reason);
      [[fallthrough]];
    default:
      throw EMergeError("The file " + entry + " could not be extracted (" + failure->reason +
                        "). Nothing was merged");
  }
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
  std::string lastMessage;
  std::optional<ExtractionFailure> failure;
  archiver.OnMessage = [&](zip::TArchiver&, std::int32_t code, const std::string& text) {
    if (code != 0) lastMessage = text;
  };
  archiver.OnExtractSkipped = [&](zip::TArchiver&, const std::string& entry, zip::UnpackSkipTypes,
                                  std::int32_t code) {
    if (!failure && code != 0)
      failure = ExtractionFailure{entry, unpack::ErrorCode(code & 0xFF),
                                  withoutSuffix(lastMessage, entry)};
  };
  archiver.setArchiveFileName(archivePath);
  // The listing leaves folder entries out: what remains are the files to be written.
  const std::size_t expected = archiver.Entries().size();
  archiver.Extract();
  if (failure || archiver.ExtractedCount() <= 0 ||
      std::size_t(archiver.ExtractedCount()) < expected)
    reportFailure(failure, lastMessage, archivePath);
}

}  // namespace merger
