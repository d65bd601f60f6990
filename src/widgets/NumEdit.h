// The numeric edit: a one-line edit whose typed characters are filtered so that it holds a number.
#pragma once

#include <string_view>

namespace widgets {

// What the key filter hands on in place of a rejected character; the edit never inserts it.
inline constexpr char kRejectedKey = 15;
inline constexpr char kBackspaceKey = 8;
inline constexpr char kEnterKey = 13;
inline constexpr char kEscapeKey = 27;

struct NumKeyRules {
  bool isFloat = true;   // the Float property
  bool negative = true;  // the Negative property
  // The locale's one-byte separators; 0 when the locale has none (or a multi-byte one).
  char decimalSeparator = '.';
  char thousandsSeparator = 0;
};

struct FilteredKey {
  char key;                // the character to hand on, kRejectedKey when refused
  bool clearText = false;  // Escape: the field is emptied, which raises its change event
};

// Filters one typed character for a field that currently holds `text`.
FilteredKey filterNumKey(char key, std::string_view text, const NumKeyRules& rules);

}  // namespace widgets
