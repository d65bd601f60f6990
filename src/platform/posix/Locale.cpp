// The user's number separators: the C library's locale, which start-up sets from the
// environment.
#include <clocale>

#include "platform/Numbers.h"

namespace platform {

std::string decimalSeparator() {
  const char* sep = std::localeconv()->decimal_point;
  return (sep != nullptr && *sep != '\0') ? std::string(sep) : std::string(".");
}

std::string thousandsSeparator() {
  const char* sep = std::localeconv()->thousands_sep;
  return sep != nullptr ? std::string(sep) : std::string();
}

}  // namespace platform
