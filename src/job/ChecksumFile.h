// The checksum file beside a set, `BaseName.sha256`, in the format of coreutils' sha256sum: one
// "<64 hex digits>  <file name>" line per file, so that sha256sum -c and shasum -a 256 -c read it.
#pragma once

#include <map>
#include <string>

#include "platform/Sha256Hasher.h"

namespace job {

inline const std::string kChecksumExtension = ".sha256";

// One line with its newline. A name holding a backslash or a newline is escaped as sha256sum
// escapes it (the line then starts with a backslash).
std::string checksumLine(const platform::Sha256Digest& digest, const std::string& name);

// The lines of a checksum file by file name, digests in lower case. Lines that are not checksum
// lines are skipped, as sha256sum skips them with a warning.
std::map<std::string, std::string> parseChecksumFile(const std::string& text);

}  // namespace job
