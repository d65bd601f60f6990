// Refusing names that would escape the destination: roots, drives, "..", NUL bytes.
#include "unpacklib/SafeName.h"

namespace unpack {

namespace {

bool isDrivePrefix(const std::string& component) {
  return component.size() >= 2 && component[1] == ':' &&
         ((component[0] >= 'A' && component[0] <= 'Z') ||
          (component[0] >= 'a' && component[0] <= 'z'));
}

std::vector<std::string> splitComponents(const std::string& name) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : name) {
    if (c == '/' || c == '\\') {
      parts.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  parts.push_back(std::move(current));
  return parts;
}

}  // namespace

NameVerdict makeSafeName(const std::string& raw, const std::string& name, bool isFolder,
                         bool keepFolders, SafeName& out) {
  out = SafeName{};
  if (raw.find('\0') != std::string::npos || name.find('\0') != std::string::npos)
    return NameVerdict::kNulByte;
  std::vector<std::string> parts = splitComponents(name);
  // "C:\dir\file" and "C:file" both lose their drive; the rest stays relative.
  if (!parts.empty() && isDrivePrefix(parts.front())) parts.front().erase(0, 2);

  std::vector<std::string> kept;
  for (std::string& part : parts) {
    if (part == "..") return NameVerdict::kTraversal;
    if (part.empty() || part == ".") continue;
    kept.push_back(std::move(part));
  }
  if (kept.empty()) return NameVerdict::kEmpty;
  if (isFolder) {
    if (!keepFolders) return NameVerdict::kEmpty;
    out.folders = std::move(kept);
    return NameVerdict::kSafe;
  }
  out.file = std::move(kept.back());
  kept.pop_back();
  if (keepFolders) out.folders = std::move(kept);
  return NameVerdict::kSafe;
}

}  // namespace unpack
