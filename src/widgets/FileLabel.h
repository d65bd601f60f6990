// The path label: holds a full path and shows as much of it as fits, folders elided with "...".
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace widgets {

enum TDirection { drFromLeft, drFromRight };

// Pixel width of a text in the label's font; FLTK's metrics on screen, a fixed measure in tests.
using TextWidth = std::function<int(const std::string&)>;

// A path cut at every separator. The drive flag marks a first part that stays in front of the
// dots when the path is shortened: a drive such as "C:" or, on this platform, the empty part
// before the leading "/" of an absolute path.
struct PathParts {
  std::vector<std::string> parts;
  bool drive = false;
};

PathParts splitPath(const std::string& path, const std::string& separator);

// The text shown for `fileName` in a label `width` pixels wide.
std::string fitPath(const std::string& fileName, const PathParts& split,
                    const std::string& separator, TDirection direction, int width,
                    const TextWidth& measure);

}  // namespace widgets
