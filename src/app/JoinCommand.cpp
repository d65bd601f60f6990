// `fennock join FILE`: the merger's window for FILE's set, built but not shown, merged from the
// terminal exactly as the merger file itself merges when it is given options.
#include <cstdio>

#include "app/JoinWindow.h"
#include "app/Program.h"
#include "merger/Program.h"
#include "platform/Paths.h"
#include "ui/Application.h"

namespace app {

int runJoinCommand(const std::vector<std::string>& args) {
  initializeApplication();
  merger::TerminalOptions options;
  std::string member;
  if (auto status = merger::parseTerminalOptions(args, options, usageText(), &member))
    return *status;
  if (member.empty()) return merger::failInTerminal("No file to join; see \"fennock --help\"", 2);
  std::unique_ptr<merger::TForm1> form;
  try {
    form = makeJoinForm(platform::absolutePath(member));
  } catch (const std::exception& error) {
    return merger::failInTerminal(error.what(), 1);
  }
  return merger::runTerminalMerge(*form, options);
}

}  // namespace app
