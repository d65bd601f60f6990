// The general exception that the store and its description raise, carrying a fixed English text.
#pragma once

#include <stdexcept>
#include <string>

namespace store {

class EFileSource : public std::runtime_error {
 public:
  explicit EFileSource(const std::string& message) : std::runtime_error(message) {}
};

// A window description that cannot be read back: an unknown component or property, or a
// value of the wrong kind.
class EReadError : public std::runtime_error {
 public:
  explicit EReadError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace store
