// The terminal front end's split: the main window is built but not shown, the file is chosen
// as its "Change" button chooses it, the options are set through the controls and the split
// button is pressed. Every error is reported by the window's default error handler.
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/JobViews.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "job/MergerSystem.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Events.h"

namespace app {

namespace {

struct SplitOptions {
  std::string file;
  std::optional<std::string> size;
  std::optional<int> unit;
  std::optional<std::string> count;
  std::optional<std::string> dest;
  std::optional<bool> compress;
  std::optional<bool> batMerger;
  bool deleteInput = false;
  std::optional<bool> shMerger;  // unset: as the Options menu was left
  bool openDest = false;
  bool overwrite = false;
  std::optional<bool> checksums;
  std::optional<job::MergerSystem> mergerFor;  // unset: as the Options menu was left
  bool help = false;
};

// An error in the command line itself, shown like any other error.
class EUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int unitIndexOf(const std::string& unit) {
  if (unit == "bytes") return 0;
  if (unit == "Kbytes") return 1;
  if (unit == "Mbytes") return 2;
  throw EUsage("Unknown unit '" + unit + "'; use bytes, Kbytes or Mbytes");
}

SplitOptions parse(const std::vector<std::string>& args) {
  SplitOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
      if (!options.file.empty())
        throw EUsage("Only one file can be split at a time ('" + arg + "' is a second one)");
      options.file = arg;
      continue;
    }
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw EUsage("Option " + arg + " needs a value");
      return args[++i];
    };
    if (arg == "--size") {
      options.size = value();
    } else if (arg == "--unit") {
      options.unit = unitIndexOf(value());
    } else if (arg == "--count") {
      options.count = value();
    } else if (arg == "--dest") {
      options.dest = value();
    } else if (arg == "--compress") {
      options.compress = true;
    } else if (arg == "--no-compress") {
      options.compress = false;
    } else if (arg == "--merger") {
      const std::string& kind = value();
      if (kind != "exe" && kind != "bat")
        throw EUsage("Unknown merger '" + kind + "'; use exe or bat");
      options.batMerger = kind == "bat";
    } else if (arg == "--merger-for") {
      const std::string& system = value();
      options.mergerFor = job::mergerSystemNamed(system);
      if (!options.mergerFor)
        throw EUsage("Unknown system '" + system + "' for --merger-for; use windows or linux");
      if (!TForm1::hasMerger(*options.mergerFor)) throw EUsage(job::kNoWindowsMergerText);
    } else if (arg == "--sh-merger" || arg == "--no-sh-merger") {
      options.shMerger = arg == "--sh-merger";
    } else if (arg == "--delete-input") {
      options.deleteInput = true;
    } else if (arg == "--open-dest") {
      options.openDest = true;
    } else if (arg == "--checksums" || arg == "--no-checksums") {
      options.checksums = arg == "--checksums";
    } else if (arg == "--overwrite") {
      options.overwrite = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    } else if (arg == "--") {
      optionsEnded = true;
    } else {
      throw EUsage("Unknown option '" + arg + "'; see \"fennock --help\"");
    }
  }
  if (options.file.empty()) throw EUsage("No file to split; see \"fennock --help\"");
  if (options.size && options.count) throw EUsage("Give either --size or --count, not both");
  if (options.unit && options.count) throw EUsage("--unit goes with --size, not with --count");
  return options;
}

// Sets the window's controls from the options, as a user would set them.
void applyOptions(TForm1& form, const SplitOptions& options) {
  if (options.dest) {
    std::string folder = platform::absolutePath(*options.dest);
    if (!platform::folderExists(folder))
      throw EUsage("The destination folder " + folder + " does not exist");
    form.FileLabel2->setFileName(folder);
  }
  if (options.compress) form.CheckBox1->setChecked(*options.compress);
  if (options.batMerger) {
    if (*options.batMerger && !form.RadioButton3->enabled())
      throw EUsage("The .BAT merger cannot join compressed pieces; add --no-compress");
    (*options.batMerger ? form.RadioButton3 : form.RadioButton4)->setChecked(true);
  }
  if (options.count) {
    platform::strToInt(*options.count);  // the window's own text for what is no whole number
    form.RadioButton2->setChecked(true);
    form.NumEdit2->setText(*options.count);
  }
  if (options.size || options.unit) form.RadioButton1->setChecked(true);
  if (options.unit) {
    form.ComboBox1->setItemIndex(*options.unit);
    form.ComboBox1Change();
  }
  if (options.size) form.NumEdit1->setText(*options.size);
  if (options.shMerger) form.setShMerger(*options.shMerger);
  form.CheckBox2->setChecked(options.deleteInput);
  form.CheckBox3->setChecked(options.openDest);
  if (options.checksums) form.setChecksums(*options.checksums);
  if (options.mergerFor) form.setMergerFor(*options.mergerFor);
}

}  // namespace

int runSplitCommand(const std::vector<std::string>& args, std::FILE* out) {
  initializeApplication();
  ui::ScriptedDialogs answers(/*echo=*/true);
  ui::ScopedDialogs scoped(answers);

  std::optional<SplitOptions> options;
  ui::runEvent([&] { options = parse(args); });
  if (answers.errorCount() > 0) return 2;
  if (options->help) {
    std::fputs(usageText().c_str(), out);
    return 0;
  }
  // A set made for another file of the same base name is replaced only when asked to.
  answers.setConfirmAnswer(options->overwrite);

  // The window is built as on screen, so its defaults are the window's. Building it writes the
  // stores' files: a failure there is reported like any other, and what was written is removed.
  std::optional<TForm1> window;
  ui::runEvent([&] { window.emplace(); });
  if (answers.errorCount() > 0) return 1;
  TForm1& form = *window;
  TerminalProgressView view(form, out);
  form.setProgressView(&view);

  answers.queueOpenFile(platform::absolutePath(options->file));
  form.Button1->click();
  if (answers.errorCount() > 0) return 1;

  ui::runEvent([&] { applyOptions(form, *options); });
  if (answers.errorCount() > 0) return 1;

  form.Button3->click();
  return answers.errorCount() > 0 ? 1 : 0;
}

}  // namespace app
