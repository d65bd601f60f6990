// The last failed call's error on POSIX: errno.
#include <cerrno>

#include "platform/IoError.h"

namespace platform {

void throwLastSystemError(const std::string& path) { throwIoError(errno, path); }

}  // namespace platform
