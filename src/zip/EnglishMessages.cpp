// The English wording of the archiver component's messages. Without it every message would read
// "ArcMsgXX.res is probably not linked to the executable" with a bare number, which tells a user
// nothing about what went wrong.
#include "zip/EnglishMessages.h"

#include <unordered_map>

#include "zip/ArchiverTypes.h"

namespace zip {

std::optional<std::string> englishMessage(int32_t id) {
  static const std::unordered_map<int32_t, std::string> kTexts = {
      {msg::kAddException, "The archiver stopped with an error while adding files"},
      {msg::kNoArchiveName, "No archive file name was given"},
      {msg::kOutOfMemory, "There is not enough memory to read the archive's directory"},
      {msg::kPasswordsDiffer, "The two passwords differ"},
      {msg::kPasswordTwiceUnattended, "A password is needed, but none can be asked for now"},
      {msg::kPasswordOnceUnattended, "A password is needed, but none can be asked for now"},
      {msg::kPasswordOk, "OK"},
      {msg::kPasswordCancel, "Cancel"},
      {msg::kPasswordTitle, "Password"},
      {msg::kPasswordPrompt, "Enter the password:"},
      {msg::kPasswordConfirm, "Enter the password again:"},
      {msg::kDirectoryReadError, "The archive's directory could not be read"},
      {msg::kDirectoryException, "Error while reading the archive's directory: "},
      {msg::kDataBeforeArchive, "The archive is preceded by other data"},
      {msg::kDataAfterArchive, "Unexpected data follows the end of the archive"},
      {msg::kNoFileSpec, "No files were given to add"},
      {msg::kEncryptWithoutPassword, "Encryption needs a password, and none can be asked for now"},
      {msg::kSpanWithFreshen, "Freshen and update cannot be combined with spanning disks"},
      {msg::kStubFailed, "The self-extracting archive could not be created; error "},
      {msg::kExtractException, "The unarchiver stopped with an error while extracting files"},
      {msg::kNoPasswordUnattended, "The archive needs a password, and none can be asked for now"},
      {msg::kPackLibLoaded, "Archiver library loaded: "},
      {msg::kNoPackLibExec, "The archiver library has no entry point PackLibExec"},
      {msg::kNoPackLibVersion, "The archiver library has no entry point GetPackLibVersion"},
      {msg::kPackLibNotLoaded, "The archiver library could not be loaded"},
      {msg::kUnpackLibLoaded, "Unarchiver library loaded: "},
      {msg::kNoUnpackLibExec, "The unarchiver library has no entry point UnpackLibExec"},
      {msg::kNoUnpackLibVersion, "The unarchiver library has no entry point GetUnpackLibVersion"},
      {msg::kUnpackLibNotLoaded, "The unarchiver library could not be loaded"},
      {msg::kOpenFailedRaised, "The archive could not be opened: "},
      {msg::kOpenFailed, "The archive could not be opened: "},
      {msg::kInvalidDrive, "The archive's drive is not valid: "},
      {msg::kDriveMissing, "The archive's drive does not exist: "},
      {msg::kTailSeekFailed, "The end of the archive could not be reached"},
      {msg::kTailReadFailed, "The end of the archive could not be read"},
      {msg::kEntryReadFailed, "An entry of the archive's directory could not be read"},
      {msg::kEntrySignature, "An entry of the archive's directory is damaged"},
      {msg::kEntryNameRead, "The name of an archive entry could not be read"},
      {msg::kEntryCommentRead, "The comment of an archive entry could not be read"},
      {msg::kNotZip, "The file is not a ZIP archive"},
      {msg::kLastDiskNeeded, "The last disk of the spanned archive is needed"},
      {msg::kWrongDisk, "This is the wrong disk of the spanned archive: "},
      {msg::kSpanToExe, "A spanned archive cannot be a self-extracting program"},
      {msg::kNoEndRecord, "The end of the archive could not be found"},
  };
  auto found = kTexts.find(id);
  if (found == kTexts.end()) return std::nullopt;
  return found->second;
}

void installEnglishMessages() { setMessageCatalogue(englishMessage); }

}  // namespace zip
