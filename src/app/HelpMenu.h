// Where the Help menu finds the documents that travel with the program.
#pragma once

#include <string>

namespace app {

// The folder, relative to the program's own folder, where the documents are installed.
#ifndef FENNOCK_DOCS_FROM_PROGRAM
#define FENNOCK_DOCS_FROM_PROGRAM "../share/fennock"
#endif

// The path to open for a document given relative to the documents' folder ("index.htm",
// "license.txt", "manual/insup.htm"). The menu looks in the current folder, as it always has;
// when the document is not there, it looks beside the program and then in the program's
// installed documents folder (FENNOCK_DOCS_FROM_PROGRAM), so that the menu works wherever the
// program is started from. When no folder has it, the path in the current folder is returned
// and the desktop reports it missing.
std::string helpDocumentPath(const std::string& document, const std::string& currentFolder,
                             const std::string& programFolder);
// The same for the running process: its current folder at this moment and its executable's.
std::string helpDocumentPath(const std::string& document);

}  // namespace app
