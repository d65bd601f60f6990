// The numeric edit: its key filter and typing into the widget.
#include <gtest/gtest.h>

#include "support/ScopedLocale.h"
#include "ui/Form.h"
#include "widgets/NumEdit.h"

using namespace widgets;

namespace {

const NumKeyRules kDecimalDot{true, true, '.', ','};    // an English locale
const NumKeyRules kDecimalComma{true, true, ',', '.'};  // a German locale
const NumKeyRules kWhole{false, true, '.', ','};

char typed(char key, std::string_view text, const NumKeyRules& rules) {
  return filterNumKey(key, text, rules).key;
}

}  // namespace

TEST(NumEditFilter, MinusOnlyBesideExactlyOneCharacter) {
  EXPECT_EQ(typed('-', "", kDecimalDot), ui::kRejectedChar);
  EXPECT_EQ(typed('-', "5", kDecimalDot), '-');
  EXPECT_EQ(typed('-', "12", kDecimalDot), ui::kRejectedChar);
  EXPECT_EQ(typed('-', "5", kWhole), '-');
  EXPECT_EQ(typed('-', "", kWhole), ui::kRejectedChar);
  // A lone minus already typed counts as the one character.
  EXPECT_EQ(typed('-', "-", kDecimalDot), '-');
  NumKeyRules positive = kDecimalDot;
  positive.negative = false;
  EXPECT_EQ(typed('-', "5", positive), ui::kRejectedChar);
  // One character, several bytes.
  EXPECT_EQ(typed('-', "\xC3\xA9", kDecimalDot), '-');
}

TEST(NumEditFilter, OneSeparatorWhicheverIsPresent) {
  EXPECT_EQ(typed('.', "1", kDecimalDot), '.');
  EXPECT_EQ(typed('.', "1.3", kDecimalDot), ui::kRejectedChar);
  EXPECT_EQ(typed('.', "1,3", kDecimalDot), ui::kRejectedChar);
  EXPECT_EQ(typed('.', "1,3", kDecimalComma), ui::kRejectedChar);
  EXPECT_EQ(typed('.', "", kDecimalDot), '.');  // a lone separator passes the filter
}

TEST(NumEditFilter, CommaLocaleStoresTheTypedDotAsComma) {
  EXPECT_EQ(typed('.', "1", kDecimalComma), ',');
  EXPECT_EQ(typed(',', "1", kDecimalComma), ui::kRejectedChar);
  EXPECT_EQ(typed(',', "1", kDecimalDot), ui::kRejectedChar);
  // A comma locale without a thousands separator still gets its own decimal separator.
  EXPECT_EQ(typed('.', "1", NumKeyRules{true, true, ',', 0}), ',');
  // No locale separator known: the dot stays.
  EXPECT_EQ(typed('.', "1", NumKeyRules{true, true, 0, 0}), '.');
}

TEST(NumEditFilter, WholeNumbersRefuseSeparators) {
  EXPECT_EQ(typed('.', "1", kWhole), ui::kRejectedChar);
  EXPECT_EQ(typed(',', "1", kWhole), ui::kRejectedChar);
  for (char digit = '0'; digit <= '9'; ++digit) EXPECT_EQ(typed(digit, "1", kWhole), digit);
}

TEST(NumEditFilter, EditingKeysPassOthersAreRefused) {
  for (const NumKeyRules& rules : {kDecimalDot, kWhole}) {
    EXPECT_EQ(typed(ui::kBackspaceChar, "12", rules), ui::kBackspaceChar);
    EXPECT_EQ(typed(ui::kEnterChar, "12", rules), ui::kEnterChar);
    for (char key : {'a', 'Z', ' ', '+', 'e', '\t', char(1), char(3), char(22), char(24)})
      EXPECT_EQ(typed(key, "12", rules), ui::kRejectedChar) << int(key);
  }
}

TEST(NumEditFilter, EscapeClearsTheFieldAndPassesOn) {
  for (const NumKeyRules& rules : {kDecimalDot, kDecimalComma, kWhole}) {
    FilteredKey result = filterNumKey(ui::kEscapeChar, "1.38", rules);
    EXPECT_EQ(result.key, ui::kEscapeChar);
    EXPECT_TRUE(result.clearText);
  }
  EXPECT_FALSE(filterNumKey('1', "", kDecimalDot).clearText);
}

namespace {

struct NumEditWidget : ::testing::Test {
  NumEditWidget() {
    edit.setMaxLength(5);
    edit.onChange = [this] { ++changes; };
  }
  ui::Form form{"Test", 0, 0, 200, 100, false};
  TNumEdit edit{form, {10, 10, 41, 21}, "", 0};
  int changes = 0;
};

}  // namespace

TEST_F(NumEditWidget, TypedTextIsFilteredAndLimited) {
  edit.type("-1a2 .3.4-");
  EXPECT_EQ(edit.text(), "12.34");  // "-" refused (empty and then too long), the 2nd "." too
  edit.type("5");
  EXPECT_EQ(edit.text(), "12.34");  // the limit of five
}

TEST_F(NumEditWidget, MinusCanFollowOrPrecedeASingleDigit) {
  edit.type("5-");
  EXPECT_EQ(edit.text(), "5-");  // passes the filter but is no number
  edit.setText("5");
  edit.position(0);
  edit.type("-");
  EXPECT_EQ(edit.text(), "-5");
}

TEST_F(NumEditWidget, EscapeEmptiesTheFieldAndRaisesTheChange) {
  edit.type("1.5");
  changes = 0;
  edit.type("\x1b");
  EXPECT_EQ(edit.text(), "");
  EXPECT_EQ(changes, 1);
}

TEST_F(NumEditWidget, WholeNumbersAndCtrlKeys) {
  edit.setFloat(false);
  edit.type(
      "1.5,2\x16"
      "a");  // Ctrl+V arrives as 22 and is refused like a letter
  EXPECT_EQ(edit.text(), "152");
  // Text set by program (as pasted text) is not filtered.
  edit.setText("x,y");
  EXPECT_EQ(edit.text(), "x,y");
}

TEST_F(NumEditWidget, CommaLocaleStoresTheDotAsComma) {
  testing_support::ScopedLocale german("de_DE.UTF-8");
  if (!german.ok()) GTEST_SKIP() << "de_DE.UTF-8 is not generated";
  edit.type("1.,38");
  EXPECT_EQ(edit.text(), "1,38");
}
