// The stores' temporary files: fresh names in the temporary folder, removed when the program ends.
#pragma once

#include <string>

#include "platform/File.h"

namespace store {

struct TemporaryFile {
  std::string path;
  platform::File file;  // open for writing, empty
};

// Creates "~fs" + seconds + k + extension in the temporary folder for the first k whose name
// is free. The name is taken with an exclusive create, so two stores, or two running copies of
// the program, can never end up with the same file.
TemporaryFile createTemporaryFile(const std::string& extension);

// Files that this process owns and must delete even when it ends through exit() without
// running the destructors of its windows. Forgetting a path that was never kept does nothing.
void keepUntilExit(const std::string& path);
void forgetAtExit(const std::string& path);

}  // namespace store
