// The merger program's start: its window when a display is there, else the terminal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "merger/MergePlan.h"

namespace merger {

class TForm1;

std::string usageText();

// The merge options of the terminal: the merger's own, and `fennock join`'s.
struct TerminalOptions {
  std::string dest;
  bool deletePieces = false;
  bool noUnzip = false;
};

// Reads `args` into `options`, and the one argument that is no option into `file` when given.
// Returns the exit status when the program ends here: 0 after printing `usage` for --help, 2
// after reporting an error in the command line.
std::optional<int> parseTerminalOptions(const std::vector<std::string>& args,
                                        TerminalOptions& options, const std::string& usage,
                                        std::string* file = nullptr);

// The merge of `form` with the options, its progress as lines on stdout; the exit status.
int runTerminalMerge(TForm1& form, const TerminalOptions& options);

// Prints the application's title, `message` and "." on stderr; returns `status`.
int failInTerminal(const std::string& message, int status);

// Runs the merger file `ownPath` for its arguments (without the program name); the process's
// exit status. `layout` is empty when the executable was never stamped by the build.
int runMergerProgram(const std::vector<std::string>& args, const std::string& ownPath,
                     const std::optional<MergerLayout>& layout);

}  // namespace merger
