// The stores' temporary files: fresh names in the temporary folder, removed when the program ends.
#pragma once

#include <string>

#include "platform/File.h"

namespace store {

struct TemporaryFile {
  std::string path;
  platform::File file;  // open for writing, empty
};

// Creates "~fs" + process id + "-" + seconds + k + extension in the temporary folder for the
// first k whose name is free. The name is taken with an exclusive create, so two stores, or two
// running copies of the program, can never end up with the same file; the process id tells a
// later run whether the file's owner still runs.
TemporaryFile createTemporaryFile(const std::string& extension);

// Whether `name` (a bare file name) has the form of these temporary files; `pid` receives the
// process that made it.
bool isTemporaryFileName(const std::string& name, long* pid = nullptr);

// Files that this process owns and must delete even when it ends through exit() without
// running the destructors of its windows, or through an interrupt, terminate or hang-up signal.
// Forgetting a path that was never kept does nothing.
void keepUntilExit(const std::string& path);
void forgetAtExit(const std::string& path);

// Removes from the temporary folder what runs of the programs that no longer run left there:
// the stores' files and the private folders, found by their exact name forms.
void removeLeftoversOfEndedRuns();

}  // namespace store
