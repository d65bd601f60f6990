// The user's number separators: the regional settings of the user's locale, which the C
// runtime's locale does not follow.
#include "platform/Numbers.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

// The locale's text for `type`; `fallback` when the system has none.
std::string localeText(LCTYPE type, const char* fallback) {
  // The longest separator the regional settings allow is three characters and the null.
  wchar_t buffer[8] = {};
  const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 8);
  if (length <= 0) return fallback;
  return fromUtf16(buffer, std::size_t(length - 1));
}

}  // namespace

std::string decimalSeparator() {
  const std::string sep = localeText(LOCALE_SDECIMAL, ".");
  return sep.empty() ? std::string(".") : sep;
}

std::string thousandsSeparator() { return localeText(LOCALE_STHOUSAND, ""); }

}  // namespace platform
