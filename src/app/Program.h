// The program's start-up: the main window, or a command of the terminal front end.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The product title: the application's title and every error box's caption.
inline constexpr char kApplicationTitle[] = "Fennock! 1.0";

namespace app {

// Start-up steps 1 and 2: the application object, titled "Fennock! 1.0".
void initializeApplication();

// Runs the program for its arguments (without the program name); the process's exit status.
int runProgram(const std::vector<std::string>& args);

// The main window; `file`, when given, is opened as the window opens. The exit status.
int runWindows(const std::string& file = {});

// `fennock split FILE [options]`: the main window's job without showing the window. Progress
// and statistics go to `out`, errors to stderr. 0 on success.
int runSplitCommand(const std::vector<std::string>& args, std::FILE* out);

// `fennock join FILE [options]`: the merger's window for FILE's set, merged without showing it.
// Progress goes to stdout, errors to stderr; the merger's exit status.
int runJoinCommand(const std::vector<std::string>& args);

// The text of --help.
std::string usageText();

}  // namespace app
