// Locale-aware number conversions and formats shared by the job, the estimate and the dialogs.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// A text that does not convert ("'%s' is not a valid floating point value",
// "'%s' is not a valid integer value").
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that the variant conversion cannot turn into a number ("Invalid variant type conversion").
class EVariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A floating-point value with no integer counterpart ("Invalid floating point operation").
class EInvalidOp : public std::runtime_error {
 public:
  EInvalidOp();
};

// The separators of the current LC_NUMERIC locale (setlocale(LC_ALL, "") runs at start-up; on
// Windows, the user's regional settings).
// The decimal separator is "." when the locale names none; the thousands separator may be empty.
std::string decimalSeparator();
std::string thousandsSeparator();

// Text to double: optional blanks around, sign, digits with the locale's decimal separator,
// optional exponent. Anything else throws EConvertError "'<text>' is not a valid floating point
// value".
double strToFloat(const std::string& text);

// Text to a 32-bit integer: optional leading blanks, sign, decimal digits, within range.
// Anything else throws EConvertError "'<text>' is not a valid integer value".
std::int32_t strToInt(const std::string& text);

// The variant conversion of a text to an integer under the user's locale: blanks around, sign,
// digits with thousands separators, the decimal separator, a fraction and an exponent are
// accepted, and the value is rounded to a whole number with halves to the even neighbour.
// A text that is not such a number, or one beyond the 64-bit range, throws EVariantError
// "Invalid variant type conversion".
std::int64_t variantToInt64(const std::string& text);
// The same bounded to 32 bits; out of range is EVariantError too.
std::int32_t variantToInt32(const std::string& text);
// The variant conversion of a text to a double, by the same rules.
double variantToDouble(const std::string& text);

// Rounds to the nearest 32-bit integer, halves to the even neighbour; NaN or a value outside
// the 32-bit range throws EInvalidOp.
std::int32_t roundToInt32(double value);
// The same rounding to 64 bits (used where sizes are 64-bit inside).
std::int64_t roundToInt64(double value);

// The "0.00" pattern: at least one integer digit, exactly two decimals rounded with halves away
// from zero (on the value's 15-digit decimal form), the locale's decimal separator, no grouping.
std::string formatFixed2(double value);

// The general form: up to 15 significant digits, no trailing zeros, the locale's decimal
// separator (2.344, 60, 0).
std::string formatGeneral(double value);

}  // namespace platform
