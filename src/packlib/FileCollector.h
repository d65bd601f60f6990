// Expands the file specs of a request into the files to add and their names in the archive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "packlib/AddRequest.h"

namespace packlib {

struct SourceFile {
  std::string path;         // as opened
  std::string archiveName;  // with "/" separators, no leading "/"
  uint64_t size = 0;
  int64_t modified = 0;  // POSIX time
  uint32_t mode = 0;     // POSIX type and permission bits
};

// Files in spec order, without duplicates of a name; `warn` receives each spec that matched
// nothing.
std::vector<SourceFile> collectFiles(const AddRequest& request,
                                     const std::function<void(const std::string&)>& warn);

// Whether `name` (any case) ends with one of the suffixes.
bool hasStoreSuffix(const std::string& name, const std::vector<std::string>& suffixes);

}  // namespace packlib
