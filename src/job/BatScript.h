// The .BAT merger: one "copy /b" line, without a line ending, written part by part as the job runs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"

namespace job {

// The reference of piece i: its file name, or the 8.3 short form "abcdef~1.frg" when the name
// part would be longer than eight characters. Lengths count characters, not bytes, so that a
// short form never ends inside a character.
std::string batPieceReference(const std::string& spacelessName, std::int64_t index);
// The joined file's name: the first eight characters of the spaceless name and the extension.
std::string batTargetName(const std::string& spacelessName, const std::string& fileExtension);

class BatScript {
 public:
  // Writes the script's first word into `file`, which the caller owns, commits and closes.
  explicit BatScript(platform::File& file);
  // " " before piece 1, " + " before every later piece, then the reference.
  void addPiece(const std::string& spacelessName, std::int64_t index);
  // " ", the target name and a final " ".
  void finish(const std::string& spacelessName, const std::string& fileExtension);

 private:
  platform::File& m_file;
};

}  // namespace job
