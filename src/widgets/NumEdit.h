// The numeric edit: a one-line edit whose typed characters are filtered so that it holds a number.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/Edit.h"

namespace widgets {

struct NumKeyRules {
  bool isFloat = true;   // the Float property
  bool negative = true;  // the Negative property
  // The locale's one-byte separators; 0 when the locale has none (or a multi-byte one).
  char decimalSeparator = '.';
  char thousandsSeparator = 0;
};

struct FilteredKey {
  char key;                // the character to hand on, ui::kRejectedChar when refused
  bool clearText = false;  // Escape: the field is emptied, which raises its change event
};

// Filters one typed character for a field that currently holds `text`.
FilteredKey filterNumKey(char key, std::string_view text, const NumKeyRules& rules);

// The key rules of the current locale for the given properties.
NumKeyRules localeKeyRules(bool isFloat, bool negative);

// Only typed characters are filtered; text set by program or pasted is taken as it is.
class TNumEdit : public ui::Edit {
 public:
  TNumEdit(ui::Container& parent, const ui::Rect& bounds, const std::string& text, int tabOrder);

  bool Float() const { return m_float; }
  void setFloat(bool value) { m_float = value; }
  // Stored only; nothing depends on it.
  std::uint8_t Decimals() const { return m_decimals; }
  void setDecimals(std::uint8_t value) { m_decimals = value; }
  bool Negative() const { return m_negative; }
  void setNegative(bool value) { m_negative = value; }

 protected:
  void keyPress(char& key) override;

 private:
  bool m_float = true;
  std::uint8_t m_decimals = 2;
  bool m_negative = true;
};

}  // namespace widgets
