// OEM character conversion rules for names read from archives.
#include <gtest/gtest.h>

#include "zip/NameConversion.h"

using namespace zip;

TEST(NameConversion, HostSystemsThatMeanOem) {
  EXPECT_TRUE(usesOemCharset(0x0014, CodePageOpts::cpAuto));  // FAT
  EXPECT_FALSE(usesOemCharset(0x0014, CodePageOpts::cpNone));
  EXPECT_TRUE(usesOemCharset(0x0614, CodePageOpts::cpNone));   // HPFS
  EXPECT_TRUE(usesOemCharset(0x0B32, CodePageOpts::cpAuto));   // NTFS, version 50
  EXPECT_FALSE(usesOemCharset(0x0B14, CodePageOpts::cpAuto));  // NTFS, other version
  EXPECT_FALSE(usesOemCharset(0x0314, CodePageOpts::cpAuto));  // Unix
  EXPECT_TRUE(usesOemCharset(0x0314, CodePageOpts::cpOEM));
}

TEST(NameConversion, UpperHalfOfTheOemSetBecomesUtf8) {
  EXPECT_EQ(oemToUtf8("plain"), "plain");
  EXPECT_EQ(oemToUtf8("\x80\x9b\xe1\xff"), "\xc3\x87\xc2\xa2\xc3\x9f\xc2\xa0");  // Ç ¢ ß nbsp
  EXPECT_EQ(oemToUtf8("\xc9\xcd\xbb"), "\xe2\x95\x94\xe2\x95\x90\xe2\x95\x97");  // ╔═╗
}
