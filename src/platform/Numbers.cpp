// Locale-aware number conversions: our own parsers and formatters, independent of the C library's
// locale-dependent ones, so that the separators are applied exactly once and by one rule.
#include "platform/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

namespace platform {

EInvalidOp::EInvalidOp() : std::runtime_error("Invalid floating point operation") {}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWith(const std::string& text, std::size_t at, const std::string& what) {
  return !what.empty() && text.compare(at, what.size(), what) == 0;
}

// A number scanned into the neutral form that std::from_chars reads ("-12.5e3").
struct Scanned {
  std::string neutral;
  bool whole = true;  // no fraction and no exponent
};

struct ScanRules {
  bool allowThousands = false;
  bool allowTrailingBlanks = true;
};

std::optional<Scanned> scanNumber(const std::string& text, const ScanRules& rules) {
  const std::string decimal = decimalSeparator();
  const std::string thousands = rules.allowThousands ? thousandsSeparator() : std::string();
  Scanned out;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && isBlank(text[i])) ++i;
  if (i < n && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') out.neutral += '-';
    ++i;
  }
  std::size_t digits = 0;
  bool lastWasDigit = false;
  while (i < n) {
    if (isDigit(text[i])) {
      out.neutral += text[i++];
      ++digits;
      lastWasDigit = true;
    } else if (lastWasDigit && startsWith(text, i, thousands) && decimal != thousands) {
      // A group separator only between digits of the integer part.
      i += thousands.size();
      if (i >= n || !isDigit(text[i])) return std::nullopt;
      lastWasDigit = false;
    } else {
      break;
    }
  }
  if (startsWith(text, i, decimal)) {
    i += decimal.size();
    out.neutral += '.';
    out.whole = false;
    while (i < n && isDigit(text[i])) {
      out.neutral += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    out.neutral += 'e';
    out.whole = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
      if (text[i] == '-') out.neutral += '-';
      ++i;
    }
    std::size_t expDigits = 0;
    while (i < n && isDigit(text[i])) {
      out.neutral += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  if (rules.allowTrailingBlanks)
    while (i < n && isBlank(text[i])) ++i;
  if (i != n) return std::nullopt;
  return out;
}

std::optional<double> toDouble(const std::string& neutral) {
  double value = 0;
  auto [end, ec] = std::from_chars(neutral.data(), neutral.data() + neutral.size(), value);
  if (ec != std::errc() || end != neutral.data() + neutral.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

template <typename Int>
std::optional<Int> toInteger(const std::string& neutral) {
  Int value = 0;
  auto [end, ec] = std::from_chars(neutral.data(), neutral.data() + neutral.size(), value);
  if (ec != std::errc() || end != neutral.data() + neutral.size()) return std::nullopt;
  return value;
}

// Rounds half to even within [lo, hi]; nullopt outside or for NaN.
std::optional<std::int64_t> roundEven(double value, double lo, double hi) {
  if (std::isnan(value)) return std::nullopt;
  double r = std::nearbyint(value);  // the default rounding mode sends halves to even
  if (!(r >= lo && r <= hi)) return std::nullopt;
  return static_cast<std::int64_t>(r);
}

// 2^63 as a double: the first value beyond the signed 64-bit range.
constexpr double kTwoTo63 = 9223372036854775808.0;

}  // namespace

double strToFloat(const std::string& text) {
  auto scanned = scanNumber(text, {});
  std::optional<double> value = scanned ? toDouble(scanned->neutral) : std::nullopt;
  if (!value) throw EConvertError("'" + text + "' is not a valid floating point value");
  // "-0" reads as 0, so that formats never show a negative zero.
  return *value == 0 ? 0.0 : *value;
}

std::int32_t strToInt(const std::string& text) {
  auto scanned = scanNumber(text, {.allowThousands = false, .allowTrailingBlanks = false});
  std::optional<std::int32_t> value;
  if (scanned && scanned->whole) value = toInteger<std::int32_t>(scanned->neutral);
  if (!value) throw EConvertError("'" + text + "' is not a valid integer value");
  return *value;
}

std::int64_t variantToInt64(const std::string& text) {
  auto scanned = scanNumber(text, {.allowThousands = true, .allowTrailingBlanks = true});
  std::optional<std::int64_t> value;
  if (scanned) {
    if (scanned->whole) {
      value = toInteger<std::int64_t>(scanned->neutral);  // exact for every 64-bit integer
    } else if (auto d = toDouble(scanned->neutral)) {
      value = roundEven(*d, -kTwoTo63, std::nextafter(kTwoTo63, 0.0));
    }
  }
  if (!value) throw EVariantError("Invalid variant type conversion");
  return *value;
}

std::int32_t variantToInt32(const std::string& text) {
  std::int64_t value = variantToInt64(text);
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    throw EVariantError("Invalid variant type conversion");
  return static_cast<std::int32_t>(value);
}

double variantToDouble(const std::string& text) {
  auto scanned = scanNumber(text, {.allowThousands = true, .allowTrailingBlanks = true});
  std::optional<double> value = scanned ? toDouble(scanned->neutral) : std::nullopt;
  if (!value) throw EVariantError("Invalid variant type conversion");
  return *value == 0 ? 0.0 : *value;
}

std::int32_t roundToInt32(double value) {
  auto r = roundEven(value, std::numeric_limits<std::int32_t>::min(),
                     std::numeric_limits<std::int32_t>::max());
  if (!r) throw EInvalidOp();
  return static_cast<std::int32_t>(*r);
}

std::int64_t roundToInt64(double value) {
  auto r = roundEven(value, -kTwoTo63, std::nextafter(kTwoTo63, 0.0));
  if (!r) throw EInvalidOp();
  return *r;
}

std::string formatFixed2(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  // Round on the 15-digit decimal form of the value, as a user reads it: 2.675 is shown as
  // 2.68 even though its binary neighbour lies just below the half.
  char buf[64];
  auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  std::string sci(buf, res.ptr);  // d.dddddddddddddde±XX
  std::size_t ePos = sci.find('e');
  std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);  // 15 digits
  int exponent = std::stoi(sci.substr(ePos + 1));
  // Digits kept: those before the point plus two decimals.
  const int keep = exponent + 1 + 2;
  std::string scaled;  // |value| x 100, rounded, as decimal digits
  if (keep >= 0) {
    for (int k = 0; k < keep; ++k) scaled += k < int(digits.size()) ? digits[std::size_t(k)] : '0';
    if (keep < int(digits.size()) && digits[std::size_t(keep)] >= '5') {
      int k = int(scaled.size()) - 1;
      while (k >= 0 && scaled[std::size_t(k)] == '9') scaled[std::size_t(k--)] = '0';
      if (k >= 0)
        ++scaled[std::size_t(k)];
      else
        scaled.insert(scaled.begin(), '1');
    }
  }
  std::size_t firstNonZero = scaled.find_first_not_of('0');
  bool zero = firstNonZero == std::string::npos;
  scaled = zero ? std::string("0") : scaled.substr(firstNonZero);
  if (scaled.size() < 3) scaled.insert(0, 3 - scaled.size(), '0');
  std::string text = (value < 0 && !zero) ? "-" : "";
  text += scaled.substr(0, scaled.size() - 2);
  text += decimalSeparator();
  text += scaled.substr(scaled.size() - 2);
  return text;
}

std::string formatGeneral(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) value = 0;  // no "-0"
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string text(buf, res.ptr);
  if (std::size_t dot = text.find('.'); dot != std::string::npos)
    text.replace(dot, 1, decimalSeparator());
  return text;
}

}  // namespace platform
