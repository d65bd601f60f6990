// The numeric edit's key filter on typed characters.
#include <gtest/gtest.h>

#include "widgets/NumEdit.h"

using namespace widgets;

namespace {

const NumKeyRules kDecimalDot{true, true, '.', ','};   // an English locale
const NumKeyRules kDecimalComma{true, true, ',', '.'};  // a German locale
const NumKeyRules kWhole{false, true, '.', ','};

char typed(char key, std::string_view text, const NumKeyRules& rules) {
  return filterNumKey(key, text, rules).key;
}

}  // namespace

TEST(NumEditFilter, MinusOnlyBesideExactlyOneCharacter) {
  EXPECT_EQ(typed('-', "", kDecimalDot), kRejectedKey);
  EXPECT_EQ(typed('-', "5", kDecimalDot), '-');
  EXPECT_EQ(typed('-', "12", kDecimalDot), kRejectedKey);
  EXPECT_EQ(typed('-', "5", kWhole), '-');
  EXPECT_EQ(typed('-', "", kWhole), kRejectedKey);
  // A lone minus already typed counts as the one character.
  EXPECT_EQ(typed('-', "-", kDecimalDot), '-');
  NumKeyRules positive = kDecimalDot;
  positive.negative = false;
  EXPECT_EQ(typed('-', "5", positive), kRejectedKey);
  // One character, several bytes.
  EXPECT_EQ(typed('-', "\xC3\xA9", kDecimalDot), '-');
}

TEST(NumEditFilter, OneSeparatorWhicheverIsPresent) {
  EXPECT_EQ(typed('.', "1", kDecimalDot), '.');
  EXPECT_EQ(typed('.', "1.3", kDecimalDot), kRejectedKey);
  EXPECT_EQ(typed('.', "1,3", kDecimalDot), kRejectedKey);
  EXPECT_EQ(typed('.', "1,3", kDecimalComma), kRejectedKey);
  EXPECT_EQ(typed('.', "", kDecimalDot), '.');  // a lone separator passes the filter
}

TEST(NumEditFilter, CommaLocaleStoresTheTypedDotAsComma) {
  EXPECT_EQ(typed('.', "1", kDecimalComma), ',');
  EXPECT_EQ(typed(',', "1", kDecimalComma), kRejectedKey);
  EXPECT_EQ(typed(',', "1", kDecimalDot), kRejectedKey);
  // A comma locale without a thousands separator still gets its own decimal separator.
  EXPECT_EQ(typed('.', "1", NumKeyRules{true, true, ',', 0}), ',');
  // No locale separator known: the dot stays.
  EXPECT_EQ(typed('.', "1", NumKeyRules{true, true, 0, 0}), '.');
}

TEST(NumEditFilter, WholeNumbersRefuseSeparators) {
  EXPECT_EQ(typed('.', "1", kWhole), kRejectedKey);
  EXPECT_EQ(typed(',', "1", kWhole), kRejectedKey);
  for (char digit = '0'; digit <= '9'; ++digit) EXPECT_EQ(typed(digit, "1", kWhole), digit);
}

TEST(NumEditFilter, EditingKeysPassOthersAreRefused) {
  for (const NumKeyRules& rules : {kDecimalDot, kWhole}) {
    EXPECT_EQ(typed(kBackspaceKey, "12", rules), kBackspaceKey);
    EXPECT_EQ(typed(kEnterKey, "12", rules), kEnterKey);
    for (char key : {'a', 'Z', ' ', '+', 'e', '\t', char(1), char(3), char(22), char(24)})
      EXPECT_EQ(typed(key, "12", rules), kRejectedKey) << int(key);
  }
}

TEST(NumEditFilter, EscapeClearsTheFieldAndPassesOn) {
  for (const NumKeyRules& rules : {kDecimalDot, kDecimalComma, kWhole}) {
    FilteredKey result = filterNumKey(kEscapeKey, "1.38", rules);
    EXPECT_EQ(result.key, kEscapeKey);
    EXPECT_TRUE(result.clearText);
  }
  EXPECT_FALSE(filterNumKey('1', "", kDecimalDot).clearText);
}
