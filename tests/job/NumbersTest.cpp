// Locale number conversions and formats, in the C locale and in a comma-decimal locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/Numbers.h"

using namespace platform;

namespace {

// Switches LC_ALL for one test and restores the C locale afterwards.
class LocaleScope {
 public:
  explicit LocaleScope(const char* name) { m_ok = std::setlocale(LC_ALL, name) != nullptr; }
  ~LocaleScope() { std::setlocale(LC_ALL, "C"); }
  bool ok() const { return m_ok; }

 private:
  bool m_ok;
};

template <typename E, typename F>
std::string messageOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "<no exception>";
}

}  // namespace

TEST(StrToFloat, AcceptsPlainDecimalsAndRejectsWithTheSystemText) {
  LocaleScope c("C");
  EXPECT_DOUBLE_EQ(strToFloat("1.38"), 1.38);
  EXPECT_DOUBLE_EQ(strToFloat(" -2.5 "), -2.5);
  EXPECT_DOUBLE_EQ(strToFloat(".5"), 0.5);
  EXPECT_DOUBLE_EQ(strToFloat("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(strToFloat("+7"), 7.0);
  // What the numeric field can hold without being a number.
  for (const char* bad : {"-", "5-", ".", "", "1,5", "1.2.3", "1e", "abc", "inf", "nan", "1e999"})
    EXPECT_EQ(messageOf<EConvertError>([&] { strToFloat(bad); }),
              std::string("'") + bad + "' is not a valid floating point value")
        << bad;
}

TEST(StrToInt, AcceptsSignedDecimalsWithinThirtyTwoBits) {
  LocaleScope c("C");
  EXPECT_EQ(strToInt("12"), 12);
  EXPECT_EQ(strToInt("  -3"), -3);
  EXPECT_EQ(strToInt("2147483647"), 2147483647);
  EXPECT_EQ(strToInt("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "-", "1.5", "2147483648", "3 ", "1e2", "x", "4-"})
    EXPECT_EQ(messageOf<EConvertError>([&] { strToInt(bad); }),
              std::string("'") + bad + "' is not a valid integer value")
        << bad;
}

TEST(VariantToInt, RoundsFractionsHalfToEven) {
  LocaleScope c("C");
  EXPECT_EQ(variantToInt32("1048576"), 1048576);
  EXPECT_EQ(variantToInt32("2.5"), 2);
  EXPECT_EQ(variantToInt32("3.5"), 4);
  EXPECT_EQ(variantToInt32("-2.5"), -2);
  EXPECT_EQ(variantToInt32("2.51"), 3);
  EXPECT_EQ(variantToInt32(" 7 "), 7);
  EXPECT_EQ(variantToInt64("3000000000"), 3000000000LL);
  EXPECT_EQ(variantToInt64("9223372036854775807"), 9223372036854775807LL);
  for (const char* bad : {"", "-", "5-", ".", "abc", "1..2", "99999999999999999999"})
    EXPECT_EQ(messageOf<EVariantError>([&] { variantToInt64(bad); }),
              "Invalid variant type conversion")
        << bad;
  EXPECT_THROW(variantToInt32("2147483648"), EVariantError);
}

TEST(RoundToInt32, HalvesGoToEvenAndOutOfRangeIsAnInvalidOperation) {
  EXPECT_EQ(roundToInt32(1.38 * 1048576), 1447035);
  EXPECT_EQ(roundToInt32(0.0005 * 1024), 1);
  EXPECT_EQ(roundToInt32(0.5), 0);
  EXPECT_EQ(roundToInt32(1.5), 2);
  EXPECT_EQ(roundToInt32(-1.5), -2);
  EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
  EXPECT_EQ(messageOf<EInvalidOp>([] { roundToInt32(2048.0 * 1048576); }),
            "Invalid floating point operation");
  EXPECT_THROW(roundToInt32(2147483647.5), EInvalidOp);  // rounds to 2^31
  EXPECT_THROW(roundToInt32(-2147483649.0), EInvalidOp);
  EXPECT_THROW(roundToInt32(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
}

TEST(FormatFixed2, TwoDecimalsHalvesAwayFromZero) {
  LocaleScope c("C");
  EXPECT_EQ(formatFixed2(3000000 / 1048576.0), "2.86");
  EXPECT_EQ(formatFixed2(1.0), "1.00");
  EXPECT_EQ(formatFixed2(0), "0.00");
  EXPECT_EQ(formatFixed2(0.125), "0.13");
  EXPECT_EQ(formatFixed2(-0.125), "-0.13");
  EXPECT_EQ(formatFixed2(2.675), "2.68");  // just below the half in binary, a half to the reader
  EXPECT_EQ(formatFixed2(1.005), "1.01");
  EXPECT_EQ(formatFixed2(0.005), "0.01");
  EXPECT_EQ(formatFixed2(0.0049), "0.00");
  EXPECT_EQ(formatFixed2(-0.001), "0.00");
  EXPECT_EQ(formatFixed2(9.995), "10.00");
  EXPECT_EQ(formatFixed2(-2.0737), "-2.07");
  EXPECT_EQ(formatFixed2(123456789.0), "123456789.00");
  EXPECT_EQ(formatFixed2(1e20), "100000000000000000000.00");
}

TEST(FormatGeneral, FifteenDigitsWithoutTrailingZeros) {
  LocaleScope c("C");
  EXPECT_EQ(formatGeneral(2344 * 0.001), "2.344");
  EXPECT_EQ(formatGeneral(60000 * 0.001), "60");
  EXPECT_EQ(formatGeneral(0 * 0.001), "0");
  EXPECT_EQ(formatGeneral(1 * 0.001), "0.001");
}

TEST(CommaLocale, SeparatorsComeFromTheLocale) {
  LocaleScope de("de_DE.UTF-8");
  if (!de.ok()) GTEST_SKIP() << "de_DE.UTF-8 is not generated";
  EXPECT_EQ(decimalSeparator(), ",");
  EXPECT_EQ(thousandsSeparator(), ".");
  EXPECT_DOUBLE_EQ(strToFloat("1,38"), 1.38);
  EXPECT_THROW(strToFloat("1.38"), EConvertError);
  EXPECT_EQ(variantToInt32("2,5"), 2);
  EXPECT_EQ(variantToInt32("1.048.576"), 1048576);
  EXPECT_EQ(variantToInt32("1.234,5"), 1234);
  EXPECT_THROW(variantToInt32("1."), EVariantError);
  EXPECT_EQ(formatFixed2(3000000 / 1048576.0), "2,86");
  EXPECT_EQ(formatGeneral(2.344), "2,344");
}

TEST(CLocale, SeparatorsDefaultToAPoint) {
  LocaleScope c("C");
  EXPECT_EQ(decimalSeparator(), ".");
  EXPECT_EQ(thousandsSeparator(), "");
}
