// The merger program's window inside Fennock, for a set chosen by any one of its files.
#pragma once

#include <memory>
#include <string>

#include "merger/MergerForm.h"

namespace app {

// The merger's window (not shown) that joins the set `member` belongs to, with the merger's own
// code: the merger file is read, never run. Throws EMergeError when `member` is no file of a set.
std::unique_ptr<merger::TForm1> makeJoinForm(const std::string& member);

// Whether `member` looks like one of a set's files (a merger, piece, script or checksum file).
bool isSetMember(const std::string& member);

}  // namespace app
