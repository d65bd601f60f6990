// Texts and errno mapping of the input/output error.
#include "platform/IoError.h"

#include <cerrno>

#include "platform/Paths.h"

namespace platform {

std::string ioErrorText(int code) {
  switch (code) {
    case kIoFileNotFound:
      return "File not found";
    case kIoInvalidFilename:
      return "Invalid filename";
    case kIoTooManyOpenFiles:
      return "Too many open files";
    case kIoAccessDenied:
      return "File access denied";
    case kIoReadBeyondEnd:
      return "Read beyond end of file";
    case kIoDiskFull:
#ifdef _WIN32
    case kIoWindowsDiskFull:
#endif
      return "Disk full";
    default:
      return "I/O error " + std::to_string(code);
  }
}

std::string ioErrorMessage(int code, const std::string& path) {
  if (path.empty()) return ioErrorText(code);
  return ioErrorText(code) + ": \"" + path + "\"";
}

static bool parentFolderExists(const std::string& path) {
  std::string folder = parentFolder(path);
  return folder.empty() || folderExists(folder);
}

int ioCodeFromErrno(int err, const std::string& path) {
  switch (err) {
    case ENOENT:
      return (!path.empty() && !parentFolderExists(path)) ? kIoInvalidFilename : kIoFileNotFound;
    case ENOTDIR:
      return kIoInvalidFilename;
    case EMFILE:
    case ENFILE:
      return kIoTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kIoAccessDenied;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return kIoSharingViolation;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kIoDiskFull;
    default:
      return err;
  }
}

void throwIoError(int err, const std::string& path) {
  throw EInOutError(ioCodeFromErrno(err, path), path);
}

}  // namespace platform
