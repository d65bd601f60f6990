// Refusing names that would escape the destination: roots, drives, "..", NUL bytes.
#include "unpacklib/SafeName.h"

#include <string_view>

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

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices in every folder, with any extension and
// with spaces before it.
bool isDeviceName(const std::string& component) {
  std::string base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = upper(c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool keepsWindowsRules(const std::string& component) {
  // Trailing dots and spaces are dropped by Windows: "a." would write "a", ". ." would be "..".
  if (component.back() == '.' || component.back() == ' ') return false;
  for (char c : component) {
    const auto byte = static_cast<unsigned char>(c);
    // ":" opens a data stream; the others are wildcards, redirections or control characters.
    if (byte < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
  }
  return !isDeviceName(component);
}

}  // namespace

NameVerdict makeSafeName(const std::string& raw, const std::string& name, bool isFolder,
                         bool keepFolders, SafeName& out, NameRules rules) {
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
    if (rules == NameRules::kWindows && !keepsWindowsRules(part)) return NameVerdict::kReserved;
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
