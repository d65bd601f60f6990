// The path label's splitting and shortening.
#include "widgets/FileLabel.h"

#include "platform/Paths.h"
#include "ui/TextMeasure.h"

namespace widgets {

namespace {

bool isDrivePart(const std::string& first, std::size_t partCount) {
  if (first.size() > 1 && first.back() == ':') return true;
  // An absolute path starts with the separator, so its first part is empty: the root.
  return first.empty() && partCount > 1;
}

}  // namespace

PathParts splitPath(const std::string& path, const std::string& separator) {
  PathParts result;
  // An empty separator would match everywhere without advancing; treat the path as one part.
  if (separator.empty()) {
    result.parts.push_back(path);
    return result;
  }
  std::size_t start = 0;
  for (;;) {
    std::size_t found = path.find(separator, start);
    if (found == std::string::npos) {
      result.parts.push_back(path.substr(start));
      break;
    }
    result.parts.push_back(path.substr(start, found - start));
    start = found + separator.size();
  }
  result.drive = isDrivePart(result.parts.front(), result.parts.size());
  return result;
}

std::string fitPath(const std::string& fileName, const PathParts& split,
                    const std::string& separator, TDirection direction, int width,
                    const TextWidth& measure) {
  if (fileName.empty() || measure(fileName) <= width || split.parts.empty()) return fileName;

  const std::string dots = "..." + separator;
  const std::string& last = split.parts.back();
  const int lastWidth = measure(last);
  const int dotsWidth = measure(dots);
  if (lastWidth + dotsWidth >= width) return last;

  const std::string head = split.drive ? split.parts.front() + separator : std::string();
  const std::size_t firstMiddle = split.drive ? 1 : 0;
  const std::size_t endMiddle = split.parts.size() - 1;  // the last part is not a middle one
  const int headWidth = measure(head);
  if (headWidth + lastWidth + dotsWidth >= width) return dots + last;

  const int used = lastWidth + dotsWidth + headWidth;
  std::string mid;
  if (direction == drFromLeft) {
    // Keep the folders nearest the file name.
    for (std::size_t i = endMiddle; i > firstMiddle; --i) {
      std::string candidate = split.parts[i - 1] + separator + mid;
      if (measure(candidate) + used > width) break;
      mid = std::move(candidate);
    }
    return head + dots + mid + last;
  }
  // Keep the folders nearest the root.
  for (std::size_t i = firstMiddle; i < endMiddle; ++i) {
    std::string candidate = mid + split.parts[i] + separator;
    if (measure(candidate) + used > width) break;
    mid = std::move(candidate);
  }
  return head + mid + dots + last;
}

TFileLabel::TFileLabel(ui::Container& parent, const ui::Rect& bounds, const std::string& fileName)
    : ui::Label(parent, bounds, "", false),
      m_fileName(fileName),
      m_separator(1, platform::kPathSeparator),
      m_parts(splitPath(fileName, m_separator)) {
  showFitted();
}

void TFileLabel::setFileName(const std::string& value) {
  if (value == m_fileName) return;
  m_fileName = value;
  m_parts = splitPath(m_fileName, m_separator);
  showFitted();
}

void TFileLabel::setDirection(TDirection value) {
  if (value == m_direction) return;
  m_direction = value;
  showFitted();
}

void TFileLabel::setSeparator(const std::string& value) {
  if (value == m_separator) return;
  m_separator = value;
  m_parts = splitPath(m_fileName, m_separator);
  showFitted();
}

void TFileLabel::resize(int x, int y, int w, int h) {
  ui::Label::resize(x, y, w, h);
  showFitted();
}

void TFileLabel::showFitted() {
  const ui::TextMeasure& measure = ui::textMeasure();
  const int font = labelfont(), size = labelsize();
  setCaption(fitPath(m_fileName, m_parts, m_separator, m_direction, w(),
                     [&](const std::string& text) { return measure.width(text, font, size); }));
}

}  // namespace widgets
