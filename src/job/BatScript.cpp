// The .BAT merger script.
#include "job/BatScript.h"

#include <algorithm>

namespace job {

namespace {

// The first `count` characters of a UTF-8 text; a byte that does not start a character (a
// continuation byte) belongs to the character before it.
std::string firstCharacters(const std::string& text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size(); ++end) {
    const bool starts = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
    if (starts && seen++ == count) break;
  }
  return text.substr(0, end);
}

std::size_t characterCount(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

std::string batPieceReference(const std::string& spacelessName, std::int64_t index) {
  const std::string digits = std::to_string(index);
  if (characterCount(spacelessName) + digits.size() <= 8) return spacelessName + digits + ".frg";
  const std::size_t keep = 7 - std::min<std::size_t>(digits.size(), 7);
  return firstCharacters(spacelessName, keep) + "~" + digits + ".frg";
}

std::string batTargetName(const std::string& spacelessName, const std::string& fileExtension) {
  return firstCharacters(spacelessName, 8) + fileExtension;
}

BatScript::BatScript(platform::File& file) : m_file(file) {
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
}

}  // namespace job
