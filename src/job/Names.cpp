// Output names of a job.
#include "job/Names.h"

#include "platform/Paths.h"

namespace job {

std::string RemoveSubstring(const std::string& s, const std::string& sub) {
  if (sub.empty()) return s;
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = s.find(sub, from)) != std::string::npos; from = at + sub.size())
    out.append(s, from, at - from);
  out.append(s, from, std::string::npos);
  return out;
}

JobNames deriveNames(const std::string& inputPath) {
  const std::string fileName = platform::fileNameOf(inputPath);
  const std::size_t dot = fileName.find('.');
  JobNames names;
  names.baseName = fileName.substr(0, dot);
  names.fileExtension = dot == std::string::npos ? std::string() : fileName.substr(dot);
  names.spacelessName = RemoveSubstring(names.baseName, " ");
  return names;
}

std::string pieceFileName(const JobNames& names, bool exeMerger, std::int64_t index) {
  return (exeMerger ? names.baseName : names.spacelessName) + std::to_string(index) + ".frg";
}

std::string mergerFileName(const JobNames& names, bool exeMerger) {
  return names.baseName + (exeMerger ? ".exe" : ".bat");
}

std::string trimTrailingControls(const std::string& name) {
  std::size_t end = name.size();
  while (end > 0 && static_cast<unsigned char>(name[end - 1]) <= 32) --end;
  return name.substr(0, end);
}

}  // namespace job
