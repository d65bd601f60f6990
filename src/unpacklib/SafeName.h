// Turns an entry's stored name into a relative path that cannot leave the destination folder.
#pragma once

#include <string>
#include <vector>

namespace unpack {

struct SafeName {
  std::vector<std::string> folders;  // empty unless folder names are kept
  std::string file;                  // last component; empty for a folder entry
};

enum class NameVerdict {
  kSafe,
  kEmpty,      // nothing left to write (a bare "/", "C:", "." ...)
  kTraversal,  // a ".." component
  kNulByte,    // the stored name carries a NUL
  kReserved,   // Windows would not take it as it stands: a device, a stream, a trailing dot...
};

// Which file system's rules a name must also keep: Windows silently turns "a." into "a", opens a
// device for "nul.txt" and a data stream for "a:b", so such names are refused there.
enum class NameRules { kPosix, kWindows };
#ifdef _WIN32
inline constexpr NameRules kNativeNameRules = NameRules::kWindows;
#else
inline constexpr NameRules kNativeNameRules = NameRules::kPosix;
#endif

// `raw` is the stored name (for the NUL check), `name` its UTF-8 form. Both separators count
// ("/" and "\"), roots and drive prefixes ("C:") are dropped, "." components vanish and a ".."
// anywhere refuses the entry. Without `keepFolders` only the last component remains. Under the
// Windows rules every component must also be one that Windows stores under exactly that name.
NameVerdict makeSafeName(const std::string& raw, const std::string& name, bool isFolder,
                         bool keepFolders, SafeName& out, NameRules rules = kNativeNameRules);

}  // namespace unpack
