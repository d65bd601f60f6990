// The numeric edit's key filter.
#include "widgets/NumEdit.h"

namespace widgets {

namespace {

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++count;  // UTF-8 continuation bytes belong to the character before
  return count;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

FilteredKey filterNumKey(char key, std::string_view text, const NumKeyRules& rules) {
  // A minus sign is allowed only beside a single character, so it lands before or after it.
  if (key == '-' && rules.negative && characterCount(text) == 1) return {key};

  if (rules.isFloat) {
    if (key == '.' && text.find_first_of(".,") != std::string_view::npos) return {kRejectedKey};
    FilteredKey result{key};
    if (key == kEscapeKey) {
      result.clearText = true;
    } else if (key != kBackspaceKey && key != kEnterKey && key != '.' && !isDigit(key)) {
      result.key = kRejectedKey;
    }
    // "." is the one separator key that gets through; it stands for the locale's decimal
    // separator, so in a comma locale the field holds a text that converts.
    if (result.key == '.' && rules.decimalSeparator != 0) result.key = rules.decimalSeparator;
    if (rules.thousandsSeparator != 0 && rules.decimalSeparator != 0 &&
        result.key == rules.thousandsSeparator)
      result.key = rules.decimalSeparator;
    return result;
  }

  if (key == kEscapeKey) return {key, true};
  if (key != kBackspaceKey && key != kEnterKey && !isDigit(key)) return {kRejectedKey};
  return {key};
}

}  // namespace widgets
