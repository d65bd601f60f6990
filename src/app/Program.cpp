// Start-up: the application's title, the forms in their order, and the message loop.
#include "app/Program.h"

#include <cstdio>
#include <filesystem>

#include "job/MergerSystem.h"
#include "platform/Paths.h"
#include "ui/Application.h"
#include "zip/EnglishMessages.h"

namespace app {

void initializeApplication() {
  ui::Application::instance().setTitle(kApplicationTitle);
  zip::installEnglishMessages();
}

std::string usageText() {
  return "Usage: fennock                    show the main window\n"
         "       fennock FILE               the window with FILE chosen (or its set to join)\n"
         "       fennock join FILE [--dest DIR] [--delete-pieces] [--no-unzip]\n"
         "       fennock split FILE [options]\n"
         "Splits FILE into pieces with the main window's settings, without showing it.\n"
         "Options (defaults are the window's, with its Options menu as last saved):\n"
         "  --size VALUE            piece size in the chosen unit (default 1.38)\n"
         "  --unit bytes|Kbytes|Mbytes   unit of --size (default Mbytes)\n"
         "  --count N               cut into N pieces instead of pieces of a size\n"
         "  --dest DIR              destination folder (default: the file's folder)\n"
         "  --compress, --no-compress   compress the data first (default: by extension)\n"
         "  --merger exe|bat        kind of merger (default: exe with compression, else bat)\n"
         "  --merger-for windows|linux   the system the .exe merger runs on (default: " +
         std::string(job::mergerSystemName(job::kHostMergerSystem)) +
         ")\n"
         "  --sh-merger, --no-sh-merger   also write BaseName.sh, a merger for any POSIX shell\n"
         "  --delete-input          delete FILE after the split\n"
         "  --open-dest             open the destination folder afterwards\n"
         "  --checksums, --no-checksums   also write BaseName.sha256 (sha256sum's format),\n"
         "                          which the mergers check the set against\n"
         "  --overwrite             replace a set made for another file of the same base name\n"
         "  --                      every later argument is the file, even if it starts with -\n"
         "  --help, --version\n"
         "Join joins the set that FILE belongs to (its .exe merger, a .frg piece, its .bat or\n"
         ".sh script or its .sha256 file) as its merger does, without running the merger:\n"
         "  --dest DIR              destination folder (default: the set's folder)\n"
         "  --delete-pieces         delete the .frg pieces once they are joined\n"
         "  --no-unzip              leave a compressed set's archive as it is\n";
}

int runProgram(const std::vector<std::string>& args) {
  if (args.empty()) return runWindows();
  // A windowed program on Windows: a command answers in the terminal it was started from.
  ui::Application::attachTerminal();
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("%s\n", kApplicationTitle);
    return 0;
  }
  if (command == "join")
    return runJoinCommand(std::vector<std::string>(args.begin() + 1, args.end()));
  if (command == "split")
    return runSplitCommand(std::vector<std::string>(args.begin() + 1, args.end()), stdout);
  // A desktop opens files with the program: one that exists is never taken for a command.
  if (args.size() == 1 && !command.starts_with("-") && std::filesystem::exists(command))
    return runWindows(command);
  std::fprintf(stderr, "%s: Unknown command '%s'; see \"fennock --help\".\n", kApplicationTitle,
               command.c_str());
  return 2;
}

}  // namespace app
