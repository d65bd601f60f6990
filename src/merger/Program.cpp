// Start-up of the merger program and its terminal front end.
#include "merger/Program.h"

#include <cstdio>
#include <exception>

#include "merger/MergerForm.h"
#include "platform/Paths.h"
#include "ui/Application.h"
#include "zip/EnglishMessages.h"

namespace merger {

namespace {

// Prints a line whenever the position moves.
class ProgressLines final : public MergeProgress {
 public:
  void setPosition(int position) override {
    if (position == m_last) return;
    m_last = position;
    std::fputs(("Merging... " + std::to_string(position) + "%\n").c_str(), stdout);
    std::fflush(stdout);
  }

 private:
  int m_last = -1;
};

// The program's title before `text`, on the error stream. The merger prints through fputs only:
// the C library's formatted printing would bring its floating-point code into the Windows
// image, whose size is kept small.
void printError(const std::string& text) {
  std::fputs((ui::Application::instance().title() + ": " + text + "\n").c_str(), stderr);
}

}  // namespace

int failInTerminal(const std::string& message, int status) {
  printError(message + ".");
  return status;
}

std::optional<int> parseTerminalOptions(const std::vector<std::string>& args,
                                        TerminalOptions& options, const std::string& usage,
                                        std::string* file) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(usage.c_str(), stdout);
      return 0;
    } else if (arg == "--dest") {
      if (i + 1 == args.size()) return failInTerminal("The option --dest needs a folder", 2);
      options.dest = args[++i];
    } else if (arg == "--delete-pieces") {
      options.deletePieces = true;
    } else if (arg == "--no-unzip") {
      options.noUnzip = true;
    } else if (file && (arg == "-" || !arg.starts_with("-"))) {
      if (!file->empty())
        return failInTerminal(
            "Only one set can be joined at a time ('" + arg + "' is a second file)", 2);
      *file = arg;
    } else {
      return failInTerminal("Unknown option '" + arg + "'; see --help", 2);
    }
  }
  return std::nullopt;
}

int runTerminalMerge(TForm1& form, const TerminalOptions& options) {
  if (!options.dest.empty()) {
    std::string dest = platform::absolutePath(options.dest);
    if (dest.back() != platform::kPathSeparator) dest += platform::kPathSeparator;
    form.FileLabel1.setFileName(dest);
  }
  form.CheckBox1.setChecked(options.deletePieces);
  form.CheckBox2.setChecked(!options.noUnzip);
  ProgressLines lines;
  try {
    form.merge(&lines);
  } catch (...) {
    // The default error handler's text: the message followed by ".".
    const std::string text = ui::Application::errorText(std::current_exception());
    printError(text);
    return 1;
  }
  std::fputs(kFilesMerged, stdout);
  std::fputs("\n", stdout);
  return 0;
}

std::string usageText() {
  return "Usage: <merger>.exe                 show the merger window\n"
         "       <merger>.exe [options]       merge in the terminal\n"
         "Joins this merger file and the .frg pieces beside it into the file that was split.\n"
         "Without a display the merge runs in the terminal.\n"
         "Options:\n"
         "  --dest DIR          destination folder (default: the merger's folder)\n"
         "  --delete-pieces     delete the .frg pieces once they are merged\n"
         "  --no-unzip          leave a compressed job's archive as it is\n"
         "  --help\n";
}

int runMergerProgram(const std::vector<std::string>& args, const std::string& ownPath,
                     const std::optional<MergerLayout>& layout) {
  ui::Application& application = ui::Application::instance();
  application.setTitle(kMergerTitle);
  zip::installEnglishMessages();
  if (!args.empty()) ui::Application::attachTerminal();
  TerminalOptions options;
  if (auto status = parseTerminalOptions(args, options, usageText())) return *status;
  if (!layout)
    return failInTerminal(
        "This merger program was built without its image stamp and cannot find its "
        "merge data",
        1);

  const bool terminal = !args.empty() || !application.initializeScreen();
  TForm1& form = application.createForm<TForm1>(ownPath, *layout);
  if (terminal) {
    const int status = runTerminalMerge(form, options);
    application.destroyForms();
    return status;
  }
  const int status = application.run();
  application.destroyForms();
  return status;
}

}  // namespace merger
