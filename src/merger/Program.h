// The merger program's start: its window when a display is there, else the terminal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "merger/MergePlan.h"

namespace merger {

std::string usageText();

// Runs the merger file `ownPath` for its arguments (without the program name); the process's
// exit status. `layout` is empty when the executable was never stamped by the build.
int runMergerProgram(const std::vector<std::string>& args, const std::string& ownPath,
                     const std::optional<MergerLayout>& layout);

}  // namespace merger
