// The merger image that every .EXE merger file starts with: small, and runnable on a machine
// with only the usual X11 and system libraries.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "PayloadSizes.h"
#include "platform/Paths.h"
#include "support/Programs.h"

namespace {

const std::string kImage = std::string(FENNOCK_PAYLOAD_DIR) + "/merger.img";

using testing_support::ProgramRun;
using testing_support::runProgram;

// What the image printed, on either stream.
std::string printed(const ProgramRun& run) { return run.out + run.err; }

}  // namespace

TEST(MergerImage, LengthIsTheBuildsConstant) {
  EXPECT_EQ(platform::fileSize(kImage), payloads::MergerImageSize);
}

TEST(MergerImage, StaysSmall) {
  if (FENNOCK_SANITIZED) GTEST_SKIP() << "sanitizer runtimes make the image large";
  // 812 KiB: the two-stream SHA code that checks a merger file beside the joined data took one
  // more page, the region check behind the copy, the gauge bar's mouse events and the folder
  // picker's extra control and events another.
  EXPECT_LE(payloads::MergerImageSize, 812 * 1024);
}

TEST(MergerImage, NeedsOnlyTheUsualLibraries) {
  if (FENNOCK_SANITIZED) GTEST_SKIP() << "sanitizer runtimes are linked in";
  const std::string text = runProgram("ldd", {kImage}).out;
  const std::set<std::string> usual = {
      "linux-vdso",      "libc",          "libm",        "ld-linux-x86-64", "libX11",
      "libXext",         "libXrender",    "libXcursor",  "libXfixes",       "libXft",
      "libXinerama",     "libfontconfig", "libfreetype", "libxcb",          "libXau",
      "libXdmcp",        "libexpat",      "libz",        "libpng16",        "libbrotlidec",
      "libbrotlicommon", "libbsd",        "libmd",       "libuuid",         "libbz2",
      "libpthread",      "libdl",         "libstdc++",   "libgcc_s"};
  std::regex line(R"(^\s*(\S+?)(\.so[.0-9]*)?\s)");
  std::size_t lines = 0;
  for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string l = text.substr(at, end - at);
    std::smatch m;
    if (!std::regex_search(l, m, line)) continue;
    std::string name = platform::fileNameOf(m[1].str());
    ++lines;
    EXPECT_TRUE(usual.count(name)) << "unexpected library: " << l;
    EXPECT_EQ(l.find("not found"), std::string::npos) << l;
  }
  EXPECT_GT(lines, 2u) << text;
  EXPECT_EQ(text.find("libfltk"), std::string::npos);
}

TEST(MergerImage, TerminalOptions) {
  std::string help = printed(runProgram(kImage, {"--help"}));
  for (const char* option : {"--dest DIR", "--delete-pieces", "--no-unzip"})
    EXPECT_NE(help.find(option), std::string::npos) << help;
  EXPECT_EQ(runProgram(kImage, {"--bogus"}).status, 2);
  EXPECT_EQ(printed(runProgram(kImage, {"--dest"})),
            "Fennock! M\xC3\xB3"
            "dulo SFX: The option --dest needs a folder.\n");
  // The bare image carries no record: it says so and fails, whatever the folder holds.
  const ProgramRun bare = runProgram(kImage, {"--dest", "/tmp"}, "/");
  EXPECT_NE(printed(bare).find("holds no merge data"), std::string::npos) << printed(bare);
  EXPECT_EQ(bare.status, 1) << printed(bare);
}
