// The compressed job's last step: the carried unarchiver library extracts the joined archive.
#pragma once

#include <cstdint>
#include <string>

namespace zip {
class ArchiverHost;
}

namespace merger {

// Unpacks the library (`librarySize` packed bytes at `libraryOffset` of the merger file) into
// a private folder, extracts every entry of `archivePath` into `destFolder` with overwriting,
// and removes the library again. Throws EMergeError, naming the entry and why, when not every
// entry was extracted; each entry that was not is left as it stood in the destination.
void extractArchive(const std::string& mergerPath, std::int64_t libraryOffset,
                    std::int64_t librarySize, const std::string& archivePath,
                    const std::string& destFolder, zip::ArchiverHost* host = nullptr);

}  // namespace merger
