// Opening a document, folder or web address with the desktop's associated application.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Hands the target to `xdg-open` (started with an argument vector, never through a shell) and
// returns at once; whether an application opens it is not checked. An empty target opens nothing.
void openDocument(const std::string& target);

// How targets are opened: the default starts xdg-open; tests install a recorder.
using DocumentOpener = std::function<void(const std::string& target)>;
// Installs an opener (an empty one restores xdg-open) and returns the one it replaces.
DocumentOpener setDocumentOpener(DocumentOpener opener);

// The system's own way, which openDocument takes unless an opener is installed: xdg-open, or the
// shell's "open" verb on Windows.
void openWithSystem(const std::string& target);

}  // namespace platform
