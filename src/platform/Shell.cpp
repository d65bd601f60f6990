// Opening targets: the installed opener, or the system's own way.
#include "platform/Shell.h"

#include <utility>

namespace platform {

namespace {

DocumentOpener& currentOpener() {
  static DocumentOpener opener;
  return opener;
}

}  // namespace

void openDocument(const std::string& target) {
  if (target.empty()) return;
  if (const DocumentOpener& opener = currentOpener())
    opener(target);
  else
    openWithSystem(target);
}

DocumentOpener setDocumentOpener(DocumentOpener opener) {
  return std::exchange(currentOpener(), std::move(opener));
}

}  // namespace platform
