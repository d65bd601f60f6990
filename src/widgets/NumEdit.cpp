// The numeric edit and its key filter.
#include "widgets/NumEdit.h"

#include <string>

#include "platform/Numbers.h"

namespace widgets {

namespace {

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++count;  // UTF-8 continuation bytes belong to the character before
  return count;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char singleByte(const std::string& separator) { return separator.size() == 1 ? separator[0] : 0; }

}  // namespace

FilteredKey filterNumKey(char key, std::string_view text, const NumKeyRules& rules) {
  using ui::kBackspaceChar, ui::kEnterChar, ui::kEscapeChar, ui::kRejectedChar;
  // A minus sign is allowed only beside a single character, so it lands before or after it.
  if (key == '-' && rules.negative && characterCount(text) == 1) return {key};

  if (rules.isFloat) {
    if (key == '.' && text.find_first_of(".,") != std::string_view::npos) return {kRejectedChar};
    FilteredKey result{key};
    if (key == kEscapeChar) {
      result.clearText = true;
    } else if (key != kBackspaceChar && key != kEnterChar && key != '.' && !isDigit(key)) {
      result.key = kRejectedChar;
    }
    // "." is the one separator key that gets through; it stands for the locale's decimal
    // separator, so that in any comma locale the field holds a text that converts.
    if (result.key == '.' && rules.decimalSeparator != 0) result.key = rules.decimalSeparator;
    if (rules.thousandsSeparator != 0 && rules.decimalSeparator != 0 &&
        result.key == rules.thousandsSeparator)
      result.key = rules.decimalSeparator;
    return result;
  }

  if (key == kEscapeChar) return {key, true};
  if (key != kBackspaceChar && key != kEnterChar && !isDigit(key)) return {kRejectedChar};
  return {key};
}

NumKeyRules localeKeyRules(bool isFloat, bool negative) {
  return {isFloat, negative, singleByte(platform::decimalSeparator()),
          singleByte(platform::thousandsSeparator())};
}

TNumEdit::TNumEdit(ui::Container& parent, const ui::Rect& bounds, const std::string& text,
                   int tabOrder)
    : ui::Edit(parent, bounds, text, tabOrder) {}

void TNumEdit::keyPress(char& key) {
  // The locale is read per key: it is fixed at start-up, and tests switch it.
  FilteredKey filtered = filterNumKey(key, text(), localeKeyRules(m_float, m_negative));
  key = filtered.key;
  if (filtered.clearText) setText("");
}

}  // namespace widgets
