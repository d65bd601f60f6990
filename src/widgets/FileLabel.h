// The path label: holds a full path and shows as much of it as fits, folders elided with "...".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Label.h"

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

// A one-line label that keeps a full path in FileName and shows it shortened to its width.
class TFileLabel : public ui::Label {
 public:
  TFileLabel(ui::Container& parent, const ui::Rect& bounds, const std::string& fileName = "");

  const std::string& FileName() const { return m_fileName; }
  void setFileName(const std::string& value);
  TDirection Direction() const { return m_direction; }
  void setDirection(TDirection value);
  const std::string& Separator() const { return m_separator; }
  void setSeparator(const std::string& value);

  // Every move or resize fits the path to the new width.
  void resize(int x, int y, int w, int h) override;

 private:
  void showFitted();

  std::string m_fileName;
  std::string m_separator;
  TDirection m_direction = drFromLeft;
  PathParts m_parts;
};

}  // namespace widgets
