// Piece arithmetic, output names, the .BAT script's references and the merger's record.
#include <gtest/gtest.h>

#include <clocale>

#include "job/BatScript.h"
#include "job/ChecksumFile.h"
#include "job/Names.h"
#include "job/PiecePlan.h"
#include "job/ScriptRecord.h"
#include "job/SplitJob.h"
#include "platform/Numbers.h"
#include "support/ScratchDir.h"

using namespace job;

TEST(PieceSize, UnitsAndRounding) {
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(pieceSizeFromText("1", 2), 1048576);
  EXPECT_EQ(pieceSizeFromText("1.38", 2), 1447035);
  EXPECT_EQ(pieceSizeFromText("1.38", -1), 1447035);  // no selection is megabytes
  EXPECT_EQ(pieceSizeFromText("1.38", 7), 1447035);
  EXPECT_EQ(pieceSizeFromText("2.5", 1), 2560);
  EXPECT_EQ(pieceSizeFromText("0.0005", 1), 1);  // 0.512 rounds up
  EXPECT_EQ(pieceSizeFromText("1000", 0), 1000);
  EXPECT_EQ(pieceSizeFromText("2.5", 0), 2);  // the variant conversion rounds halves to even
  EXPECT_EQ(pieceSizeFromText("2047.99", 2), 2147473162);
}

TEST(PieceSize, BadTextsKeepTheSystemTextsAndOddValuesAreRefused) {
  std::setlocale(LC_ALL, "C");
  EXPECT_THROW(pieceSizeFromText("", 2), EJobRefused);
  EXPECT_THROW(pieceSizeFromText("  ", 0), EJobRefused);
  EXPECT_THROW(pieceSizeFromText("0", 0), EJobRefused);
  EXPECT_THROW(pieceSizeFromText("0.4", 0), EJobRefused);
  EXPECT_THROW(pieceSizeFromText("-1", 1), EJobRefused);
  EXPECT_THROW(pieceSizeFromText("0.0001", 1), EJobRefused);  // 0.1024 rounds to 0
  EXPECT_THROW(pieceSizeFromText("2147483648", 0), EJobRefused);
  try {
    pieceSizeFromText("5-", 2);
    ADD_FAILURE();
  } catch (const platform::EVariantError& e) {
    EXPECT_STREQ(e.what(), "Invalid variant type conversion");
  }
  EXPECT_THROW(pieceSizeFromText("-", 0), platform::EVariantError);
  try {
    pieceSizeFromText("2048", 2);
    ADD_FAILURE();
  } catch (const platform::EInvalidOp& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
}

TEST(PieceCount, TextAndRefusals) {
  EXPECT_EQ(pieceCountFromText("3"), 3);
  EXPECT_THROW(pieceCountFromText(""), EJobRefused);
  EXPECT_THROW(pieceCountFromText("0"), EJobRefused);
  EXPECT_THROW(pieceCountFromText("-4"), EJobRefused);
  try {
    pieceCountFromText("1.5");
    ADD_FAILURE();
  } catch (const platform::EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1.5' is not a valid integer value");
  }
}

TEST(PiecePlan, SizeAndCountModes) {
  EXPECT_EQ(planBySize(3000000, 1048576).pieceCount, 3);
  EXPECT_EQ(planBySize(3304140, 1048576).pieceCount, 4);
  EXPECT_EQ(planBySize(3145728, 1048576).pieceCount, 3);  // exact multiple: no empty piece
  EXPECT_EQ(planBySize(0, 1048576).pieceCount, 0);
  EXPECT_EQ(planBySize(3221225472LL, 65536).pieceCount, 49152);  // 3 GiB
  EXPECT_THROW(planBySize(3221225472LL, 1), EJobRefused);        // 3 billion pieces
  EXPECT_EQ(planByCount(10, 3).pieceSize, 3);
  EXPECT_EQ(planByCount(10000000, 3).pieceSize, 3333333);
  EXPECT_EQ(planByCount(5, 9).pieceSize, 0);  // more pieces than bytes
  EXPECT_THROW(planByCount(3221225472LL, 1), EJobRefused);
  EXPECT_EQ(planByCount(3221225472LL, 2).pieceSize, 1610612736);
}

TEST(Names, BaseExtensionAndSpaceless) {
  JobNames n = deriveNames("/in/My Report.doc");
  EXPECT_EQ(n.baseName, "My Report");
  EXPECT_EQ(n.fileExtension, ".doc");
  EXPECT_EQ(n.spacelessName, "MyReport");
  n = deriveNames("/x/README");
  EXPECT_EQ(n.baseName, "README");
  EXPECT_EQ(n.fileExtension, "");
  n = deriveNames("/My.Files/a b.txt");  // a dot in a folder name does not count
  EXPECT_EQ(n.baseName, "a b");
  EXPECT_EQ(n.fileExtension, ".txt");
  EXPECT_EQ(n.spacelessName, "ab");
  n = deriveNames("/in/archive.tar.gz");
  EXPECT_EQ(n.baseName, "archive");
  EXPECT_EQ(n.fileExtension, ".tar.gz");
  EXPECT_EQ(deriveNames("/in/.profile").baseName, "");
  EXPECT_EQ(pieceFileName(deriveNames("/in/My Report.doc"), true, 2), "My Report2.frg");
  EXPECT_EQ(pieceFileName(deriveNames("/in/My Report.doc"), false, 1), "MyReport1.frg");
  EXPECT_EQ(mergerFileName(deriveNames("/in/My Report.doc"), true), "My Report.exe");
  EXPECT_EQ(mergerFileName(deriveNames("/in/My Report.doc"), false), "My Report.bat");
}

TEST(Names, RemoveSubstringContinuesAfterEachRemoval) {
  EXPECT_EQ(RemoveSubstring(" a  b ", " "), "ab");
  EXPECT_EQ(RemoveSubstring("aaaa", "aa"), "");
  EXPECT_EQ(RemoveSubstring("aaa", "aa"), "a");
  EXPECT_EQ(RemoveSubstring("abc", ""), "abc");
}

TEST(BatScript, ReferencesAndShortForms) {
  EXPECT_EQ(batPieceReference("data", 1), "data1.frg");
  EXPECT_EQ(batPieceReference("holidayvideo", 1), "holida~1.frg");
  EXPECT_EQ(batPieceReference("holidayvideo", 10), "holid~10.frg");
  EXPECT_EQ(batPieceReference("seven77", 1), "seven771.frg");  // 7 + 1 characters
  EXPECT_EQ(batPieceReference("seven77", 10), "seven~10.frg");
  EXPECT_EQ(batPieceReference("ab", 123456789), "~123456789.frg");
  EXPECT_EQ(batTargetName("holidayvideo", ".avi"), "holidayv.avi");
  // Characters, not bytes: "é" is two bytes and one character, and is never cut in half.
  EXPECT_EQ(batPieceReference("abcdeéfg", 1), "abcdeé~1.frg");
  EXPECT_EQ(batPieceReference("abcdeé", 1), "abcdeé1.frg");
  EXPECT_EQ(batPieceReference("日本語の名前です", 10), "日本語の名~10.frg");
  EXPECT_EQ(batTargetName("abcdefgé12", ".txt"), "abcdefgé.txt");
}

TEST(BatScript, WholeLinesWithoutLineEnding) {
  testing_support::ScratchDir dir;
  auto script = [&](const std::string& name, const std::string& ext, int pieces) {
    std::string path = dir.file("s.bat");
    platform::File file = platform::File::create(path);
    BatScript s(file);
    for (int i = 1; i <= pieces; ++i) s.addPiece(name, i);
    s.finish(name, ext);
    file.close();
    return testing_support::ScratchDir::read(path);
  };
  EXPECT_EQ(script("data", ".bin", 3), "copy /b data1.frg + data2.frg + data3.frg data.bin ");
  EXPECT_EQ(script("data", ".bin", 0), "copy /b data.bin ");
  std::string twelve = script("holidayvideo", ".mpg", 12);
  EXPECT_EQ(twelve.substr(0, 36), "copy /b holida~1.frg + holida~2.frg ");
  EXPECT_NE(
      twelve.find("+ holida~9.frg + holid~10.frg + holid~11.frg + holid~12.frg holidayv.mpg "),
      std::string::npos);
  EXPECT_EQ(twelve.back(), ' ');
}

TEST(ScriptRecord, LayoutAndRoundTrip) {
  ScriptRecord r;
  r.baseName = "a b";
  r.fileExtension = ".txt";
  r.pieceSize = 1048576;
  r.pieceCount = -2;
  r.compressed = true;
  ScriptRecord::Bytes b = r.toBytes();
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[1]), 3), "a b");
  EXPECT_EQ(b[4], 0);
  EXPECT_EQ(b[256], 4);
  EXPECT_EQ(b[257], '.');
  EXPECT_EQ(b[512], 0x00);
  EXPECT_EQ(b[514], 0x10);  // 0x00100000 little-endian
  EXPECT_EQ(b[516], 0xFE);
  EXPECT_EQ(b[519], 0xFF);
  EXPECT_EQ(b[520], 1);
  EXPECT_EQ(b[521] | b[522] | b[523], 0);
  ScriptRecord back = ScriptRecord::fromBytes(b);
  EXPECT_EQ(back.baseName, "a b");
  EXPECT_EQ(back.fileExtension, ".txt");
  EXPECT_EQ(back.pieceSize, 1048576);
  EXPECT_EQ(back.pieceCount, -2);
  EXPECT_TRUE(back.compressed);

  r.baseName = std::string(300, 'x');  // cut to 255
  b = r.toBytes();
  EXPECT_EQ(b[0], 255);
  EXPECT_EQ(b[255], 'x');
  EXPECT_EQ(b[256], 4);
}

TEST(ChecksumFile, LinesReadBackAsSha256sumWritesThemAndOddLinesAreSkipped) {
  platform::Sha256Digest digest{};
  digest[0] = 0xAB;
  const std::string hex = platform::toHex(digest);
  // A backslash or a newline in a name makes sha256sum escape the line; others stay as they are.
  EXPECT_EQ(job::checksumLine(digest, "My R\xC3\xA9port 2.frg"),
            hex + "  My R\xC3\xA9port 2.frg\n");
  EXPECT_EQ(job::checksumLine(digest, "a\\b\nc.frg"), "\\" + hex + "  a\\\\b\\nc.frg\n");
  const std::string upper = "AB" + hex.substr(2);
  const std::string text = job::checksumLine(digest, "a\\b\nc.frg") +
                           job::checksumLine(digest, " lead.frg") + upper + " *binary.frg\r\n" +
                           "not a checksum line\n" + hex.substr(1) + "  short.frg\n" + hex + "  ";
  const std::map<std::string, std::string> expected = {
      {"a\\b\nc.frg", hex}, {" lead.frg", hex}, {"binary.frg", hex}};
  EXPECT_EQ(job::parseChecksumFile(text), expected);
}
