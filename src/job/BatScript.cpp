// The .BAT merger script.
#include "job/BatScript.h"

#include <algorithm>

namespace job {

std::string batPieceReference(const std::string& spacelessName, std::int64_t index) {
  const std::string digits = std::to_string(index);
  if (spacelessName.size() + digits.size() <= 8) return spacelessName + digits + ".frg";
  const std::size_t keep = 7 - std::min<std::size_t>(digits.size(), 7);
  return spacelessName.substr(0, keep) + "~" + digits + ".frg";
}

std::string batTargetName(const std::string& spacelessName, const std::string& fileExtension) {
  return spacelessName.substr(0, 8) + fileExtension;
}

BatScript::BatScript(const std::string& path) : m_file(platform::File::create(path)) {
  static const std::string kFirstWord = "copy /b";
  m_file.write(kFirstWord.data(), kFirstWord.size());
}

void BatScript::addPiece(const std::string& spacelessName, std::int64_t index) {
  std::string part = (index == 1 ? " " : " + ") + batPieceReference(spacelessName, index);
  m_file.write(part.data(), part.size());
}

void BatScript::finish(const std::string& spacelessName, const std::string& fileExtension) {
  std::string part = " " + batTargetName(spacelessName, fileExtension) + " ";
  m_file.write(part.data(), part.size());
  m_file.close();
}

}  // namespace job
