// Matching names against "*" and "?" patterns, the same on every system.
#pragma once

#include <string_view>

namespace platform {

// Whether the whole of `text` matches `pattern`: "*" takes any run of bytes (none too), "?" any
// one byte, everything else itself; `foldCase` makes ASCII letters match either case.
bool wildcardMatch(std::string_view pattern, std::string_view text, bool foldCase = false);

}  // namespace platform
