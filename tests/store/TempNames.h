// Reads a store's temporary file name back: "~fs", the process id, "-", the seconds, k, then the
// extension.
#pragma once

#include <unistd.h>

#include <cctype>
#include <optional>
#include <string>

#include "platform/Paths.h"

namespace testing_support {

struct TempName {
  std::string digits;     // the seconds (0 to 60) followed by k
  std::string extension;  // everything after the digits
  // The seconds part, given how many digits k has.
  std::string seconds(std::size_t kDigits = 1) const {
    return digits.substr(0, digits.size() - kDigits);
  }
  char lastDigit() const { return digits.back(); }
};

// "~fs", this process's id and "-": the start of every name this process's stores take.
inline std::string tempNamePrefix() { return "~fs" + std::to_string(::getpid()) + "-"; }

// nullopt unless the path's file name has the form of a store's temporary file.
inline std::optional<TempName> parseTempName(const std::string& path) {
  std::string name = platform::fileNameOf(path);
  if (name.rfind("~fs", 0) != 0) return std::nullopt;
  std::size_t dash = 3;
  while (dash < name.size() && std::isdigit(static_cast<unsigned char>(name[dash]))) ++dash;
  if (dash == 3 || dash == name.size() || name[dash] != '-') return std::nullopt;
  name = "~fs" + name.substr(dash + 1);
  std::size_t end = 3;
  while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) ++end;
  // At least one digit of seconds and one of k.
  if (end < 5) return std::nullopt;
  return TempName{name.substr(3, end - 3), name.substr(end)};
}

}  // namespace testing_support
