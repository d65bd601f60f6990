// The name rules and spec matching below the library boundary.
#include <gtest/gtest.h>

#include "unpacklib/CentralDirectory.h"
#include "unpacklib/Extractor.h"
#include "unpacklib/SafeName.h"

using namespace unpack;

namespace {

std::string joined(const SafeName& name) {
  std::string out;
  for (const std::string& folder : name.folders) out += folder + "/";
  return out + name.file;
}

std::string safe(const std::string& name, bool keepFolders = true, bool isFolder = false,
                 NameRules rules = NameRules::kPosix) {
  SafeName out;
  NameVerdict verdict = makeSafeName(name, name, isFolder, keepFolders, out, rules);
  switch (verdict) {
    case NameVerdict::kSafe:
      return joined(out);
    case NameVerdict::kEmpty:
      return "<empty>";
    case NameVerdict::kTraversal:
      return "<traversal>";
    case NameVerdict::kNulByte:
      return "<nul>";
    case NameVerdict::kReserved:
      return "<reserved>";
  }
  return "?";
}

TEST(SafeName, DropsRootsDrivesAndDotComponents) {
  EXPECT_EQ(safe("/etc/passwd"), "etc/passwd");
  EXPECT_EQ(safe("C:\\Windows\\x.dll"), "Windows/x.dll");
  EXPECT_EQ(safe("c:x.txt"), "x.txt");
  EXPECT_EQ(safe("./a/./b.txt"), "a/b.txt");
  EXPECT_EQ(safe("a//b.txt"), "a/b.txt");
  EXPECT_EQ(safe("dir/a:b.txt"), "dir/a:b.txt") << "a colon past the start is a plain character";
  EXPECT_EQ(safe("a/b/c.txt", false), "c.txt");
}

TEST(SafeName, RefusesTraversalNulAndEmptyNames) {
  EXPECT_EQ(safe("../x"), "<traversal>");
  EXPECT_EQ(safe("a/../../x"), "<traversal>");
  EXPECT_EQ(safe("a\\..\\x", false), "<traversal>") << "refused even when folders are dropped";
  EXPECT_EQ(safe("..."), "...") << "three dots are a name";
  EXPECT_EQ(safe(std::string("a\0b", 3)), "<nul>");
  EXPECT_EQ(safe("/"), "<empty>");
  EXPECT_EQ(safe("C:"), "<empty>");
  EXPECT_EQ(safe("sub/", false, true), "<empty>") << "folders are not made without folder names";
  EXPECT_EQ(safe("sub/deeper/", true, true), "sub/deeper/");
}

TEST(SafeName, WindowsRulesRefuseDevicesStreamsAndNamesWindowsWouldChange) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"\\\\server\\share\\x.txt", "server/share/x.txt"},  // UNC: stays below the destination
      {"C:x.txt", "x.txt"},
      {"dir/a:b.txt", "<reserved>"},  // a data stream of "a"
      {"a.txt:$DATA", "<reserved>"},
      {"con", "<reserved>"},
      {"sub/NUL.txt", "<reserved>"},
      {"Com7.tar.gz", "<reserved>"},
      {"LPT1 .log", "<reserved>"},
      {"COM0", "COM0"},
      {"console.txt", "console.txt"},
      {"name.", "<reserved>"},  // Windows would write "name"
      {"dir /x", "<reserved>"},
      {". ./x", "<reserved>"},
      {"...", "<reserved>"},
      {"a?b", "<reserved>"},
      {"tab\tname", "<reserved>"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(safe(c.name, true, false, NameRules::kWindows), c.expected) << c.name;
}

TEST(SpecMatches, WildcardsAgainstNameOrFullPath) {
  EXPECT_TRUE(specMatches("*.txt", "docs/read.txt"));
  EXPECT_FALSE(specMatches("*.txt", "docs/read.txt.bak"));
  EXPECT_TRUE(specMatches("docs\\*", "docs/read.txt"));
  EXPECT_FALSE(specMatches("docs/*", "other/read.txt"));
  EXPECT_TRUE(specMatches("r?ad.*", "read.txt"));
  EXPECT_TRUE(specMatches("*", "anything/at/all"));
  EXPECT_FALSE(specMatches("READ.TXT", "read.txt"));
}

TEST(EntryNames, UndeclaredNonUtf8NamesAreCodePage437) {
  EXPECT_EQ(decodeEntryName("\x81"
                            "ber.txt",
                            0),
            "\xC3\xBC"
            "ber.txt");
  EXPECT_EQ(decodeEntryName("\xC3\xBC"
                            "ber.txt",
                            0),
            "\xC3\xBC"
            "ber.txt");
  EXPECT_EQ(decodeEntryName("\x81", 0x0800), "\x81") << "flagged UTF-8 is kept as stored";
}

}  // namespace
