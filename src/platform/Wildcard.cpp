// "*" and "?" matching without recursion: the last star is retried one byte further on failure.
#include "platform/Wildcard.h"

#include <string>

namespace platform {

namespace {

char folded(char c, bool foldCase) {
  return foldCase && c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view text, bool foldCase) {
  std::size_t p = 0, t = 0, starP = std::string::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || folded(pattern[p], foldCase) == folded(text[t], foldCase))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace platform
